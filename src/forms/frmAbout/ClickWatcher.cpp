#include "forms/frmAbout/ClickWatcher.h"

#include <QMouseEvent>
#include <QWidget>

ClickWatcher::ClickWatcher(QWidget* watched) : QObject(watched) {
    watched->installEventFilter(this);
}

bool ClickWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = true;
        return false;
    }
    // A press that wanders off before its release is no click, as with a button.
    const bool click =
        pressed_ && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
    pressed_ = false;
    if (click) {
        emit Click();
    }
    return false;
}
