#include "forms/frmAbout/frmAbout.h"

#include "MakerSite.h"
#include "controls/HandCursor.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "forms/Himetric.h"
#include "forms/Placement.h"
#include "forms/frmAbout/ClickWatcher.h"
#include "platform/AppPaths.h"

#include <QGroupBox>
#include <QLabel>

namespace {

// Both links leave the click to the window and keep the control's defaults for everything not set here.
PropertyBag LinkProperties(const QString& caption, const QString& url, const QRect& geometry) {
    return PropertyBag{{QStringLiteral("caption"), caption},
                       {QStringLiteral("url"), url},
                       {QStringLiteral("overrideclick"), QVariant::fromValue(qint16(-1))},
                       {QStringLiteral("tooltiptext"), QString()},
                       {QStringLiteral("hilightcolour"), QVariant::fromValue(quint32(0x00AF0000))},
                       {QStringLiteral("_extentx"), Himetric(geometry.width())},
                       {QStringLiteral("_extenty"), Himetric(geometry.height())}};
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* PlaceBoldLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = PlaceLabel(parent, name, text, geometry);
    label->setFont(TahomaFont(8.25, true));
    return label;
}

QLabel* PlaceWrappedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = PlaceLabel(parent, name, text, geometry);
    label->setWordWrap(true);
    return label;
}

// The version and build labels are sized for their short placeholders; a longer number widens its label
// rather than being cut off.
void SetWideningText(QLabel* label, const QString& text) {
    label->setText(text);
    label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
}

const QString DisclaimerText = QStringLiteral(
    "Neither Dorvane Solutions nor the author accepts any responsibility for any direct or indirect damage "
    "that this software may cause to your PC or its software.");

const QString DonateText = QStringLiteral(
    "If you like this software, then please consider making a donation by clicking on the logo. Thanks!");

} // namespace

frmAbout::frmAbout(Shell& shell, QWidget* owner, const ProgramVersion& version)
    : QDialog(owner), shell_(shell) {
    SetUpFixedDialog(this, "frmAbout", 402, 202);
    setWindowTitle(QStringLiteral("About"));

    CreateBanner();
    CreateFrame();
    CreateHeadings();
    CreateLinks();
    CreateDonation();
    ConnectHandlers();
    Form_Load(version);
}

void frmAbout::CreateBanner() {
    Image1 = PlacePicture(this, "Image1", ":/images/banner.jpg", {1, 1, 99, 200});
    Label1 = PlaceWhiteLabel(this, "Label1", QString(), {9, 13, 84, 84});
    imgLogo = PlacePicture(this, "imgLogo", ":/images/logo.gif", {27, 24, 48, 48});
}

void frmAbout::CreateFrame() {
    // The frame's top edge runs above the window, so only its sides and foot show.
    fraMain = Place<QGroupBox>(this, "fraMain", {104, -5, 297, 206});
    picAntiFlicker = Place<QWidget>(fraMain, "picAntiFlicker", {5, 10, 288, 192});
}

void frmAbout::CreateHeadings() {
    labTitle = PlaceLabel(picAntiFlicker, "labTitle", QStringLiteral("IE Vantrel"), {1, 1, 290, 14});
    labTitle->setFont(TahomaFont(9, true));
    labHVersion = PlaceBoldLabel(picAntiFlicker, "labHVersion", QStringLiteral("Version"), {8, 22, 42, 13});
    labVersion = PlaceLabel(picAntiFlicker, "labVersion", QStringLiteral("2.00"), {57, 22, 22, 13});
    labHBuild = PlaceBoldLabel(picAntiFlicker, "labHBuild", QStringLiteral("Build"), {219, 22, 27, 13});
    labBuild = PlaceLabel(picAntiFlicker, "labBuild", QStringLiteral("#000"), {254, 22, 26, 13});
    labHDate = PlaceBoldLabel(picAntiFlicker, "labHDate", QStringLiteral("Date"), {9, 38, 27, 13});
    labDate =
        PlaceLabel(picAntiFlicker, "labDate", QStringLiteral("22nd November, 2004."), {57, 38, 111, 13});
    labDisclaimer = PlaceWrappedLabel(picAntiFlicker, "labDisclaimer", DisclaimerText, {15, 67, 261, 46});
}

void frmAbout::CreateLinks() {
    const QRect website{27, 117, 130, 12};
    lnkWebsite = Place<HyperLink>(picAntiFlicker, "lnkWebsite", website);
    lnkWebsite->SetShell(&shell_);
    lnkWebsite->ReadProperties(LinkProperties(QLatin1String(MakerHost), QLatin1String(MakerHost), website));
    const QRect forums{215, 117, 38, 12};
    lnkForums = Place<HyperLink>(picAntiFlicker, "lnkForums", forums);
    lnkForums->SetShell(&shell_);
    lnkForums->ReadProperties(LinkProperties(QStringLiteral("Forums"), Text(ForumURL), forums));
    MultiRule1 = PlaceRule(picAntiFlicker, "MultiRule1", {26, 140, 227, 7});
}

void frmAbout::CreateDonation() {
    imgDonate = PlacePicture(picAntiFlicker, "imgDonate", ":/images/donate.gif", {16, 151, 62, 31});
    labDonate = PlaceWrappedLabel(picAntiFlicker, "labDonate", DonateText, {88, 147, 181, 40});
}

void frmAbout::ConnectHandlers() {
    ConnectClick(imgLogo, &frmAbout::imgLogo_Click);
    ConnectClick(labTitle, &frmAbout::labTitle_Click);
    ConnectClick(imgDonate, &frmAbout::imgDonate_Click);
    ConnectClick(labDonate, &frmAbout::labDonate_Click);
    connect(lnkForums, &HyperLink::MouseUp, this, &frmAbout::lnkForums_MouseUp);
    connect(lnkWebsite, &HyperLink::MouseUp, this, &frmAbout::lnkWebsite_MouseUp);
}

void frmAbout::ConnectClick(QLabel* clickable, void (frmAbout::*handler)()) {
    clickable->setCursor(HandCursor());
    connect(new ClickWatcher(clickable), &ClickWatcher::Click, this, handler);
}

void frmAbout::Form_Load(const ProgramVersion& version) {
    SetWideningText(labVersion, Text(VersionText(version)));
    SetWideningText(labBuild, Text(BuildText(version)));
}

void frmAbout::imgLogo_Click() {
    OpenPage(HomePageURL, 0);
}

void frmAbout::labTitle_Click() {
    OpenPage(ProductPageURL, OwnHandle());
}

void frmAbout::imgDonate_Click() {
    OpenPage(DonationURL, OwnHandle());
}

void frmAbout::labDonate_Click() {
    OpenPage(DonationURL, OwnHandle());
}

void frmAbout::lnkForums_MouseUp() {
    OpenPage(ForumURL, 0);
}

void frmAbout::lnkWebsite_MouseUp() {
    OpenPage(HomePageURL, 0);
}

void frmAbout::OpenPage(const std::string& address, WindowHandle owner) {
    shell_.Open(ShellOpenRequest{address, std::string(), owner, 1, std::string(), false});
}

WindowHandle frmAbout::OwnHandle() {
    return static_cast<WindowHandle>(winId());
}
