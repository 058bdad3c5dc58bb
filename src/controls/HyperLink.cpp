#include "controls/HyperLink.h"

#include "controls/HandCursor.h"
#include "controls/TahomaFont.h"
#include "platform/AppPaths.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {

// The layout works in twips at a fixed 15 to the pixel, whatever the screen's resolution.
constexpr float TwipsPerPixel = 15.0f;

const QString AppToken = QStringLiteral("{app}");

bool ReadBoolean(const PropertyBag& bag, const QString& key, bool defaultValue) {
    return bag.ReadProperty(key, StoredBoolean(defaultValue)).toInt() != 0;
}

// Buttons and modifier keys as the MouseUp event reports them: 1 left, 2 right, 4 middle; 1 Shift, 2 Ctrl, 4
// Alt.
qint16 ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

qint16 ShiftCode(Qt::KeyboardModifiers modifiers) {
    return qint16((modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
                  (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
                  (modifiers.testFlag(Qt::AltModifier) ? 4 : 0));
}

} // namespace

HyperLink::HyperLink(QWidget* parent)
    : QWidget(parent), labLink(new QLabel(this)), tmrMouseOut(new QTimer(this)),
      shell_(&SystemShell::Instance()) {
    labLink->setObjectName(QStringLiteral("labLink"));
    labLink->setTextFormat(Qt::PlainText);
    labLink->setAutoFillBackground(true);
    labLink->setMouseTracking(true);
    labLink->setCursor(HandCursor());
    labLink->setFont(TahomaFont());
    labLink->move(2, -1);
    labLink->installEventFilter(this);
    SetLabelCaption(QStringLiteral("-- Link --"));
    ApplyLabelColours();

    tmrMouseOut->setObjectName(QStringLiteral("tmrMouseOut"));
    connect(tmrMouseOut, &QTimer::timeout, this, &HyperLink::CheckMouseOut);
    UpdateTimer();
    resize(43, 12);
}

void HyperLink::InitProperties() {
    Caption_ = QStringLiteral("-- Link --");
    URL_.clear();
    ToolTip_.clear();
    OverrideClick_ = false;
    MinimiseOnClick_ = false;
    CloseOnClick_ = false;
    Underlined_ = false;
    UnderlinedHilight_ = true;
    BackColor_ = ButtonFaceColour;
    LinkColour_ = 0x00FF0000;
    HilightColour_ = 0x00AF0000;
    MouseOutCheckDelay_ = 50;
}

void HyperLink::ReadProperties(const PropertyBag& bag) {
    ReadFields(bag);
    SetUnderlinedHilight(ReadBoolean(bag, QStringLiteral("UnderlinedHilight"), true));
    SetURL(URL_);
    SetBackColor(BackColor_);
    ApplyLoadedLook();
    // The host sizes a control once it has loaded it, which runs the layout with the loaded caption.
    Layout();
}

void HyperLink::ReadFields(const PropertyBag& bag) {
    Caption_ = bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("Ruxo HyperLink")).toString();
    ToolTip_ = bag.ReadProperty(QStringLiteral("ToolTipText"), QString()).toString();
    URL_ = bag.ReadProperty(QStringLiteral("URL"), QString()).toString();
    OverrideClick_ = ReadBoolean(bag, QStringLiteral("OverrideClick"), false);
    MinimiseOnClick_ = ReadBoolean(bag, QStringLiteral("MinimiseOnClick"), false);
    CloseOnClick_ = ReadBoolean(bag, QStringLiteral("CloseOnClick"), false);
    MouseOutCheckDelay_ = bag.ReadProperty(QStringLiteral("MouseOutCheckDelay"), qint32(50)).toInt();
    BackColor_ = bag.ReadProperty(QStringLiteral("BackColor"), ButtonFaceColour).toUInt();
    HilightColour_ = bag.ReadProperty(QStringLiteral("HilightColour"), quint32(0x00FFFFFF)).toUInt();
    LinkColour_ = bag.ReadProperty(QStringLiteral("LinkColour"), quint32(0x00FF0000)).toUInt();
    Underlined_ = ReadBoolean(bag, QStringLiteral("Underlined"), false);
}

void HyperLink::ApplyLoadedLook() {
    SetLabelBackColour(BackColor_);
    SetLabelCaption(Caption_);
    labLink->setToolTip(ToolTip_);
    SetLabelTextColour(LinkColour_);
    SetTimerInterval(MouseOutCheckDelay_);
    // GDI keeps font heights in whole pixels: 8 pt becomes 11 pixels, which is 8.25 pt at 96 dpi.
    QFont font = labLink->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    labLink->setFont(font);
    labLink->adjustSize();
    if (Underlined_) {
        SetLabelUnderline(true);
    }
}

