// The replaced global operator new and delete live apart from the code they count, so the
// compiler does not pair them up with the standard ones it inlines there.
#include "counting_new.h"

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocations{0};
std::atomic<bool> tracing{false};
thread_local bool inTrace = false;

// The call stack of an allocation as the C library prints it (program+offset per line, to be
// read with addr2line), then a separator. backtrace may allocate itself the first time.
void printCallStack() {
  if (inTrace) return;
  inTrace = true;
  void* frames[32];
  const int depth = backtrace(frames, 32);
  backtrace_symbols_fd(frames, depth, STDERR_FILENO);
  static const char separator[] = "--\n";
  const auto written = write(STDERR_FILENO, separator, sizeof separator - 1);
  static_cast<void>(written);
  inTrace = false;
}

}  // namespace

long heapAllocations() { return allocations.load(std::memory_order_relaxed); }

void traceHeapAllocations(bool on) { tracing.store(on, std::memory_order_relaxed); }

namespace {

void* countedAllocation(std::size_t size) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (tracing.load(std::memory_order_relaxed)) printCallStack();
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// Every unaligned form is replaced, so that whatever form a library allocates with, the delete
// that frees it is ours too: under AddressSanitizer a block from its operator new freed by our
// `free` is reported as a mismatch (the shader compiler in the GL driver uses the nothrow form).
void* operator new(std::size_t size) {
  if (void* memory = countedAllocation(size)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* memory = countedAllocation(size)) return memory;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
