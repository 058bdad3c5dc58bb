#include "forms/FitCheck.h"

#include "controls/HyperLink.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace {

// Bold text must draw at least this much more ink than the regular weight: a bold face whose outlines are the
// regular ones draws the same.
constexpr double BoldInkRatio = 1.15;
// A label drawn over another's text shows the same letters when this share of their ink coincides.
constexpr double OverlayInkMatch = 0.6;
// Darker than this is ink, on white.
constexpr int InkGrey = 160;

QString SizeText(QSize size) {
    return QStringLiteral("%1\u00D7%2").arg(size.width()).arg(size.height());
}

// A rectangle of the window as its size and its top left corner, "88×10 at 35,306".
QString RectText(const QRect& rect) {
    return QStringLiteral("%1 at %2,%3").arg(SizeText(rect.size())).arg(rect.left()).arg(rect.top());
}

QString NameOf(const QWidget& widget) {
    // A link's text is its inner label; the finding names the link.
    const QWidget* named =
        qobject_cast<const HyperLink*>(widget.parentWidget()) != nullptr ? widget.parentWidget() : &widget;
    return named->objectName().isEmpty() ? QLatin1String(named->metaObject()->className())
                                         : named->objectName();
}

QRect InWindow(const QWidget& widget, const QWidget& window) {
    return {widget.mapTo(&window, QPoint(0, 0)), widget.size()};
}

// The widget's rectangle in the window, cut to what its parents show of it.
QRect VisiblePart(const QWidget& widget, const QWidget& window) {
    QRect visible = InWindow(widget, window);
    for (const QWidget* parent = widget.parentWidget(); parent != nullptr;
         parent = parent == &window ? nullptr : parent->parentWidget()) {
        visible &= InWindow(*parent, window);
    }
    return visible;
}

// A laid-out text's box without the empty bands above and below its letters.
QRect Inked(const QRect& laidOut, const QFontMetrics& metrics, const QString& text) {
    const QRect ink = metrics.tightBoundingRect(text);
    return laidOut.adjusted(0, std::max(0, metrics.ascent() + ink.top()), 0,
                            -std::max(0, metrics.descent() - ink.bottom() - 1));
}

// Where QLabel draws its plain text: the contents less the margin and the indent, aligned and wrapped.
QRect LabelText(const QLabel& label) {
    const QFontMetrics metrics(label.font());
    const int margin = label.margin();
    QRect area = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label.indent();
    if (indent < 0) {
        indent = label.frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    }
    const Qt::Alignment align = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
    area.adjust(align.testFlag(Qt::AlignLeft) ? indent : 0, align.testFlag(Qt::AlignTop) ? indent : 0,
                align.testFlag(Qt::AlignRight) ? -indent : 0, align.testFlag(Qt::AlignBottom) ? -indent : 0);
    const int flags = int(align) | (label.wordWrap() ? int(Qt::TextWordWrap) : 0);
    return Inked(metrics.boundingRect(area, flags, label.text()), metrics, label.text());
}

QRect CentredText(const QRect& room, const QFontMetrics& metrics, const QString& text) {
    QRect box(QPoint(0, 0), metrics.size(Qt::TextShowMnemonic, text));
    box.moveCenter(room.center());
    return Inked(box, metrics, text);
}

// Where a button draws its text: centred in the style's contents rectangle, or beside a check box's box.
QRect ButtonText(const QAbstractButton& button) {
    const QFontMetrics metrics(button.font());
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
        if (push->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        return CentredText(button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button),
                           metrics, button.text());
    }
    const QRect room = qobject_cast<const QCheckBox*>(&button) != nullptr
                           ? button.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &button)
                           : button.contentsRect();
    QRect text = CentredText(room, metrics, button.text());
    text.moveLeft(room.left());
    return text;
}

QRect GroupBoxTitle(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect room =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    // The style centres the title across its room and draws it from the room's top.
    const QFontMetrics metrics(box.font());
    QRect title(QPoint(0, 0), metrics.size(Qt::TextShowMnemonic, box.title()));
    title.moveCenter(room.center());
    title.moveTop(room.top());
    return Inked(title, metrics, box.title());
}