void HyperLink::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Caption"), Caption_);
    bag.WriteProperty(QStringLiteral("URL"), URL_);
    bag.WriteProperty(QStringLiteral("OverrideClick"), StoredBoolean(OverrideClick_), StoredBoolean(false));
    bag.WriteProperty(QStringLiteral("MinimiseOnClick"), StoredBoolean(MinimiseOnClick_),
                      StoredBoolean(false));
    bag.WriteProperty(QStringLiteral("CloseOnClick"), StoredBoolean(CloseOnClick_), StoredBoolean(false));
    bag.WriteProperty(QStringLiteral("MouseOutCheckDelay"), MouseOutCheckDelay_, qint32(50));
    bag.WriteProperty(QStringLiteral("ToolTipText"), ToolTip_);
    bag.WriteProperty(QStringLiteral("BackColor"), BackColor_, ButtonFaceColour);
    bag.WriteProperty(QStringLiteral("HilightColour"), HilightColour_, quint32(0x00FFFFFF));
    bag.WriteProperty(QStringLiteral("LinkColour"), LinkColour_, quint32(0x00FF0000));
    bag.WriteProperty(QStringLiteral("Underlined"), StoredBoolean(Underlined_), StoredBoolean(false));
    bag.WriteProperty(QStringLiteral("UnderlinedHilight"), StoredBoolean(UnderlinedHilight_),
                      StoredBoolean(true));
}

void HyperLink::SetCaption(const QString& caption) {
    Caption_ = caption;
    SetLabelCaption(caption);
    Layout();
    emit PropertyChanged(QStringLiteral("Caption"));
}

void HyperLink::SetURL(const QString& url) {
    URL_ = url;
    Layout();
    emit PropertyChanged(QStringLiteral("URL"));
}

void HyperLink::SetOverrideClick(bool overrideClick) {
    OverrideClick_ = overrideClick;
    Layout();
    emit PropertyChanged(QStringLiteral("OverrideClick"));
}

void HyperLink::SetMinimiseOnClick(bool minimiseOnClick) {
    MinimiseOnClick_ = minimiseOnClick;
    Layout();
    emit PropertyChanged(QStringLiteral("MinimiseOnClick"));
}

void HyperLink::SetCloseOnClick(bool closeOnClick) {
    CloseOnClick_ = closeOnClick;
    Layout();
    emit PropertyChanged(QStringLiteral("CloseOnClick"));
}

void HyperLink::SetMouseOutCheckDelay(qint32 delay) {
    MouseOutCheckDelay_ = delay;
    SetTimerInterval(delay);
    Layout();
    emit PropertyChanged(QStringLiteral("MouseOutCheckDelay"));
}

void HyperLink::SetBackColor(ColourValue colour) {
    BackColor_ = colour;
    SetLabelBackColour(colour);
    emit PropertyChanged(QStringLiteral("BackColor"));
}

void HyperLink::SetHilightColour(ColourValue colour) {
    HilightColour_ = colour;
    emit PropertyChanged(QStringLiteral("HilightColour"));
}

void HyperLink::SetLinkColour(ColourValue colour) {
    LinkColour_ = colour;
    SetLabelTextColour(colour);
    emit PropertyChanged(QStringLiteral("LinkColour"));
}

void HyperLink::SetUnderlined(bool underlined) {
    Underlined_ = underlined;
    SetLabelUnderline(underlined);
    emit PropertyChanged(QStringLiteral("Underlined"));
}

void HyperLink::SetUnderlinedHilight(bool underlinedHilight) {
    UnderlinedHilight_ = underlinedHilight;
    emit PropertyChanged(QStringLiteral("UnderlinedHilight"));
}

void HyperLink::SetToolTip(const QString& toolTip) {
    ToolTip_ = toolTip;
    labLink->setToolTip(toolTip);
    Layout();
    emit PropertyChanged(QStringLiteral("ToolTip"));
}

void HyperLink::Refresh() {
    repaint();
}

void HyperLink::SetShell(Shell* shell) {
    shell_ = shell;
}

bool HyperLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched == labLink) {
        if (event->type() == QEvent::MouseMove) {
            Hover();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            LabelReleased(*static_cast<QMouseEvent*>(event));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HyperLink::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void HyperLink::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        ApplyLabelColours();
    }
}

