// Read by LeakSanitizer at start-up: fontconfig keeps its pattern and
// configuration caches for the life of the process, which the leak checker
// reports at exit although nothing of ours leaks. Only blocks allocated from
// inside fontconfig are excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
