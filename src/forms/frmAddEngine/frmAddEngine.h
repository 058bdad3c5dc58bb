#pragma once

#include "engines/EngineRows.h"
#include "engines/modGUI.h"
#include "platform/Prompt.h"

#include <QDialog>

#include <cstddef>
#include <string>

class MultiRule;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The engine editor: the user types an engine's prefix and URL; Okay writes them into the list (adding a row,
// or changing the current one) and saves the list, Cancel changes nothing. The main window makes a new one
// for each opening and sets its texts and mode before showing it.
class frmAddEngine final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAddEngine)

public:
    // `currentRow` is the row an edit changes; `buttons` are kept in step with the rows after Okay.
    frmAddEngine(EngineRows& rows, std::size_t currentRow, ListButtons& buttons, Prompt& prompt,
                 QWidget* owner);

    // Sets the caption, then labTitle, to `caption`, and labBody to `body`.
    void SetTexts(const QString& caption, const QString& body);
    // Fills the two boxes from the engine's bytes, the caret after the prefix.
    void SetEngine(const std::string& prefix, const std::string& url);

    // 0 adds a new engine; any other value edits the current row.
    int EditMode = 0;

    // Shows the dialog with the caret after the prefix and nothing selected.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Neither button is a default or cancel button: Return and Escape act only through the text boxes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateHeader();
    void CreatePrefixFrame();
    void CreateURLFrame();
    void CreateButtons();
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

    EngineRows& rows_;
    std::size_t currentRow_;
    ListButtons& buttons_;
    Prompt& prompt_;
    FilledText prefix_;
    FilledText url_;

    QLabel* Label1;
    QLabel* imgLogo;
    QLabel* labTitle;
    QLabel* labBody;
    MultiRule* MultiRule1;
    QGroupBox* fraPrefix;
    QWidget* picContainer0;
    QLineEdit* txtPrefix;
    QLabel* Label2;
    QGroupBox* fraSearchEngineURL;
    QWidget* picContainer1;
    QLineEdit* txtURL;
    QLabel* Label3;
    QLabel* labCodeHighlight;
    MultiRule* MultiRule2;
    QPushButton* cmdCancel;
    QPushButton* cmdOkay;
};
