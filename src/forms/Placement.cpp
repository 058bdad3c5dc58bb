#include "forms/Placement.h"

#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "forms/Himetric.h"
#include "forms/ReturnPressesButton.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    return label;
}

QLabel* PlaceWhiteLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = PlaceLabel(parent, name, text, geometry);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    return label;
}

QLabel* PlacePicture(QWidget* parent, const char* name, const char* picture, const QRect& geometry,
                     const QString& toolTip) {
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setPixmap(QPixmap(QLatin1String(picture)));
    label->setToolTip(toolTip);
    return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, const QString& toolTip,
                         const QRect& geometry) {
    auto* button = Place<QPushButton>(parent, name, geometry);
    button->setText(text);
    button->setToolTip(toolTip);
    new ReturnPressesButton(button);
    return button;
}

MultiRule* PlaceRule(QWidget* parent, const char* name, const QRect& geometry) {
    auto* rule = Place<MultiRule>(parent, name, geometry);
    ReadRuleExtent(rule);
    return rule;
}

void ReadRuleExtent(MultiRule* rule) {
    rule->ReadProperties(PropertyBag{{QStringLiteral("_extentx"), Himetric(rule->width())},
                                     {QStringLiteral("_extenty"), Himetric(rule->height())}});
}

void ChainTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void SetUpFixedDialog(QDialog* dialog, const char* name, int width, int height) {
    dialog->setObjectName(QLatin1String(name));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowIcon(QIcon(QStringLiteral(":/images/icon-dialog.png")));
    dialog->setFont(TahomaFont());
    dialog->setFixedSize(width, height);
}
