#include "forms/frmAbout/frmAbout.h"

#include "MakerSite.h"
#include "controls/HandCursor.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "forms/frmAbout/ClickableLabel.h"
#include "startup/AppPaths.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

namespace {

// A control's extent as a window definition stores it: HIMETRIC units (0.01 mm) at 96 dots per inch.
qint32 Himetric(int pixels) {
    return qRound(pixels * 2540.0 / 96.0);
}

template <class Widget> Widget* Place(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

template <class Label>
Label* PlaceLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font) {
    auto* label = Place<Label>(parent, name, geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    return label;
}

template <class Label>
Label* PlacePicture(QWidget* parent, const char* name, const char* picture, const QRect& geometry) {
    auto* label = Place<Label>(parent, name, geometry);
    label->setPixmap(QPixmap(QLatin1String(picture)));
    return label;
}

// Both links leave the click to the window and keep the control's defaults for everything not set here.
PropertyBag LinkProperties(const QString& caption, const QString& url, int width, int height) {
    return PropertyBag{{QStringLiteral("caption"), caption},
                       {QStringLiteral("url"), url},
                       {QStringLiteral("overrideclick"), QVariant::fromValue(qint16(-1))},
                       {QStringLiteral("tooltiptext"), QString()},
                       {QStringLiteral("hilightcolour"), QVariant::fromValue(quint32(0x00AF0000))},
                       {QStringLiteral("_extentx"), Himetric(width)},
                       {QStringLiteral("_extenty"), Himetric(height)}};
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
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
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon-dialog.png")));
    setFont(TahomaFont());
    setFixedSize(402, 202);

    CreateBanner();
    CreateFrame();
    CreateHeadings();
    CreateLinks();
    CreateDonation();
    ConnectHandlers();
    Form_Load(version);
}

void frmAbout::CreateBanner() {
    Image1 = PlacePicture<QLabel>(this, "Image1", ":/images/banner.jpg", {1, 1, 99, 200});
    Label1 = Place<QLabel>(this, "Label1", {9, 13, 84, 84});
    Label1->setAutoFillBackground(true);
    QPalette white = Label1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label1->setPalette(white);
    imgLogo = PlacePicture<ClickableLabel>(this, "imgLogo", ":/images/logo.gif", {27, 24, 48, 48});
    imgLogo->setCursor(HandCursor());
}

void frmAbout::CreateFrame() {
    // The frame's top edge runs above the window, so only its sides and foot show.
    fraMain = Place<QGroupBox>(this, "fraMain", {104, -5, 297, 206});
    picAntiFlicker = Place<QWidget>(fraMain, "picAntiFlicker", {5, 10, 288, 192});
}

void frmAbout::CreateHeadings() {
    const QFont regular = TahomaFont();
    const QFont bold = TahomaFont(8.25, true);
    labTitle = PlaceLabel<ClickableLabel>(picAntiFlicker, "labTitle", QStringLiteral("IE Vantrel"),
                                          {1, 1, 290, 14}, TahomaFont(9, true));
    labTitle->setCursor(HandCursor());
    labHVersion =
        PlaceLabel<QLabel>(picAntiFlicker, "labHVersion", QStringLiteral("Version"), {8, 22, 42, 13}, bold);
    labVersion =
        PlaceLabel<QLabel>(picAntiFlicker, "labVersion", QStringLiteral("2.00"), {57, 22, 22, 13}, regular);
    labHBuild =
        PlaceLabel<QLabel>(picAntiFlicker, "labHBuild", QStringLiteral("Build"), {219, 22, 27, 13}, bold);
    labBuild =
        PlaceLabel<QLabel>(picAntiFlicker, "labBuild", QStringLiteral("#000"), {254, 22, 26, 13}, regular);
    labHDate = PlaceLabel<QLabel>(picAntiFlicker, "labHDate", QStringLiteral("Date"), {9, 38, 27, 13}, bold);
    labDate = PlaceLabel<QLabel>(picAntiFlicker, "labDate", QStringLiteral("22nd November, 2004."),
                                 {57, 38, 111, 13}, regular);
    labDisclaimer =
        PlaceLabel<QLabel>(picAntiFlicker, "labDisclaimer", DisclaimerText, {15, 67, 261, 46}, regular);
    labDisclaimer->setWordWrap(true);
}

void frmAbout::CreateLinks() {
    lnkWebsite = Place<HyperLink>(picAntiFlicker, "lnkWebsite", {27, 117, 130, 12});
    lnkWebsite->SetShell(&shell_);
    lnkWebsite->ReadProperties(LinkProperties(QLatin1String(MakerHost), QLatin1String(MakerHost), 130, 12));
    lnkForums = Place<HyperLink>(picAntiFlicker, "lnkForums", {215, 117, 38, 12});
    lnkForums->SetShell(&shell_);
    lnkForums->ReadProperties(LinkProperties(QStringLiteral("Forums"), Text(ForumURL), 38, 12));
    MultiRule1 = Place<MultiRule>(picAntiFlicker, "MultiRule1", {26, 140, 227, 7});
    MultiRule1->ReadProperties(
        PropertyBag{{QStringLiteral("_extentx"), Himetric(227)}, {QStringLiteral("_extenty"), Himetric(7)}});
}

void frmAbout::CreateDonation() {
    imgDonate =
        PlacePicture<ClickableLabel>(picAntiFlicker, "imgDonate", ":/images/donate.gif", {16, 151, 62, 31});
    imgDonate->setCursor(HandCursor());
    labDonate =
        PlaceLabel<ClickableLabel>(picAntiFlicker, "labDonate", DonateText, {88, 147, 181, 40}, TahomaFont());
    labDonate->setWordWrap(true);
    labDonate->setCursor(HandCursor());
}

void frmAbout::ConnectHandlers() {
    connect(imgLogo, &ClickableLabel::Click, this, &frmAbout::imgLogo_Click);
    connect(labTitle, &ClickableLabel::Click, this, &frmAbout::labTitle_Click);
    connect(imgDonate, &ClickableLabel::Click, this, &frmAbout::imgDonate_Click);
    connect(labDonate, &ClickableLabel::Click, this, &frmAbout::labDonate_Click);
    connect(lnkForums, &HyperLink::MouseUp, this, &frmAbout::lnkForums_MouseUp);
    connect(lnkWebsite, &HyperLink::MouseUp, this, &frmAbout::lnkWebsite_MouseUp);
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
