#include "platform/ui/toolkit_functions.h"

#include "platform/shell/shell.h"
#include "platform/win/resources.h"

Shell* ToolkitShell() { return Shell::Current(); }
RECT MzGetWorkArea() { return Shell::WorkArea(); }
HINSTANCE MzGetInstanceHandle() { return ProgramModuleHandle(); }
HINSTANCE GetMzResModuleHandle() { return PlatformResourceModuleHandle(); }
