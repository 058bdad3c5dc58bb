#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <initializer_list>

class MultiRule;
class QDialog;
class QLabel;
class QPushButton;

// Creating a window's controls at their places: each named for its control, at its left, top, width and
// height in the window's (or its container's) pixels.

template <class Widget> Widget* Place(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// A label whose text sits at its top left, as the windows' labels do.
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// A label on the white header band, painting its own white background.
QLabel* PlaceWhiteLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// A picture from the program's resources, shown at its own size.
QLabel* PlacePicture(QWidget* parent, const char* name, const char* picture, const QRect& geometry,
                     const QString& toolTip = QString());
// A push button that answers Return as well as Space while it has the focus.
QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, const QString& toolTip,
                         const QRect& geometry);
// A rule that takes the size it is given and lies along its longer side.
MultiRule* PlaceRule(QWidget* parent, const char* name, const QRect& geometry);
// Lets a rule placed by a form take the size the form gave it.
void ReadRuleExtent(MultiRule* rule);

// Gives a dialog the look both dialogs share: a fixed size, a title bar with only a close box, the small
// window icon and the windows' font.
void SetUpFixedDialog(QDialog* dialog, const char* name, int width, int height);

// Puts the controls into the keyboard's tab order as listed. Controls that never take the focus (labels,
// pictures, rules) keep their places in the list but stay out of the chain.
void ChainTabOrder(std::initializer_list<QWidget*> order);
