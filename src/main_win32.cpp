// The editor on Windows: the program's run on the Win32 platform.

#include "app/startup.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

// The command line is read through GetCommandLineW, so that paths outside the ANSI code
// page survive; WinMain's own copy is not used.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tessaly::Win32Platform platform(instance);
    return tessaly::runTessaly(platform);
}
