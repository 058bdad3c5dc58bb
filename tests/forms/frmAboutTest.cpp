#include "forms/frmAbout/frmAbout.h"
#include "MakerSite.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/TahomaFont.h"
#include "startup/AppPaths.h"
#include "support/RecordingShell.h"
#include "support/WindowControls.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <set>

namespace {

QWidget* Control(QWidget& window, const QString& name) {
    return FindControl(window, qPrintable(name));
}

QString LabelText(QWidget& window, const QString& name) {
    return qobject_cast<QLabel*>(Control(window, name))->text();
}

// The link's text, where its releases arrive.
QWidget* LinkText(QWidget& window, const QString& name) {
    return Control(window, name)->findChild<QLabel*>();
}

} // namespace

class frmAboutTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowIsFixedAndCaptioned();
    void controlsSitWhereTheTablePutsThem_data();
    void controlsSitWhereTheTablePutsThem();
    void numbersWidenTheirLabelsOnly_data();
    void numbersWidenTheirLabelsOnly();
    void longTextsFitTheirLabels();
    void textsAndFonts();
    void picturesAndPointers();
    void linksCarryTheirSettings();
    void versionAndBuildAreFormatted_data();
    void versionAndBuildAreFormatted();
    void eachClickOpensItsAddress_data();
    void eachClickOpensItsAddress();
    void rightButtonOnPicturesOpensNothing();
    void eachOpeningIsANewModalWindowCentredOnItsOwner();
    void screenshot();
};

void frmAboutTest::initTestCase() {
    QVERIFY(RegisterTahoma());
    InitGlobalsForExecutable("/opt/ievantrel/ievantrel");
    const std::set<std::string> addresses{HomePageURL, ProductPageURL, DonationURL, ForumURL};
    QCOMPARE(addresses.size(), 4u);
    QVERIFY(!addresses.contains(std::string()));
}

void frmAboutTest::windowIsFixedAndCaptioned() {
    RecordingShell shell;
    QWidget owner;
    frmAbout about(shell, &owner);
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.size(), QSize(402, 202));
    QCOMPARE(about.minimumSize(), QSize(402, 202));
    QCOMPARE(about.maximumSize(), QSize(402, 202));
    const Qt::WindowFlags flags = about.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(about.windowIcon().availableSizes().value(0), QSize(16, 16));
    QCOMPARE(about.font().family(), TahomaFont().family());
    QCOMPARE(about.font().pointSizeF(), 8.25);
}

void frmAboutTest::controlsSitWhereTheTablePutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    const auto row = [](const char* name, const char* parent, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << geometry;
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
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    QWidget* control = Control(about, name);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisibleTo(&about));
}

void frmAboutTest::numbersWidenTheirLabelsOnly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("labVersion") << "labVersion" << QRect(57, 22, 22, 13);
    QTest::newRow("labBuild") << "labBuild" << QRect(254, 22, 26, 13);
}

void frmAboutTest::numbersWidenTheirLabelsOnly() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    RecordingShell shell;
    for (const ProgramVersion& version : {ProgramVersion{2, 0, 10}, ProgramVersion{2, 123, 12345}}) {
        frmAbout about(shell, nullptr, version);
        auto* label = qobject_cast<QLabel*>(Control(about, name));
        QCOMPARE(label->pos(), geometry.topLeft());
        QCOMPARE(label->height(), geometry.height());
        QVERIFY(label->width() >= geometry.width());
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }
}

void frmAboutTest::longTextsFitTheirLabels() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    for (const char* name : {"labDisclaimer", "labDonate"}) {
        auto* label = qobject_cast<QLabel*>(Control(about, name));
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                               Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height(), name);
    }
}

