#include "platform/modWinXP.h"

#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>

// The program links comctl32 itself, so the call is always there to make; what it returns does not matter.
bool InitVisualStyles() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_USEREX_CLASSES;
    InitCommonControlsEx(&controls);
    return true;
}

#else

bool InitVisualStyles() {
    return true;
}

#endif
