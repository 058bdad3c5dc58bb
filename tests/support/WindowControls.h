#pragma once

#include "forms/EngineListModel.h"

#include <QTreeView>

// The window's control of that name; a missing control ends the test program, as every later step would fail.
template <class Control = QWidget> Control* FindControl(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) {
        qFatal("no control %s", name);
    }
    return control;
}

// The main window's list of engines and the rows behind it.
inline QTreeView* EngineListView(QWidget& window) {
    return FindControl<QTreeView>(window, "lvwEngines");
}
inline EngineListModel* EngineListModelOf(QWidget& window) {
    return qobject_cast<EngineListModel*>(EngineListView(window)->model());
}
