#pragma once

#include "engines/EngineCommands.h"
#include "platform/Prompt.h"

#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;

namespace Ui {
class frmAddEngine;
}

// The engine editor: the user types an engine's prefix and URL. Okay refuses texts that would break the
// record line and otherwise accepts the dialog, whose Engine() is then what was typed; Cancel rejects it. The
// main window makes a new one for each opening, sets its texts and applies what it returns.
class frmAddEngine final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAddEngine)

public:
    // `prompt` shows the refusal.
    frmAddEngine(Prompt& prompt, QWidget* owner);
    ~frmAddEngine() override;

    // Sets the caption, then labTitle, to `caption`, and labBody to `body`.
    void SetTexts(const QString& caption, const QString& body);
    // Fills the two boxes from the engine's bytes, the caret after the prefix.
    void SetEngine(const std::string& prefix, const std::string& url);

    // The two boxes' texts as the list's bytes.
    EngineFields Engine() const;

    // Shows the dialog with the caret after the prefix and nothing selected.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Neither button is a default or cancel button: Return and Escape act only through the text boxes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetTabOrder();

    // A box's text in the list's bytes: the bytes it was filled with while its text is unchanged, since bytes
    // that are not in the system's encoding do not survive the round trip through the box.
    struct FilledText {
        std::string Bytes;
        QString Shown;
    };
    static std::string BytesOf(const QLineEdit* box, const FilledText& filled);

    void cmdOkay_Click();
    void cmdCancel_Click();

    Prompt& prompt_;
    FilledText prefix_;
    FilledText url_;
    std::unique_ptr<Ui::frmAddEngine> ui_;
};
