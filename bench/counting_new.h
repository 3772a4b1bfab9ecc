// Counts heap allocations made through operator new, to show that a frame allocates nothing.
#pragma once

long heapAllocations();
