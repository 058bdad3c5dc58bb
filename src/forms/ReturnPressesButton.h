#pragma once

#include <QObject>

class QAbstractButton;

// Lets Return (and Enter on the keypad) press a button that has the keyboard focus, as Space does and as
// every button on Windows answers both keys: down while the key is held, clicked when it is released. Only
// the focused button answers, so a window without a default button keeps having none.
class ReturnPressesButton final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReturnPressesButton)

public:
    // Watches `button`, which owns the watcher.
    explicit ReturnPressesButton(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
