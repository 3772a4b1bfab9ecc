// A fingerprint of the game's resource files, written into every replay: a run replayed with other
// pictures or sounds than it was recorded with could play differently, and is refused.
#pragma once

#include <string>

// 64-bit FNV-1a over every regular file of `folder` in name order (its name, then its bytes), as
// 16 hexadecimal digits. Not a protection against forgery, only against a mix-up.
std::string resourceDigest(const std::string& folder);
