#include "forms/frmAbout/frmAbout.h"
#include "MakerSite.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "platform/AppPaths.h"
#include "support/RecordingShell.h"
#include "support/WindowControls.h"

#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <set>

namespace {

QWidget* Control(QWidget& window, const QString& name) {
    return FindControl(window, qPrintable(name));
}

QLabel* Label(QWidget& window, const QString& name) {
    return qobject_cast<QLabel*>(Control(window, name));
}

const char* const Clickables[] = {"imgLogo", "labTitle", "imgDonate", "labDonate"};

} // namespace

class frmAboutTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowIsFixedAndCaptioned();
    void controlsSitWhereTheTablePutsThem_data();
    void controlsSitWhereTheTablePutsThem();
    void textsFontsPicturesAndPointers();
    void versionAndBuildAreFormattedAndFit();
    void eachClickOpensItsAddress_data();
    void eachClickOpensItsAddress();
    void eachOpeningIsANewModalWindowCentredOnItsOwner();
    void screenshot();
};

void frmAboutTest::initTestCase() {
    QVERIFY(RegisterTahoma());
    InitGlobalsForExecutable("/opt/ievantrel/ievantrel");
    // Distinct addresses, so each click below is told apart by what it opened.
    QCOMPARE((std::set<std::string>{HomePageURL, ProductPageURL, DonationURL, ForumURL}.size()), 4u);
}

void frmAboutTest::windowIsFixedAndCaptioned() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.minimumSize(), QSize(402, 202));
    QCOMPARE(about.maximumSize(), QSize(402, 202));
    const Qt::WindowFlags flags = about.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowContextHelpButtonHint)));
    QCOMPARE(about.windowIcon().availableSizes().value(0), QSize(16, 16));
    QCOMPARE(about.font(), TahomaFont());
}

void frmAboutTest::controlsSitWhereTheTablePutsThem_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    const auto row = [](const char* name, const char* parent, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(parent) << geometry;
    };
    row("Image1", "frmAbout", {1, 1, 99, 200});
    row("Label1", "frmAbout", {9, 13, 84, 84});
    row("imgLogo", "frmAbout", {27, 24, 48, 48});
    row("fraMain", "frmAbout", {104, -5, 297, 206});
    row("picAntiFlicker", "fraMain", {5, 10, 288, 192});
    row("labTitle", "picAntiFlicker", {1, 1, 290, 14});
    row("labHVersion", "picAntiFlicker", {8, 22, 42, 13});
    row("labHBuild", "picAntiFlicker", {219, 22, 27, 13});
    row("labHDate", "picAntiFlicker", {9, 38, 27, 13});
    row("labDate", "picAntiFlicker", {57, 38, 111, 13});
    row("labDisclaimer", "picAntiFlicker", {15, 67, 261, 46});
    row("MultiRule1", "picAntiFlicker", {26, 140, 227, 7});
    row("imgDonate", "picAntiFlicker", {16, 151, 62, 31});
    row("labDonate", "picAntiFlicker", {88, 147, 181, 40});
}

void frmAboutTest::controlsSitWhereTheTablePutsThem() {
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    QWidget* control = Control(about, QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisibleTo(&about));
}

