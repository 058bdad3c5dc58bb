#include "app/CommandLine.h"
#include "app/modStartup.h"
#include "controls/TahomaFont.h"
#include "forms/frmMain/frmMain.h"

#include "platform/AtomicFile.h"

#include <QApplication>

#include <algorithm>

namespace {

// With VANTREL_FIT_CHECK naming a file, the program checks that every window's texts fit, writes what it
// found there and ends: 0 when everything fits, 1 when anything does not or the file cannot be written.
int RunFitCheck(frmMain& window, const QString& file) {
    const std::vector<FitReport> reports = window.CheckWindowsFit();
    const bool fits = std::all_of(reports.begin(), reports.end(),
                                  [](const FitReport& report) { return report.Failures.isEmpty(); });
    const QByteArray text = FitReportText(reports).toUtf8();
    const bool written = ReplaceFileAtomically(file.toStdString(), text.toStdString()).ok();
    return fits && written ? 0 : 1;
}

} // namespace

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
    if (const QString fitCheck = qEnvironmentVariable("VANTREL_FIT_CHECK"); !fitCheck.isEmpty()) {
        return RunFitCheck(*window, fitCheck);
    }
    return QApplication::exec();
}
