// Writing a whole file so that a crash, a power cut or a kill at any moment leaves either the
// old file or the new one, never a mixture: the preference file, and any file that must change
// together with it.
#pragma once

#include <string>
#include <string_view>

namespace chart {

enum class KeepBackup { No, Yes };

// Replaces `path` with `contents`: written and synced as `<path>.tmp`, the current file kept as
// `<path>.bak` when asked (see below), renamed over `path`, the folder synced. Returns 0, or the
// errno of the step that failed; a failure leaves `path` as it was and no staging file behind.
// Two writers of one path must not run at once (they share the staging name): the preference
// store serialises its own with its lock.
int writeFileAtomically(const std::string& path, std::string_view contents, KeepBackup backup);

}  // namespace chart
