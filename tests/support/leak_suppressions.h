// LeakSanitizer's suppressions for the test programs: fontconfig keeps its
// pattern and configuration caches for the life of the process, which the
// leak checker reports at exit although nothing of ours leaks.
#pragma once
