// Preloaded into the leak-checked session (scripts/leak-check.sh): makes dlclose keep every
// library mapped until the process ends. The window layer unloads the GL libraries and the GL
// driver at exit, and LeakSanitizer, which runs after that, can then neither name the library
// behind a block nor see the driver's own globals that still point at it: every block the
// driver keeps for its lifetime would show up as a leak from an unknown module. With the
// libraries kept, what the driver holds is reachable, what it really lost is reported under its
// own name (and suppressed by scripts/lsan-suppressions.txt), and what we lose is reported
// under ours.
extern "C" int dlclose(void*) { return 0; }
