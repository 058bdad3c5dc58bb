#pragma once

#include "controls/ColourValue.h"
#include "controls/PropertyBag.h"
#include "platform/modShellExecute.h"

#include <QString>
#include <QWidget>

class QLabel;
class QMouseEvent;
class QTimer;

// One line of text shown as a web-style link: highlighted while the pointer is over it, opening its URL (or
// leaving that to the window when OverrideClick is set) on a left click, and passing every button release on
// to the window as MouseUp when it falls on the text.
class HyperLink final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HyperLink)

public:
    explicit HyperLink(QWidget* parent = nullptr);

    void InitProperties();
    // The window hands each instance its set when it loads.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QString Caption() const { return Caption_; }
    void SetCaption(const QString& caption);
    QString URL() const { return URL_; }
    void SetURL(const QString& url);
    bool OverrideClick() const { return OverrideClick_; }
    void SetOverrideClick(bool overrideClick);
    bool MinimiseOnClick() const { return MinimiseOnClick_; }
    void SetMinimiseOnClick(bool minimiseOnClick);
    bool CloseOnClick() const { return CloseOnClick_; }
    void SetCloseOnClick(bool closeOnClick);
    bool Underlined() const { return Underlined_; }
    void SetUnderlined(bool underlined);
    bool UnderlinedHilight() const { return UnderlinedHilight_; }
    void SetUnderlinedHilight(bool underlinedHilight);
    qint32 MouseOutCheckDelay() const { return MouseOutCheckDelay_; }
    void SetMouseOutCheckDelay(qint32 delay);
    ColourValue BackColor() const { return BackColor_; }
    void SetBackColor(ColourValue colour);
    ColourValue LinkColour() const { return LinkColour_; }
    void SetLinkColour(ColourValue colour);
    ColourValue HilightColour() const { return HilightColour_; }
    void SetHilightColour(ColourValue colour);
    QString ToolTip() const { return ToolTip_; }
    void SetToolTip(const QString& toolTip);

    void Refresh();
    // Where a click opens its URL; the system shell unless a test sets another.
    void SetShell(Shell* shell);

signals:
    void MouseUp(qint16 button, qint16 shift, float x, float y); // every button release over the text
    void PropertyChanged(const QString& name);                   // the host's stored set is out of date

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ReadFields(const PropertyBag& bag);
    void ApplyLoadedLook();
    void Layout();
    void Hover();
    void CheckMouseOut();
    void LabelReleased(const QMouseEvent& event);
    void FollowLink();
    QString ExpandedURL() const;

    void SetLabelCaption(const QString& caption);
    void SetLabelTextColour(ColourValue colour);
    void SetLabelBackColour(ColourValue colour);
    void SetLabelUnderline(bool underline);
    bool LabelUnderlined() const;
    void ApplyLabelColours();

    void SetTimerEnabled(bool enabled);
    void SetTimerInterval(qint32 interval);
    void UpdateTimer();

    QLabel* labLink;
    QTimer* tmrMouseOut;
    Shell* shell_;

    QString Caption_;
    QString URL_;
    ColourValue BackColor_ = 0;
    ColourValue LinkColour_ = 0;
    ColourValue HilightColour_ = 0;
    bool Underlined_ = false;
    bool UnderlinedHilight_ = false;
    qint32 MouseOutCheckDelay_ = 0;
    QString ToolTip_;
    bool OverrideClick_ = false;
    bool MinimiseOnClick_ = false;
    bool CloseOnClick_ = false;
    bool hovering_ = false;

    // The timer counts as running once enabled, even with an interval of 0, which never ticks.
    bool timerEnabled_ = false;
    qint32 timerInterval_ = 100;
    // What the label shows, kept as colour values so that a new colour scheme can be applied to them.
    ColourValue labelTextColour_ = 0x00FF0000;
    ColourValue labelBackColour_ = ButtonFaceColour;
};