// A widget that paints over what lies beneath it; bare containers and links leave that to their children.
bool Paints(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return !label->text().isEmpty() || !label->pixmap().isNull() || label->autoFillBackground();
    }
    return widget.autoFillBackground() || (widget.metaObject() != &QWidget::staticMetaObject &&
                                           qobject_cast<const HyperLink*>(&widget) == nullptr);
}

void AddPainting(QWidget& widget, const QWidget& window, std::vector<QWidget*>& painting) {
    if (widget.isWindow() || !widget.isVisibleTo(&window)) {
        return;
    }
    if (Paints(widget)) {
        painting.push_back(&widget);
    }
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        AddPainting(*child, window, painting);
    }
}

// What is drawn after the widget: its children (but a list header's own viewport, where it draws), its later
// siblings and those of its parents, with theirs.
std::vector<QWidget*> DrawnOver(QWidget& widget, const QWidget& window) {
    std::vector<QWidget*> over;
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(&widget);
            area == nullptr || child != area->viewport()) {
            AddPainting(*child, window, over);
        }
    }
    for (QWidget* level = &widget; level != &window; level = level->parentWidget()) {
        const QObjectList& siblings = level->parentWidget()->children();
        for (qsizetype index = siblings.indexOf(level) + 1; index < siblings.size(); ++index) {
            if (auto* sibling = qobject_cast<QWidget*>(siblings[index])) {
                AddPainting(*sibling, window, over);
            }
        }
    }
    return over;
}

QImage Ink(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

bool IsInk(const QImage& image, QPoint at) {
    return image.rect().contains(at) && qGray(image.pixel(at)) < InkGrey;
}

// How well the label above covers the same letters as the one beneath: the share of their ink within the
// upper label that coincides, at the best of the one-pixel shifts.
double OverlayMatch(QWidget& beneath, QWidget& above, const QWidget& window) {
    const QImage under = Ink(beneath);
    const QImage over = Ink(above);
    const QPoint offset = above.mapTo(&window, QPoint(0, 0)) - beneath.mapTo(&window, QPoint(0, 0));
    double best = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int both = 0;
            int either = 0;
            for (int y = 0; y < over.height(); ++y) {
                for (int x = 0; x < over.width(); ++x) {
                    const bool upper = IsInk(over, {x, y});
                    const bool lower = IsInk(under, QPoint(x, y) + offset + QPoint(dx, dy));
                    both += upper && lower ? 1 : 0;
                    either += upper || lower ? 1 : 0;
                }
            }
            best = std::max(best, either > 0 ? double(both) / either : 0.0);
        }
    }
    return best;
}

double InkOf(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 8, metrics.height() + 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(4, 2 + metrics.ascent(), text);
    painter.end();
    double ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += (255 - qGray(image.pixel(x, y))) / 255.0;
        }
    }
    return ink;
}

class Checker {
public:
    Checker(QWidget& window, FitReport& report) : window_(window), report_(report) {}

    void Check(QWidget& widget) {
        if (auto* label = qobject_cast<QLabel*>(&widget); label != nullptr && IsPicture(*label)) {
            Picture(*label);
        } else if (label != nullptr && !label->text().isEmpty()) {
            Text(widget, QStringLiteral("text"), LabelText(*label));
            Bold(*label);
        } else if (auto* button = qobject_cast<QAbstractButton*>(&widget);
                   button != nullptr && !button->text().isEmpty()) {
            Text(widget, QStringLiteral("text"), ButtonText(*button));
        } else if (auto* box = qobject_cast<QGroupBox*>(&widget); box != nullptr && !box->title().isEmpty()) {
            Text(widget, QStringLiteral("caption"), GroupBoxTitle(*box));
        } else if (auto* header = qobject_cast<QHeaderView*>(&widget)) {
            Sections(*header);
        }
    }

private:
    // `text` is where the widget lays out its text, in its own coordinates.
    void Text(QWidget& widget, const QString& what, const QRect& text, const QRect& room = QRect()) {
        ++report_.Checked;
        const QRect needed = text.translated(widget.mapTo(&window_, QPoint(0, 0)));
        QRect has = VisiblePart(widget, window_);
        if (room.isValid()) {
            has &= room.translated(widget.mapTo(&window_, QPoint(0, 0)));
        }
        QString under;
        for (QWidget* over : DrawnOver(widget, window_)) {
            const QRect cover = VisiblePart(*over, window_);
            if (!cover.intersects(needed) || IsOverlay(widget, *over)) {
                continue;
            }
            has = Uncovered(has, needed, cover);
            under = QStringLiteral(", under ") + NameOf(*over);
        }
        if (!has.contains(needed)) {
            report_.Failures.append(
                QStringLiteral("%1 / %2: %3 needs %4, has %5%6")
                    .arg(report_.Window, NameOf(widget), what, RectText(needed), RectText(has), under));
        }
    }