void frmAboutTest::textsFontsPicturesAndPointers() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    const std::tuple<const char*, QString, QFont> texts[] = {
        {"labTitle", "IE Vantrel", TahomaFont(9, true)},
        {"labHVersion", "Version", TahomaFont(8.25, true)},
        {"labHBuild", "Build", TahomaFont(8.25, true)},
        {"labHDate", "Date", TahomaFont(8.25, true)},
        {"labVersion", "2.00", TahomaFont()},
        {"labBuild", "#0010", TahomaFont()},
        {"labDate", "22nd November, 2004.", TahomaFont()},
        {"labDonate",
         "If you like this software, then please consider making a donation by clicking on the logo. "
         "Thanks!",
         TahomaFont()},
    };
    for (const auto& [name, text, font] : texts) {
        QCOMPARE(Label(about, name)->text(), text);
        QCOMPARE(Label(about, name)->font(), font);
    }
    QCOMPARE(Label(about, "labDisclaimer")->font(), TahomaFont());
    QVERIFY(Label(about, "Label1")->text().isEmpty());
    QVERIFY(Label(about, "labDisclaimer")->text().contains(QStringLiteral("Dorvane Solutions")));
    QCOMPARE(Control(about, "Label1")->palette().color(QPalette::Window), QColor(Qt::white));
    for (const char* name : {"labDisclaimer", "labDonate"}) {
        QLabel* label = Label(about, name);
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                               Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height(), name);
    }

    QCOMPARE(Label(about, "Image1")->pixmap().size(), QSize(99, 200));
    QCOMPARE(Label(about, "imgLogo")->pixmap().size(), QSize(48, 48));
    QCOMPARE(Label(about, "imgDonate")->pixmap().size(), QSize(62, 31));
    // The banner is at the back, the white square on it, the logo in front.
    const QObjectList& stack = about.children();
    QVERIFY(stack.indexOf(Control(about, "Image1")) < stack.indexOf(Control(about, "Label1")));
    QVERIFY(stack.indexOf(Control(about, "Label1")) < stack.indexOf(Control(about, "imgLogo")));
    for (const char* clickable : Clickables) {
        const QCursor cursor = Control(about, clickable)->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(5, 0));
    }

    auto* website = FindControl<HyperLink>(about, "lnkWebsite");
    auto* forums = FindControl<HyperLink>(about, "lnkForums");
    QCOMPARE(website->Caption(), QString::fromLatin1(MakerHost));
    QCOMPARE(forums->Caption(), QStringLiteral("Forums"));
    QCOMPARE(website->pos(), QPoint(27, 117));
    QCOMPARE(forums->pos(), QPoint(215, 117));
}

// Long numbers widen their labels rightwards only; the labels keep their place and height.
void frmAboutTest::versionAndBuildAreFormattedAndFit() {
    const std::tuple<int, int, QString, QString> versions[] = {{0, 10, "2.00", "#0010"},
                                                               {5, 10, "2.05", "#0010"},
                                                               {12, 10, "2.12", "#0010"},
                                                               {123, 12345, "2.123", "#12345"},
                                                               {0, 7, "2.00", "#0007"}};
    RecordingShell shell;
    for (const auto& [minor, revision, version, build] : versions) {
        frmAbout about(shell, nullptr, ProgramVersion{2, minor, revision});
        const std::tuple<const char*, QString, QRect> labels[] = {{"labVersion", version, {57, 22, 22, 13}},
                                                                  {"labBuild", build, {254, 22, 26, 13}}};
        for (const auto& [name, text, geometry] : labels) {
            QLabel* label = Label(about, name);
            QCOMPARE(label->text(), text);
            QCOMPARE(label->pos(), geometry.topLeft());
            QCOMPARE(label->height(), geometry.height());
            QVERIFY(label->width() >= geometry.width());
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        }
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

void frmAboutTest::eachOpeningIsANewModalWindowCentredOnItsOwner() {
    RecordingShell shell;
    QWidget owner;
    owner.setGeometry(200, 150, 518, 333);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    for (int opening = 1; opening <= 2; ++opening) {
        frmAbout about(shell, &owner);
        bool modal = false;
        QPoint offCentre;
        // Looks at the window while exec() runs, then closes it with its close box as a user would.
        QTimer::singleShot(0, &about, [&] {
            modal = QApplication::activeModalWidget() == &about;
            offCentre = about.frameGeometry().center() - owner.frameGeometry().center();
            QTest::mouseClick(Control(about, "labDonate"), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
            about.close();
        });
        about.exec();
        QVERIFY(modal);
        QVERIFY(offCentre.manhattanLength() <= 2);
        QVERIFY(!about.isVisible());
        QCOMPARE(shell.Opened.size(), std::size_t(opening));
    }
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
