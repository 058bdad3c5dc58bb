#include "forms/frmAbout/frmAbout.h"
#include "MakerSite.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "platform/AppPaths.h"
#include "support/RecordingShell.h"
#include "support/WindowControls.h"

#include <QDir>
#include <QLabel>
#include <QtTest>

#include <set>
#include <utility>

namespace {

QWidget* Control(QWidget& window, const QString& name) {
    return FindControl(window, qPrintable(name));
}

QLabel* Label(QWidget& window, const QString& name) {
    return qobject_cast<QLabel*>(Control(window, name));
}

const char* const Clickables[] = {"imgLogo", "labTitle", "imgDonate", "labDonate"};

} // namespace

// The About window's version texts and where each click leads; its look is in the screenshot.
class frmAboutTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void versionAndBuildAreFormattedAndFit_data();
    void versionAndBuildAreFormattedAndFit();
    void eachClickOpensItsAddress_data();
    void eachClickOpensItsAddress();
    void screenshot();
};

void frmAboutTest::initTestCase() {
    QVERIFY(RegisterTahoma());
    InitGlobalsForExecutable("/opt/ievantrel/ievantrel");
    // Distinct addresses, so each click below is told apart by what it opened.
    QCOMPARE((std::set<std::string>{HomePageURL, ProductPageURL, DonationURL, ForumURL}.size()), 4u);
}

void frmAboutTest::versionAndBuildAreFormattedAndFit_data() {
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("build");
    QTest::newRow("2.00") << 0 << 10 << "2.00"
                          << "#0010";
    QTest::newRow("2.05") << 5 << 10 << "2.05"
                          << "#0010";
    QTest::newRow("2.12") << 12 << 10 << "2.12"
                          << "#0010";
    QTest::newRow("long") << 123 << 12345 << "2.123"
                          << "#12345";
}

// A longer number widens its label instead of being cut off.
void frmAboutTest::versionAndBuildAreFormattedAndFit() {
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, version);
    QFETCH(QString, build);
    RecordingShell shell;
    frmAbout about(shell, nullptr, ProgramVersion{2, minor, revision});
    for (const auto& [name, text] : {std::pair{"labVersion", version}, std::pair{"labBuild", build}}) {
        QLabel* label = Label(about, QLatin1String(name));
        QCOMPARE(label->text(), text);
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }
}

void frmAboutTest::eachClickOpensItsAddress_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("ownedByAbout");
    const auto row = [](const char* label, const char* name, Qt::MouseButton button,
                        const std::string& address, bool ownedByAbout) {
        QTest::newRow(label) << QString::fromLatin1(name) << button << QString::fromStdString(address)
                             << ownedByAbout;
    };
    row("imgLogo", "imgLogo", Qt::LeftButton, HomePageURL, false);
    row("labTitle", "labTitle", Qt::LeftButton, ProductPageURL, true);
    row("imgDonate", "imgDonate", Qt::LeftButton, DonationURL, true);
    row("labDonate", "labDonate", Qt::LeftButton, DonationURL, true);
    row("lnkForums left", "lnkForums", Qt::LeftButton, ForumURL, false);
    row("lnkForums right", "lnkForums", Qt::RightButton, ForumURL, false);
    row("lnkWebsite left", "lnkWebsite", Qt::LeftButton, HomePageURL, false);
    row("lnkWebsite right", "lnkWebsite", Qt::RightButton, HomePageURL, false);
    for (const char* clickable : Clickables) {
        row((std::string(clickable) + " right").c_str(), clickable, Qt::RightButton, "", false);
    }
}

void frmAboutTest::eachClickOpensItsAddress() {
    QFETCH(QString, name);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, address);
    QFETCH(bool, ownedByAbout);
    RecordingShell shell;
    QWidget owner;
    owner.show();
    frmAbout about(shell, &owner);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    // A link's releases arrive at the label inside it.
    QWidget* target = Control(about, name);
    if (qobject_cast<HyperLink*>(target) != nullptr) {
        target = target->findChild<QLabel*>();
    }
    QTest::mouseClick(target, button, Qt::NoModifier, QPoint(3, 3));

    QVERIFY(about.isVisible());
    if (address.isEmpty()) {
        QVERIFY(shell.Opened.empty());
        return;
    }
    const WindowHandle expectedOwner = ownedByAbout ? static_cast<WindowHandle>(about.winId()) : 0;
    QCOMPARE(shell.Opened.size(), 1u);
    QVERIFY(shell.Opened.front() ==
            (ShellOpenRequest{address.toStdString(), "", expectedOwner, 1, "", false}));
}

void frmAboutTest::screenshot() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(QDir().mkpath(QStringLiteral(VANTREL_SCREENSHOT_FOLDER)));
    QVERIFY(about.grab().save(QStringLiteral(VANTREL_SCREENSHOT_FOLDER "/about.png")));
}

QTEST_MAIN(frmAboutTest)
#include "frmAboutTest.moc"
