// SIGTERM and SIGINT taken as a request to stop, handled on an ordinary thread.
#pragma once

namespace platform {

// Blocks SIGTERM and SIGINT in the calling thread and every thread it starts afterwards: call
// first in main.
void blockStopSignals();

// Waits until SIGTERM or SIGINT arrives; returns the signal.
int waitForStopSignal();

}  // namespace platform
