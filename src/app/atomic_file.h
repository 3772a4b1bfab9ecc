// Replacing a file so that a crash or a kill at any moment leaves either the old file or the new
// one whole, never a torn one: the contents go to a staging file beside it, which is synced to
// disk and renamed over the file, and the directory is synced so that the rename itself lasts.
#pragma once

#include <string>
#include <string_view>

// Returns false and sets `error` to the cause when the file could not be replaced; the old file
// is then as it was and no staging file is left behind.
bool writeFileAtomically(const std::string& path, std::string_view contents, std::string& error);
