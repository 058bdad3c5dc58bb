#include "forms/Placement.h"

#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "forms/Himetric.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>

#include <algorithm>

void ReadRuleExtent(MultiRule* rule) {
    rule->ReadProperties(PropertyBag{{QStringLiteral("_extentx"), Himetric(rule->width())},
                                     {QStringLiteral("_extenty"), Himetric(rule->height())}});
}

void SetUpLink(HyperLink* link, const QString& caption, const QString& url, const QString& toolTip) {
    link->ReadProperties(
        PropertyBag{{QStringLiteral("caption"), caption},
                    {QStringLiteral("url"), url},
                    {QStringLiteral("overrideclick"), QVariant::fromValue(qint16(-1))},
                    {QStringLiteral("tooltiptext"), toolTip},
                    {QStringLiteral("hilightcolour"), QVariant::fromValue(quint32(0x00AF0000))},
                    {QStringLiteral("_extentx"), Himetric(link->width())},
                    {QStringLiteral("_extenty"), Himetric(link->height())}});
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

void GrowToShowAll(QLabel* label) {
    label->resize(label->width(), std::max(label->height(), label->heightForWidth(label->width())));
}
