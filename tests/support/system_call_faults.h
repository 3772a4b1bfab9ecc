// Failures injected at the system-call boundary. The test program defines `write`, `fsync`,
// `close`, `link` and `rename` itself; the game's library is static, so its calls land here and
// go on to the C library unless a failure is armed. Nothing is armed by default.
#pragma once

#include <cstddef>

namespace faults {

enum class Call { Write, Fsync, Close, Link, Rename };

// The `occurrence`-th call (1 = the next one) of `call` fails with `error` and returns -1; a
// `write` failing with error 0 returns 0 instead, a write that makes no progress.
void failCall(Call call, int occurrence, int error);
// Every `write` from now on writes at most `bytes` bytes (0: no limit), as a full disk may make
// it do.
void shortenWrites(std::size_t bytes);
// Disarms everything and starts counting again.
void reset();

}  // namespace faults
