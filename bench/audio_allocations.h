// Counts the process's heap allocations through operator new, for the audio benchmarks.
#pragma once

long heapAllocations();
