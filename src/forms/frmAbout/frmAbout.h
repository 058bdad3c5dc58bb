#pragma once

#include "platform/VersionText.h"
#include "platform/modShellExecute.h"

#include <QDialog>

#include <memory>
#include <string>

class QKeyEvent;
class QLabel;

namespace Ui {
class frmAbout;
}

// The About window: the program's title, version, build and date, a disclaimer, a request for donations, and
// links to the maker's pages. It keeps nothing between openings: the main window makes a new one each time.
class frmAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    // `shell` opens the maker's pages; `version` is what the window shows, the program's own unless a test
    // asks.
    frmAbout(Shell& shell, QWidget* owner, const ProgramVersion& version = CurrentVersion());
    ~frmAbout() override;

protected:
    // The window has no buttons and closes with its close box only, not on Escape.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetFonts();
    void SetUpLinksAndRule();
    void ConnectHandlers();
    void ConnectClick(QLabel* clickable, void (frmAbout::*handler)());

    void Form_Load(const ProgramVersion& version);
    void imgLogo_Click();
    void labTitle_Click();
    void imgDonate_Click();
    void labDonate_Click();
    void lnkForums_MouseUp();
    void lnkWebsite_MouseUp();

    void OpenPage(const std::string& address, WindowHandle owner);
    WindowHandle OwnHandle();

    Shell& shell_;
    std::unique_ptr<Ui::frmAbout> ui_;
};
