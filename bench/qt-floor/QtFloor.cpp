// The least a Qt Widgets program does to show a window: one empty fixed-size widget with a title, shown, and
// the event loop until it is closed. bench/wine-startup.sh times its start under Wine beside ievantrel.exe's,
// as the floor that Qt itself sets on Wine.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt Floor"));
    window.setFixedSize(518, 333);
    window.show();
    return QApplication::exec();
}
