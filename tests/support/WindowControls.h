#pragma once

#include <QLabel>
#include <QWidget>
#include <QtTest>

// The window's control of that name; a missing control ends the test program, as every later step would fail.
template <class Control = QWidget> Control* FindControl(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) {
        qFatal("no control %s", name);
    }
    return control;
}

// Clicks a control, or a link's text, where the link listens.
inline void Click(QWidget* control, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* linkText = control->findChild<QLabel*>();
    QTest::mouseClick(linkText != nullptr ? linkText : control, button);
}
