#pragma once

#include <QObject>

class QWidget;

// Gives a label or picture a click: a left-button press and release, both over it, as a button has.
class ClickWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClickWatcher)

public:
    // Watches `watched`, which owns the watcher.
    explicit ClickWatcher(QWidget* watched);

signals:
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressed_ = false;
};
