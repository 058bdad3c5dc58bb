#include "controls/MultiRule.h"

#include "controls/ColourValue.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr qint32 TwipsPerPixel = 15;

// The device pixels that one line covers: the logical pixels its end points fall in, the far end excluded
// but at least one pixel across, with each edge rounded to a device pixel so the line stays sharp.
QRect DeviceRect(const RuleLine& line, qreal ratio) {
    const qint32 left = qMin(line.X1, line.X2) / TwipsPerPixel;
    const qint32 top = qMin(line.Y1, line.Y2) / TwipsPerPixel;
    const qint32 right = qMax(qMax(line.X1, line.X2) / TwipsPerPixel, left + 1);
    const qint32 bottom = qMax(qMax(line.Y1, line.Y2) / TwipsPerPixel, top + 1);
    const QPoint from(qRound(left * ratio), qRound(top * ratio));
    const QPoint to(qRound(right * ratio), qRound(bottom * ratio));
    return QRect(from, to - QPoint(1, 1));
}

} // namespace

MultiRule::MultiRule(QWidget* parent) : QWidget(parent) {
    resize(283, 8);
}

void MultiRule::ReadProperties(const PropertyBag& bag) {
    SetOrientation(bag.ReadProperty(QStringLiteral("Orientation"), qint32(OrientationAuto)).toInt());
}

void MultiRule::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Orientation"), Orientation_);
}

void MultiRule::SetOrientation(qint32 orientation) {
    Orientation_ = orientation;
    Layout();
    emit PropertyChanged(QStringLiteral("Orientation"));
}

void MultiRule::Refresh() {
    repaint();
}

void MultiRule::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ResolveColour(ButtonFaceColour, palette()));
    const qreal ratio = devicePixelRatioF();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.fillRect(DeviceRect(linHiLite, ratio), ResolveColour(ButtonHighlightColour, palette()));
    painter.fillRect(DeviceRect(linLoLite, ratio), ResolveColour(ButtonShadowColour, palette()));
}

void MultiRule::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void MultiRule::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        update();
    }
}

void MultiRule::Layout() {
    switch (Orientation_) {
    case OrientationAuto:
        LayoutAutomatic();
        break;
    case OrientationHorizontal:
        LayoutHorizontal();
        break;
    case OrientationVertical:
        LayoutVertical();
        break;
    default:
        break;
    }
    update();
}

void MultiRule::LayoutAutomatic() {
    const qint32 innerHeight = height() * TwipsPerPixel;
    const qint32 innerWidth = width() * TwipsPerPixel;
    if (innerWidth > innerHeight) {
        LayoutHorizontal();
    } else {
        LayoutVertical();
    }
}

// linLoLite's X1 is left as it is: 0 from the design, 2 once a vertical layout has run.
void MultiRule::LayoutHorizontal() {
    linHiLite.Y1 = 20;
    linLoLite.Y1 = 0;
    linHiLite.Y2 = linHiLite.Y1;
    linLoLite.Y2 = linLoLite.Y1;
    linHiLite.X1 = 0;
    linHiLite.X2 = width() * TwipsPerPixel;
    linLoLite.X2 = width() * TwipsPerPixel;
}

// linLoLite's Y1 is left as it is: 45 from the design, 0 once a horizontal layout has run.
void MultiRule::LayoutVertical() {
    linHiLite.Y1 = 30;
    linHiLite.X1 = 20;
    linHiLite.X2 = 20;
    linLoLite.X1 = 2;
    linLoLite.X2 = 2;
    linHiLite.Y2 = height() * TwipsPerPixel;
    linLoLite.Y2 = height() * TwipsPerPixel;
}
