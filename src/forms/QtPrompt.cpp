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
    box.setText(FromLocal8Bit(message.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (message.Buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}
