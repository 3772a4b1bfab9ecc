// Counts heap allocations made through operator new, to show that a frame allocates nothing.
#pragma once

long heapAllocations();

// While on, every allocation also prints its call stack to standard error: for finding where
// the allocations a benchmark counts come from.
void traceHeapAllocations(bool on);
