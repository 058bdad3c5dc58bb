#pragma once

#include "platform/Prompt.h"

#include <QPointer>
#include <QWidget>

// Shows each message as a real QMessageBox, modal and owned by the application's active window (the fallback
// owner when no window is active, as while the main window is still loading).
class QtPrompt final : public Prompt {
public:
    explicit QtPrompt(QWidget* fallbackOwner = nullptr) : fallbackOwner_(fallbackOwner) {}

    PromptAnswer Show(const PromptMessage& message) override;

private:
    QPointer<QWidget> fallbackOwner_;
};