void HyperLink::Layout() {
    // The label sits a pixel above the control, in the empty row that a GDI font leaves above its letters;
    // where the letters start in that row (DirectWrite lays them out there), the label keeps them in view.
    const QFontMetrics metrics(labLink->font());
    const bool freeTopRow = metrics.ascent() + metrics.tightBoundingRect(labLink->text()).top() > 0;
    labLink->move(labLink->x(), freeTopRow ? -1 : 0);
    const float width = float(labLink->width()) * TwipsPerPixel + 45.0f;
    const float height = float(labLink->height() + labLink->y()) * TwipsPerPixel;
    resize(qRound(width / TwipsPerPixel), qRound(height / TwipsPerPixel));
}

void HyperLink::Hover() {
    if (UnderlinedHilight_ && !LabelUnderlined()) {
        SetLabelUnderline(true);
    }
    if (!timerEnabled_) {
        SetLabelTextColour(HilightColour_);
        if (!hovering_) {
            SetTimerEnabled(true);
            hovering_ = true;
        }
    }
}

void HyperLink::CheckMouseOut() {
    const QPoint cursor = QCursor::pos();
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    const qint32 left = topLeft.x();
    const qint32 top = topLeft.y();
    const qint32 right = left + width();
    const qint32 bottom = top + height();
    if (left < cursor.x() && cursor.x() < right && top < cursor.y() && cursor.y() < bottom) {
        return;
    }
    SetTimerEnabled(false);
    hovering_ = false;
    SetLabelTextColour(LinkColour_);
    if (UnderlinedHilight_ && !Underlined_) {
        SetLabelUnderline(false);
    }
}

// A press dragged off the text and released there is a cancelled click.
void HyperLink::LabelReleased(const QMouseEvent& event) {
    const qint16 button = ButtonCode(event.button());
    if (button == 0 || !labLink->rect().contains(event.position().toPoint())) {
        return;
    }
    if (button == 1) {
        SetLabelTextColour(LinkColour_);
        if (UnderlinedHilight_) {
            SetLabelUnderline(false);
        }
        if (!OverrideClick_) {
            FollowLink();
        }
    }
    emit MouseUp(button, ShiftCode(event.modifiers()), float(event.position().x()),
                 float(event.position().y()));
}

void HyperLink::FollowLink() {
    SetURL(ExpandedURL());
    QWidget* form = window();
    if (MinimiseOnClick_ && !CloseOnClick_ && form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) {
        form->setWindowState(form->windowState() | Qt::WindowMinimized);
    }
    // The shell takes UTF-8, as the program's paths are: a URL holding the program's folder reaches it whole.
    shell_->Open(ShellOpenRequest{URL_.toUtf8().toStdString(), "", 0, 1, "", false});
    if (CloseOnClick_) {
        form->close();
    }
}

QString HyperLink::ExpandedURL() const {
    std::string folder = AppFolder;
    if (!folder.empty() && folder.back() == PathSeparator) {
        folder.pop_back();
    }
    return QString(URL_).replace(AppToken, QString::fromUtf8(folder.data(), qsizetype(folder.size())),
                                 Qt::CaseSensitive);
}

void HyperLink::SetLabelCaption(const QString& caption) {
    labLink->setText(caption);
    labLink->adjustSize();
}

void HyperLink::SetLabelTextColour(ColourValue colour) {
    labelTextColour_ = colour;
    ApplyLabelColours();
}

void HyperLink::SetLabelBackColour(ColourValue colour) {
    labelBackColour_ = colour;
    ApplyLabelColours();
}

void HyperLink::SetLabelUnderline(bool underline) {
    QFont font = labLink->font();
    font.setUnderline(underline);
    labLink->setFont(font);
}

bool HyperLink::LabelUnderlined() const {
    return labLink->font().underline();
}

void HyperLink::ApplyLabelColours() {
    QPalette colours = labLink->palette();
    colours.setColor(QPalette::WindowText, ResolveColour(labelTextColour_, palette()));
    colours.setColor(QPalette::Window, ResolveColour(labelBackColour_, palette()));
    labLink->setPalette(colours);
}

void HyperLink::SetTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    UpdateTimer();
}

void HyperLink::SetTimerInterval(qint32 interval) {
    timerInterval_ = interval;
    UpdateTimer();
}

// An enabled timer with no positive interval never ticks, yet still counts as running.
void HyperLink::UpdateTimer() {
    tmrMouseOut->setInterval(qMax(timerInterval_, 0));
    if (timerEnabled_ && timerInterval_ > 0) {
        tmrMouseOut->start();
    } else {
        tmrMouseOut->stop();
    }
}
