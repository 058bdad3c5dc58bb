#include "forms/ReturnPressesButton.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>

ReturnPressesButton::ReturnPressesButton(QAbstractButton* button) : QObject(button) {
    button->installEventFilter(this);
}

// Return goes to the button as Space, whose handling already holds the button down while the key is held and
// clicks it on the release, so the two keys cannot differ.
bool ReturnPressesButton::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!isReturn || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    QKeyEvent space(key->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), key->isAutoRepeat(),
                    key->count());
    QCoreApplication::sendEvent(watched, &space);
    return true;
}
