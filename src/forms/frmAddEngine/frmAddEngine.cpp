#include "forms/frmAddEngine/frmAddEngine.h"

#include "controls/TahomaFont.h"
#include "forms/Local8Bit.h"
#include "forms/Placement.h"
#include "forms/ReturnPressesButton.h"
#include "ui_frmAddEngine.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

// The windows' key code 13: Return on the main keyboard and Enter on the keypad.
bool IsReturn(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

frmAddEngine::frmAddEngine(Prompt& prompt, QWidget* owner)
    : QDialog(owner), prompt_(prompt), ui_(std::make_unique<Ui::frmAddEngine>()) {
    SetUpFixedDialog(this, "frmAddEngine", 368, 276);
    ui_->setupUi(this);
    ui_->labTitle->setFont(TahomaFont(8.25, true));
    ReadRuleExtent(ui_->MultiRule1);
    ReadRuleExtent(ui_->MultiRule2);
    GrowToShowAll(ui_->Label2);
    GrowToShowAll(ui_->Label3);
    for (QPushButton* button : {ui_->cmdCancel, ui_->cmdOkay}) {
        new ReturnPressesButton(button);
    }
    ui_->txtPrefix->installEventFilter(this);
    ui_->txtURL->installEventFilter(this);
    connect(ui_->cmdOkay, &QPushButton::clicked, this, &frmAddEngine::cmdOkay_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &frmAddEngine::cmdCancel_Click);
    SetTabOrder();
}

frmAddEngine::~frmAddEngine() = default;

void frmAddEngine::SetTabOrder() {
    ChainTabOrder({ui_->txtPrefix, ui_->txtURL, ui_->cmdOkay, ui_->cmdCancel, ui_->labBody, ui_->labTitle,
                   ui_->Label1, ui_->fraPrefix, ui_->picContainer0, ui_->Label2, ui_->fraSearchEngineURL,
                   ui_->picContainer1, ui_->Label3, ui_->labCodeHighlight});
    ui_->txtPrefix->setFocus();
}

// The title label grows to show its whole text: at its designed width the captions the main window sets would
// be cut short.
void frmAddEngine::SetTexts(const QString& caption, const QString& body) {
    setWindowTitle(caption);
    ui_->labTitle->setText(caption);
    ui_->labTitle->resize(std::max(ui_->labTitle->width(), ui_->labTitle->sizeHint().width()),
                          ui_->labTitle->height());
    ui_->labBody->setText(body);
    GrowToShowAll(ui_->labBody);
}

void frmAddEngine::SetEngine(const std::string& prefix, const std::string& url) {
    prefix_ = {prefix, FromLocal8Bit(prefix)};
    url_ = {url, FromLocal8Bit(url)};
    ui_->txtPrefix->setText(prefix_.Shown);
    ui_->txtPrefix->setCursorPosition(static_cast<int>(prefix_.Shown.size()));
    ui_->txtURL->setText(url_.Shown);
}

std::string frmAddEngine::BytesOf(const QLineEdit* box, const FilledText& filled) {
    return box->text() == filled.Shown ? filled.Bytes : ToLocal8Bit(box->text());
}

// QDialog hands the first box the focus as if the user had tabbed there, which selects all of its text; the
// caret belongs after the prefix instead.
void frmAddEngine::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible) {
        ui_->txtPrefix->setCursorPosition(static_cast<int>(ui_->txtPrefix->text().size()));
    }
}

// Return and Escape act when released, as the keys did in the windows this program grew up on; their presses
// are swallowed so that the dialog does not act on them first.
bool frmAddEngine::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui_->txtPrefix && watched != ui_->txtURL) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool acts = IsReturn(key->key()) || key->key() == Qt::Key_Escape;
    if (!acts || event->type() == QEvent::KeyPress || key->isAutoRepeat()) {
        return acts;
    }
    if (IsReturn(key->key())) {
        cmdOkay_Click();
    } else {
        cmdCancel_Click();
    }
    return true;
}

void frmAddEngine::keyPressEvent(QKeyEvent* event) {
    // QDialog's own handler is skipped on purpose: it would close the window on Escape and press a button on
    // Return.
    QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

EngineFields frmAddEngine::Engine() const {
    return {BytesOf(ui_->txtPrefix, prefix_), BytesOf(ui_->txtURL, url_)};
}

void frmAddEngine::cmdOkay_Click() {
    if (EngineFieldsAllowed(Engine(), ToLocal8Bit(windowTitle()), prompt_)) {
        accept();
    }
}

void frmAddEngine::cmdCancel_Click() {
    reject();
}
