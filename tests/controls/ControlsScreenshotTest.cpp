#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/TahomaFont.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <memory>

// Draws a window holding links and both kinds of rule into the build folder, for people to look at.
class ControlsScreenshotTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void windowWithLinksAndRules() {
        auto form = std::make_unique<QWidget>();
        form->setFont(TahomaFont());
        form->resize(320, 140);
        auto* searchFix = new HyperLink(form.get());
        searchFix->move(16, 16);
        searchFix->ReadProperties(PropertyBag{{QStringLiteral("caption"), QStringLiteral("IE Search Fix")},
                                              {QStringLiteral("overrideclick"), qint16(-1)},
                                              {QStringLiteral("hilightcolour"), quint32(0x00AF0000)}});
        auto* restore = new HyperLink(form.get());
        restore->move(16, 64);
        restore->ReadProperties(PropertyBag{{QStringLiteral("caption"), QStringLiteral("Restore Engines")},
                                            {QStringLiteral("underlined"), qint16(-1)}});
        auto* across = new MultiRule(form.get());
        across->setGeometry(8, 40, 304, 8);
        across->ReadProperties(PropertyBag());
        auto* down = new MultiRule(form.get());
        down->setGeometry(160, 56, 8, 72);
        down->ReadProperties(PropertyBag());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        const QImage shot = form->grab().toImage();
        QVERIFY(QDir().mkpath(QStringLiteral(VANTREL_SCREENSHOT_FOLDER)));
        QVERIFY(shot.save(QStringLiteral(VANTREL_SCREENSHOT_FOLDER "/controls.png")));
        const QRgb shadow = ResolveColour(ButtonShadowColour, form->palette()).rgb();
        QCOMPARE(shot.pixel(100, 40), shadow);
        QCOMPARE(shot.pixel(160, 100), shadow);
        QCOMPARE(searchFix->Caption(), QStringLiteral("IE Search Fix"));
    }
};

QTEST_MAIN(ControlsScreenshotTest)
#include "ControlsScreenshotTest.moc"