void frmAboutTest::textsAndFonts() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    QCOMPARE(LabelText(about, "labTitle"), QStringLiteral("IE Vantrel"));
    QCOMPARE(LabelText(about, "labHVersion"), QStringLiteral("Version"));
    QCOMPARE(LabelText(about, "labHBuild"), QStringLiteral("Build"));
    QCOMPARE(LabelText(about, "labHDate"), QStringLiteral("Date"));
    QCOMPARE(LabelText(about, "labDate"), QStringLiteral("22nd November, 2004."));
    QCOMPARE(LabelText(about, "labVersion"), QStringLiteral("2.00"));
    QCOMPARE(LabelText(about, "labBuild"), QStringLiteral("#0010"));
    QCOMPARE(LabelText(about, "labDonate"),
             QStringLiteral("If you like this software, then please consider making a "
                            "donation by clicking on the logo. Thanks!"));
    const QString disclaimer = LabelText(about, "labDisclaimer");
    QVERIFY(disclaimer.contains(QStringLiteral("Dorvane Solutions")));
    QVERIFY(disclaimer.contains(QStringLiteral("damage")));
    QVERIFY(qobject_cast<QLabel*>(Control(about, "labDisclaimer"))->wordWrap());
    QVERIFY(qobject_cast<QLabel*>(Control(about, "labDonate"))->wordWrap());
    QVERIFY(qobject_cast<QGroupBox*>(Control(about, "fraMain"))->title().isEmpty());
    QVERIFY(LabelText(about, "Label1").isEmpty());
    QCOMPARE(Control(about, "Label1")->palette().color(QPalette::Window), QColor(Qt::white));

    QCOMPARE(Control(about, "labTitle")->font(), TahomaFont(9, true));
    for (const char* heading : {"labHVersion", "labHBuild", "labHDate"}) {
        QCOMPARE(Control(about, heading)->font(), TahomaFont(8.25, true));
    }
    for (const char* plain : {"labVersion", "labBuild", "labDate", "labDisclaimer", "labDonate"}) {
        QCOMPARE(Control(about, plain)->font(), TahomaFont());
    }
}

void frmAboutTest::picturesAndPointers() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    const auto pictureSize = [&](const char* name) {
        return qobject_cast<QLabel*>(Control(about, name))->pixmap().size();
    };
    QCOMPARE(pictureSize("Image1"), QSize(99, 200));
    QCOMPARE(pictureSize("imgLogo"), QSize(48, 48));
    QCOMPARE(pictureSize("imgDonate"), QSize(62, 31));

    // The banner is at the back, the white square on it, the logo in front.
    const QObjectList& stack = about.children();
    QVERIFY(stack.indexOf(Control(about, "Image1")) < stack.indexOf(Control(about, "Label1")));
    QVERIFY(stack.indexOf(Control(about, "Label1")) < stack.indexOf(Control(about, "imgLogo")));

    for (const char* clickable : {"imgLogo", "labTitle", "imgDonate", "labDonate"}) {
        const QCursor cursor = Control(about, clickable)->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(5, 0));
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    }
}

void frmAboutTest::linksCarryTheirSettings() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    auto* website = qobject_cast<HyperLink*>(Control(about, "lnkWebsite"));
    auto* forums = qobject_cast<HyperLink*>(Control(about, "lnkForums"));
    QCOMPARE(website->Caption(), QString::fromLatin1(MakerHost));
    QCOMPARE(website->URL(), QString::fromLatin1(MakerHost));
    QCOMPARE(forums->Caption(), QStringLiteral("Forums"));
    QCOMPARE(forums->URL(), QString::fromStdString(ForumURL));
    for (HyperLink* link : {website, forums}) {
        QVERIFY(link->OverrideClick());
        QVERIFY(link->ToolTip().isEmpty());
        QCOMPARE(link->HilightColour(), ColourValue(0x00AF0000));
        QCOMPARE(link->LinkColour(), ColourValue(0x00FF0000));
        QVERIFY(!link->MinimiseOnClick());
        QVERIFY(!link->CloseOnClick());
        QCOMPARE(link->MouseOutCheckDelay(), 50);
    }
    QCOMPARE(website->pos(), QPoint(27, 117));
    QCOMPARE(forums->pos(), QPoint(215, 117));
    QCOMPARE(qobject_cast<MultiRule*>(Control(about, "MultiRule1"))->Orientation(),
             MultiRule::OrientationAuto);
}

