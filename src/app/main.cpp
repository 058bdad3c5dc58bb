#include "app/CommandLine.h"
#include "app/modStartup.h"
#include "controls/TahomaFont.h"
#include "forms/frmMain/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // A command runs before any application object exists, so it needs no display.
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv)) {
        return *exitCode;
    }
    // Without arguments the window starts: Qt is handed the program's name alone, so nothing on the command
    // line is read, not even Qt's own options.
    int programNameOnly = argc > 0 ? 1 : 0;
    QApplication application(programNameOnly, argv);
    RegisterTahoma();
    const std::unique_ptr<frmMain> window = Main();
    return QApplication::exec();
}
