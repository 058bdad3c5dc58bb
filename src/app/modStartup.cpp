#include "app/modStartup.h"

#include "forms/frmMain/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/modShellExecute.h"
#include "registry/UserRegistry.h"

std::unique_ptr<frmMain> Main() {
    InitGlobals();
    auto window = std::make_unique<frmMain>(OpenUserRegistry(), SystemShell::Instance());
    window->Load();
    window->show();
    return window;
}