void frmAboutTest::versionAndBuildAreFormatted_data() {
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("build");
    QTest::newRow("this program") << 0 << 10 << "2.00"
                                  << "#0010";
    QTest::newRow("minor 5") << 5 << 10 << "2.05"
                             << "#0010";
    QTest::newRow("minor 12") << 12 << 10 << "2.12"
                              << "#0010";
    QTest::newRow("minor 123") << 123 << 10 << "2.123"
                               << "#0010";
    QTest::newRow("revision 7") << 0 << 7 << "2.00"
                                << "#0007";
    QTest::newRow("revision 12345") << 0 << 12345 << "2.00"
                                    << "#12345";
}

void frmAboutTest::versionAndBuildAreFormatted() {
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, version);
    QFETCH(QString, build);
    RecordingShell shell;
    frmAbout about(shell, nullptr, ProgramVersion{2, minor, revision});
    QCOMPARE(LabelText(about, "labVersion"), version);
    QCOMPARE(LabelText(about, "labBuild"), build);
}

void frmAboutTest::eachClickOpensItsAddress_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isLink");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("ownedByAbout");
    const auto row = [](const char* label, const char* name, bool isLink, Qt::MouseButton button,
                        const std::string& address, bool ownedByAbout) {
        QTest::newRow(label) << QString::fromLatin1(name) << isLink << button
                             << QString::fromStdString(address) << ownedByAbout;
    };
    row("imgLogo", "imgLogo", false, Qt::LeftButton, HomePageURL, false);
    row("labTitle", "labTitle", false, Qt::LeftButton, ProductPageURL, true);
    row("imgDonate", "imgDonate", false, Qt::LeftButton, DonationURL, true);
    row("labDonate", "labDonate", false, Qt::LeftButton, DonationURL, true);
    row("lnkForums left", "lnkForums", true, Qt::LeftButton, ForumURL, false);
    row("lnkForums right", "lnkForums", true, Qt::RightButton, ForumURL, false);
    row("lnkWebsite left", "lnkWebsite", true, Qt::LeftButton, HomePageURL, false);
    row("lnkWebsite right", "lnkWebsite", true, Qt::RightButton, HomePageURL, false);
}

void frmAboutTest::eachClickOpensItsAddress() {
    QFETCH(QString, name);
    QFETCH(bool, isLink);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, address);
    QFETCH(bool, ownedByAbout);
    RecordingShell shell;
    QWidget owner;
    owner.show();
    frmAbout about(shell, &owner);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    QWidget* target = isLink ? LinkText(about, name) : Control(about, name);
    QTest::mouseClick(target, button, Qt::NoModifier, QPoint(3, 3));

    const WindowHandle expectedOwner = ownedByAbout ? static_cast<WindowHandle>(about.winId()) : 0;
    QCOMPARE(shell.Opened.size(), 1u);
    QVERIFY(shell.Opened.front() ==
            (ShellOpenRequest{address.toStdString(), "", expectedOwner, 1, "", false}));
    QVERIFY(about.isVisible());
}

void frmAboutTest::rightButtonOnPicturesOpensNothing() {
    RecordingShell shell;
    frmAbout about(shell, nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    for (const char* clickable : {"imgLogo", "labTitle", "imgDonate", "labDonate"}) {
        QTest::mouseClick(Control(about, clickable), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    }
    QVERIFY(shell.Opened.empty());
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
        QString build;
        // Looks at the window while exec() runs, then closes it with its close box as a user would.
        QTimer::singleShot(0, &about, [&] {
            modal = QApplication::activeModalWidget() == &about;
            offCentre = about.frameGeometry().center() - owner.frameGeometry().center();
            build = LabelText(about, "labBuild");
            QTest::mouseClick(Control(about, "labDonate"), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
            about.close();
        });
        about.exec();
        QVERIFY(modal);
        QVERIFY(offCentre.manhattanLength() <= 2);
        QCOMPARE(build, QStringLiteral("#0010"));
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
