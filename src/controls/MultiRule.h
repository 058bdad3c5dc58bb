#pragma once

#include "controls/PropertyBag.h"

#include <QWidget>

// One line of the rule, its end points in twips of the control's surface.
struct RuleLine {
    qint32 X1;
    qint32 Y1;
    qint32 X2;
    qint32 Y2;

    bool operator==(const RuleLine&) const = default;
};

// An etched separator: a shadow line and, one pixel beside it, a highlight line, lying horizontally or
// vertically; by default it chooses by its own shape.
class MultiRule final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MultiRule)

public:
    static constexpr qint32 OrientationAuto = 0;
    static constexpr qint32 OrientationHorizontal = 1;
    static constexpr qint32 OrientationVertical = 2;

    explicit MultiRule(QWidget* parent = nullptr);

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    qint32 Orientation() const { return Orientation_; }
    void SetOrientation(qint32 orientation);
    void Refresh();

    // Where the two lines lie now.
    RuleLine LoLite() const { return linLoLite; }
    RuleLine HiLite() const { return linHiLite; }

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Layout();
    void LayoutAutomatic();
    void LayoutHorizontal();
    void LayoutVertical();

    qint32 Orientation_ = OrientationAuto;
    RuleLine linLoLite{0, 45, 4200, 45};
    RuleLine linHiLite{0, 60, 4200, 60};
};
