#include "forms/frmAbout/frmAbout.h"

#include "MakerSite.h"
#include "controls/HandCursor.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/TahomaFont.h"
#include "forms/Placement.h"
#include "forms/frmAbout/ClickWatcher.h"
#include "platform/AppPaths.h"
#include "ui_frmAbout.h"

#include <QLabel>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A label sized for a shorter text, or for narrower letters than its font draws, widens rather than cutting
// its text off: the version and build labels are sized for short placeholders, the bold headings for one
// font.
void WidenToShowAll(QLabel* label) {
    label->resize(qMax(label->width(), label->sizeHint().width()), label->height());
}

void SetWideningText(QLabel* label, const QString& text) {
    label->setText(text);
    WidenToShowAll(label);
}

} // namespace

frmAbout::frmAbout(Shell& shell, QWidget* owner, const ProgramVersion& version)
    : QDialog(owner), shell_(shell), ui_(std::make_unique<Ui::frmAbout>()) {
    SetUpFixedDialog(this, "frmAbout", 402, 202);
    ui_->setupUi(this);
    SetFonts();
    SetUpLinksAndRule();
    GrowToShowAll(ui_->labDisclaimer);
    GrowToShowAll(ui_->labDonate);
    ConnectHandlers();
    Form_Load(version);
}

frmAbout::~frmAbout() = default;

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // QDialog's own handler is skipped on purpose: it would close the window on Escape.
    QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

void frmAbout::SetFonts() {
    ui_->labTitle->setFont(TahomaFont(9, true));
    for (QLabel* heading : {ui_->labHVersion, ui_->labHBuild, ui_->labHDate}) {
        heading->setFont(TahomaFont(8.25, true));
        WidenToShowAll(heading);
    }
}

void frmAbout::SetUpLinksAndRule() {
    ui_->lnkWebsite->SetShell(&shell_);
    SetUpLink(ui_->lnkWebsite, QLatin1String(MakerHost), QLatin1String(MakerHost), QString());
    ui_->lnkForums->SetShell(&shell_);
    SetUpLink(ui_->lnkForums, QStringLiteral("Forums"), Text(ForumURL), QString());
    ReadRuleExtent(ui_->MultiRule1);
}

void frmAbout::ConnectHandlers() {
    ConnectClick(ui_->imgLogo, &frmAbout::imgLogo_Click);
    ConnectClick(ui_->labTitle, &frmAbout::labTitle_Click);
    ConnectClick(ui_->imgDonate, &frmAbout::imgDonate_Click);
    ConnectClick(ui_->labDonate, &frmAbout::labDonate_Click);
    connect(ui_->lnkForums, &HyperLink::MouseUp, this, &frmAbout::lnkForums_MouseUp);
    connect(ui_->lnkWebsite, &HyperLink::MouseUp, this, &frmAbout::lnkWebsite_MouseUp);
}

void frmAbout::ConnectClick(QLabel* clickable, void (frmAbout::*handler)()) {
    clickable->setCursor(HandCursor());
    connect(new ClickWatcher(clickable), &ClickWatcher::Click, this, handler);
}

void frmAbout::Form_Load(const ProgramVersion& version) {
    SetWideningText(ui_->labVersion, Text(VersionText(version)));
    SetWideningText(ui_->labBuild, Text(BuildText(version)));
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
