#include "forms/QtPrompt.h"

#include "forms/Local8Bit.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

// A box taller than the screen hides its own buttons, and laying out tens of thousands of lines (Remove
// Selected with most of a large list selected) takes seconds. A longer text shows its first lines and the
// whole of it under "Show Details...", where it scrolls.
constexpr qsizetype MaxShownLines = 40;

QString Shortened(const QString& text) {
    qsizetype end = -1;
    for (qsizetype line = 0; line < MaxShownLines; ++line) {
        end = text.indexOf(QLatin1Char('\n'), end + 1);
        if (end < 0) {
            return text;
        }
    }
    return text.left(end) + QStringLiteral("\n\u2026");
}

} // namespace

PromptAnswer QtPrompt::Show(const PromptMessage& message) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    if (owner == nullptr) {
        owner = fallbackOwner_;
    }
    QMessageBox box(owner);
    box.setWindowTitle(FromLocal8Bit(message.Title));
    box.setIcon(BoxIcon(message.Icon));
    // Plain text: an engine's prefix that looks like markup is still shown as typed.
    box.setTextFormat(Qt::PlainText);
    const QString text = FromLocal8Bit(message.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString shown = Shortened(text);
    box.setText(shown);
    if (shown.size() != text.size()) {
        box.setDetailedText(text);
    }
    if (message.Buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}
