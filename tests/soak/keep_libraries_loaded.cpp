// Preloaded into the leak-checked session (scripts/leak-check.sh): keeps every library mapped
// until the end, so that LeakSanitizer can still name the GL driver's blocks and see its globals
// (docs/RELIABILITY.md).
extern "C" int dlclose(void*) { return 0; }