    // The part of `has` left when `cover` is cut away on the side where it lies over the text.
    static QRect Uncovered(QRect has, const QRect& text, const QRect& cover) {
        if (cover.left() > text.left()) {
            has.setRight(std::min(has.right(), cover.left() - 1));
        } else if (cover.right() < text.right()) {
            has.setLeft(std::max(has.left(), cover.right() + 1));
        } else if (cover.top() > text.top()) {
            has.setBottom(std::min(has.bottom(), cover.top() - 1));
        } else {
            has.setTop(std::max(has.top(), cover.bottom() + 1));
        }
        return has;
    }

    bool IsOverlay(QWidget& beneath, QWidget& above) const {
        const auto* label = qobject_cast<const QLabel*>(&above);
        return label != nullptr && !label->text().isEmpty() && qobject_cast<QLabel*>(&beneath) != nullptr &&
               OverlayMatch(beneath, above, window_) >= OverlayInkMatch;
    }

    // The forms name their pictures img..., and the About window's banner Image1.
    static bool IsPicture(const QLabel& label) {
        return label.objectName().startsWith(QLatin1String("img")) ||
               label.objectName() == QLatin1String("Image1");
    }

    // A picture that could not be read (its image format missing from the Qt the program runs on) shows
    // nothing where the window has room for it.
    void Picture(const QLabel& label) {
        if (label.pixmap().isNull()) {
            report_.Failures.append(
                QStringLiteral("%1 / %2: shows no picture").arg(report_.Window, NameOf(label)));
        }
    }

    void Bold(const QLabel& label) {
        if (!label.font().bold()) {
            return;
        }
        QFont regular = label.font();
        regular.setBold(false);
        const double bold = InkOf(label.font(), label.text());
        const double plain = InkOf(regular, label.text());
        if (bold < BoldInkRatio * plain) {
            report_.Failures.append(
                QStringLiteral("%1 / %2: bold text draws %3 of ink, the regular weight %4")
                    .arg(report_.Window, NameOf(label))
                    .arg(qRound(bold))
                    .arg(qRound(plain)));
        }
    }

    void Sections(QHeaderView& header) {
        const QFontMetrics metrics(header.font());
        for (int section = 0; section < header.count(); ++section) {
            QStyleOptionHeader option;
            option.initFrom(&header);
            option.section = section;
            option.orientation = header.orientation();
            option.text = header.model()->headerData(section, header.orientation()).toString();
            option.rect = {header.sectionViewportPosition(section), 0, header.sectionSize(section),
                           header.height()};
            const QRect room = header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header);
            QRect text = CentredText(room, metrics, option.text);
            text.moveLeft(room.left());
            Text(header, QStringLiteral("header \"%1\"").arg(option.text), text, option.rect);
        }
    }

    QWidget& window_;
    FitReport& report_;
};

} // namespace

FitReport CheckFit(QWidget& window, const QString& windowName) {
    window.ensurePolished();
    // The list view places its header when its pending layout runs.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const qreal ratio = window.devicePixelRatioF();
    FitReport report{windowName, 0, window.size(), (QSizeF(window.size()) * ratio).toSize(), {}};
    Checker checker(window, report);
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isWindow() && widget->isVisibleTo(&window)) {
            checker.Check(*widget);
        }
    }
    return report;
}

QString FitReportText(const std::vector<FitReport>& reports) {
    QString text;
    for (const FitReport& report : reports) {
        text += QStringLiteral("%1: %2 texts checked, %3, %4 on the screen\n")
                    .arg(report.Window)
                    .arg(report.Checked)
                    .arg(SizeText(report.Size), SizeText(report.OnScreen));
        for (const QString& failure : report.Failures) {
            text += QStringLiteral("  ") + failure + QLatin1Char('\n');
        }
    }
    return text;
}
