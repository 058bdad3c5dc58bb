#include "forms/frmAddEngine/frmAddEngine.h"

#include "controls/TahomaFont.h"
#include "forms/Local8Bit.h"
#include "forms/Placement.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

const QString PrefixInstruction = QStringLiteral(
    "Enter the prefix for this search engine. This is the letter, word, or phrase that is typed before the "
    "actual search string in the address bar.");

const QString URLInstruction = QStringLiteral("Finally, enter the URL for this search engine. Use the %s "
                                              "code to tell IE Vantrel where it should insert the "
                                              "search string into this URL.");

QLabel* PlaceInstruction(QWidget* parent, const char* name, const QString& text, const QColor& colour,
                         const QRect& geometry) {
    QLabel* label = PlaceLabel(parent, name, text, geometry);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

// A text box without a length limit: a line edit otherwise stops at 32,767 characters, which would cut a long
// URL that the list holds or the user pastes.
QLineEdit* PlaceTextBox(QWidget* parent, const char* name, const QRect& geometry) {
    auto* box = Place<QLineEdit>(parent, name, geometry);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

// The windows' key code 13: Return on the main keyboard and Enter on the keypad.
bool IsReturn(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

frmAddEngine::frmAddEngine(Prompt& prompt, QWidget* owner) : QDialog(owner), prompt_(prompt) {
    SetUpFixedDialog(this, "frmAddEngine", 368, 276);
    CreateHeader();
    CreatePrefixFrame();
    CreateURLFrame();
    CreateButtons();
    SetTabOrder();
}

void frmAddEngine::CreateHeader() {
    Label1 = PlaceWhiteLabel(this, "Label1", QString(), {0, -13, 675, 86});
    imgLogo = PlacePicture(this, "imgLogo", ":/images/logo.gif", {14, 12, 48, 48});
    labTitle = PlaceWhiteLabel(this, "labTitle", QStringLiteral("Modify Engine"), {72, 9, 78, 13});
    labTitle->setFont(TahomaFont(8.25, true));
    labBody =
        PlaceWhiteLabel(this, "labBody", QStringLiteral("Description to be written."), {72, 22, 283, 39});
    labBody->setWordWrap(true);
    MultiRule1 = PlaceRule(this, "MultiRule1", {-41, 71, 625, 6});
}

void frmAddEngine::CreatePrefixFrame() {
    fraPrefix = Place<QGroupBox>(this, "fraPrefix", {8, 77, 353, 69});
    fraPrefix->setTitle(QStringLiteral("Prefix"));
    picContainer0 = Place<QWidget>(fraPrefix, "picContainer0", {5, 12, 344, 55});
    txtPrefix = PlaceTextBox(picContainer0, "txtPrefix", {2, 2, 339, 20});
    Label2 = PlaceInstruction(picContainer0, "Label2", PrefixInstruction, QColor(0, 0, 64), {3, 24, 345, 30});
    txtPrefix->installEventFilter(this);
}

void frmAddEngine::CreateURLFrame() {
    fraSearchEngineURL = Place<QGroupBox>(this, "fraSearchEngineURL", {8, 154, 353, 69});
    fraSearchEngineURL->setTitle(QStringLiteral("Search Engine URL"));
    picContainer1 = Place<QWidget>(fraSearchEngineURL, "picContainer1", {5, 13, 344, 53});
    txtURL = PlaceTextBox(picContainer1, "txtURL", {2, 2, 339, 20});
    Label3 = PlaceInstruction(picContainer1, "Label3", URLInstruction, QColor(64, 0, 0), {3, 24, 340, 26});
    labCodeHighlight = PlaceInstruction(picContainer1, "labCodeHighlight", QStringLiteral("%s"), Qt::black,
                                        {261, 24, 16, 13});
    labCodeHighlight->setWordWrap(false);
    txtURL->installEventFilter(this);
}

void frmAddEngine::CreateButtons() {
    MultiRule2 = PlaceRule(this, "MultiRule2", {-332, 233, 770, 8});
    cmdCancel = PlaceButton(this, "cmdCancel", QStringLiteral("Cancel"), QStringLiteral("Discard changes"),
                            {165, 242, 97, 27});
    cmdOkay = PlaceButton(this, "cmdOkay", QStringLiteral("Okay"), QStringLiteral("Accept changes"),
                          {264, 242, 97, 27});
    for (QPushButton* button : {cmdCancel, cmdOkay}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(cmdOkay, &QPushButton::clicked, this, &frmAddEngine::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddEngine::cmdCancel_Click);
}

void frmAddEngine::SetTabOrder() {
    ChainTabOrder({txtPrefix, txtURL, cmdOkay, cmdCancel, labBody, labTitle, Label1, fraPrefix, picContainer0,
                   Label2, fraSearchEngineURL, picContainer1, Label3, labCodeHighlight});
    txtPrefix->setFocus();
}

// The title label grows to show its whole text: at its designed width the captions the main window sets would
// be cut short.
void frmAddEngine::SetTexts(const QString& caption, const QString& body) {
    setWindowTitle(caption);
    labTitle->setText(caption);
    labTitle->resize(std::max(labTitle->width(), labTitle->sizeHint().width()), labTitle->height());
    labBody->setText(body);
}

void frmAddEngine::SetEngine(const std::string& prefix, const std::string& url) {
    prefix_ = {prefix, FromLocal8Bit(prefix)};
    url_ = {url, FromLocal8Bit(url)};
    txtPrefix->setText(prefix_.Shown);
    txtPrefix->setCursorPosition(static_cast<int>(prefix_.Shown.size()));
    txtURL->setText(url_.Shown);
}

std::string frmAddEngine::BytesOf(const QLineEdit* box, const FilledText& filled) {
    return box->text() == filled.Shown ? filled.Bytes : ToLocal8Bit(box->text());
}

// QDialog hands the first box the focus as if the user had tabbed there, which selects all of its text; the
// caret belongs after the prefix instead.
void frmAddEngine::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible) {
        txtPrefix->setCursorPosition(static_cast<int>(txtPrefix->text().size()));
    }
}

// Return and Escape act when released, as the keys did in the windows this program grew up on; their presses
// are swallowed so that the dialog does not act on them first.
bool frmAddEngine::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtPrefix && watched != txtURL) {
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
    return {BytesOf(txtPrefix, prefix_), BytesOf(txtURL, url_)};
}

void frmAddEngine::cmdOkay_Click() {
    if (EngineFieldsAllowed(Engine(), ToLocal8Bit(windowTitle()), prompt_)) {
        accept();
    }
}

void frmAddEngine::cmdCancel_Click() {
    reject();
}
