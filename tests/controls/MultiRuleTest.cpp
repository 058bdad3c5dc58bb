#include "controls/MultiRule.h"
#include "controls/ColourValue.h"
#include "support/ScopedPalette.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A shown window holding one rule placed the way a window loads it: geometry first, then its property set.
struct PlacedRule {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    MultiRule* Rule = new MultiRule(Window.get());

    PlacedRule(const QSize& size, const PropertyBag& bag) {
        Window->resize(400, 200);
        Rule->setGeometry(QRect(QPoint(10, 10), size));
        Rule->ReadProperties(bag);
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }
};

// Which of the rule's three colours each pixel from `from` towards `step` has: 's', 'h', 'f', or '?'.
QString Trace(const QImage& image, const QWidget& rule, QPoint from, QPoint step, int count) {
    const auto rgb = [&rule](ColourValue value) { return ResolveColour(value, rule.palette()).rgb(); };
    QString trace;
    for (int index = 0; index < count; ++index, from += step) {
        const QRgb colour = image.pixel(from);
        trace += colour == rgb(ButtonShadowColour)      ? 's'
                 : colour == rgb(ButtonHighlightColour) ? 'h'
                 : colour == rgb(ButtonFaceColour)      ? 'f'
                                                        : '?';
    }
    return trace;
}

QString Row(const QImage& image, const QWidget& rule, int y) {
    return Trace(image, rule, QPoint(0, y), QPoint(1, 0), image.width());
}
QString Column(const QImage& image, const QWidget& rule, int x) {
    return Trace(image, rule, QPoint(x, 0), QPoint(0, 1), image.height());
}

} // namespace

class MultiRuleTest final : public QObject {
    Q_OBJECT

private slots:
    void automaticOrientationFollowsTheShape() {
        PlacedRule wide(QSize(283, 8), PropertyBag{{QStringLiteral("_extentx"), 7488}});
        QCOMPARE(wide.Rule->LoLite(), (RuleLine{0, 0, 4245, 0}));
        QCOMPARE(wide.Rule->HiLite(), (RuleLine{0, 20, 4245, 20}));
        const QImage across = wide.Rule->grab().toImage();
        QCOMPARE(Row(across, *wide.Rule, 0), QString(283, 's'));
        QCOMPARE(Row(across, *wide.Rule, 1), QString(283, 'h'));
        QCOMPARE(Row(across, *wide.Rule, 2), QString(283, 'f'));

        PlacedRule tall(QSize(8, 25), PropertyBag());
        QCOMPARE(tall.Rule->LoLite(), (RuleLine{2, 45, 2, 375}));
        QCOMPARE(tall.Rule->HiLite(), (RuleLine{20, 30, 20, 375}));
        const QImage down = tall.Rule->grab().toImage();
        QCOMPARE(Column(down, *tall.Rule, 0), "fff" + QString(22, 's'));
        QCOMPARE(Column(down, *tall.Rule, 1), "ff" + QString(23, 'h'));
        QCOMPARE(Column(down, *tall.Rule, 2), QString(25, 'f'));

        PlacedRule square(QSize(20, 20), PropertyBag());
        QCOMPARE(square.Rule->HiLite(), (RuleLine{20, 30, 20, 300}));
    }

    void endPointsRememberTheOtherLayout() {
        PlacedRule rule(QSize(8, 25), PropertyBag());
        rule.Rule->SetOrientation(MultiRule::OrientationHorizontal);
        QCOMPARE(rule.Rule->LoLite(), (RuleLine{2, 0, 120, 0}));
        rule.Rule->SetOrientation(MultiRule::OrientationVertical);
        QCOMPARE(rule.Rule->LoLite(), (RuleLine{2, 0, 2, 375}));
        QCOMPARE(Column(rule.Rule->grab().toImage(), *rule.Rule, 0), QString(25, 's'));

        rule.Rule->SetOrientation(MultiRule::OrientationHorizontal);
        QCOMPARE(Row(rule.Rule->grab().toImage(), *rule.Rule, 0), QString(8, 's'));

        rule.Rule->resize(30, 40);
        QCOMPARE(rule.Rule->HiLite(), (RuleLine{0, 20, 450, 20}));
    }

    void unknownOrientationLeavesTheDesignLines() {
        PlacedRule rule(QSize(300, 10), PropertyBag{{QStringLiteral("orientation"), 3}});
        QCOMPARE(rule.Rule->LoLite(), (RuleLine{0, 45, 4200, 45}));
        QCOMPARE(rule.Rule->HiLite(), (RuleLine{0, 60, 4200, 60}));
        const QImage image = rule.Rule->grab().toImage();
        QCOMPARE(Row(image, *rule.Rule, 3), QString(280, 's') + QString(20, 'f'));
        QCOMPARE(Row(image, *rule.Rule, 4), QString(280, 'h') + QString(20, 'f'));
        QCOMPARE(Row(image, *rule.Rule, 0), QString(300, 'f'));

        PropertyBag saved;
        rule.Rule->WriteProperties(saved);
        QCOMPARE(saved.ReadProperty(QStringLiteral("Orientation"), 0).toInt(), 3);
    }

    void loadingAndSettingNotifyTheHost() {
        auto window = std::make_unique<QWidget>();
        auto* rule = new MultiRule(window.get());
        QSignalSpy changes(rule, &MultiRule::PropertyChanged);
        rule->setGeometry(0, 0, 100, 8);
        PropertyBag bag{{QStringLiteral("_extentx"), 2646}, {QStringLiteral("_extenty"), 212}};
        rule->ReadProperties(bag);
        QCOMPARE(rule->Orientation(), MultiRule::OrientationAuto);
        rule->SetOrientation(MultiRule::OrientationAuto);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.at(1).at(0).toString(), QStringLiteral("Orientation"));

        rule->WriteProperties(bag);
        QCOMPARE(bag.Keys(), (QStringList{"_extentx", "_extenty", "Orientation"}));
        QCOMPARE(bag.ReadProperty(QStringLiteral("orientation"), -1).toInt(), 0);
    }

    void coloursFollowThePalette() {
        PlacedRule rule(QSize(50, 8), PropertyBag());
        const QImage image = [&rule] {
            const ScopedPalette changed(
                {{QPalette::Dark, QColor(200, 0, 0)}, {QPalette::Light, QColor(0, 200, 0)}});
            return rule.Rule->grab().toImage();
        }();
        QCOMPARE(image.pixelColor(10, 0), QColor(200, 0, 0));
        QCOMPARE(image.pixelColor(10, 1), QColor(0, 200, 0));
    }

    void linesStaySharpAtAnyDensity() {
        PlacedRule rule(QSize(40, 8), PropertyBag());
        const auto render = [&rule](qreal ratio) {
            QImage image(QSize(40, 8) * ratio, QImage::Format_ARGB32);
            image.setDevicePixelRatio(ratio);
            rule.Rule->render(&image);
            return image;
        };
        const QImage twice = render(2.0);
        QCOMPARE(Column(twice, *rule.Rule, 5), "sshh" + QString(12, 'f'));
        QCOMPARE(Row(twice, *rule.Rule, 1), QString(80, 's'));
        const QImage half = render(1.5);
        QCOMPARE(Column(half, *rule.Rule, 7), "ssh" + QString(9, 'f'));
        QCOMPARE(Row(half, *rule.Rule, 2), QString(60, 'h'));
    }
};

QTEST_MAIN(MultiRuleTest)
#include "MultiRuleTest.moc"
