#include "controls/ColourValue.h"
#include "controls/HandCursor.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"

#include <QFile>
#include <QFontInfo>
#include <QPixmap>
#include <QTest>

class ControlSupportTest final : public QObject {
    Q_OBJECT

private slots:
    void propertyBagKeysIgnoreCaseAndKeepFirstSpelling() {
        PropertyBag bag{{QStringLiteral("caption"), QStringLiteral("IE Search Fix")},
                        {QStringLiteral("_extentx"), 1746}};
        QVERIFY(bag.Keys().contains(QStringLiteral("CAPTION"), Qt::CaseInsensitive));
        QCOMPARE(bag.ReadProperty(QStringLiteral("Caption"), QString()).toString(),
                 QStringLiteral("IE Search Fix"));
        QCOMPARE(bag.ReadProperty(QStringLiteral("URL"), QStringLiteral("none")).toString(),
                 QStringLiteral("none"));

        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("About"));
        bag.WriteProperty(QStringLiteral("URL"), QString());
        QCOMPARE(bag.Keys(), (QStringList{"caption", "_extentx", "URL"}));
        QCOMPARE(bag.ReadProperty(QStringLiteral("CAPTION"), QString()).toString(), QStringLiteral("About"));
    }

    void propertyBagOmitsValuesEqualToTheirSaveDefault() {
        PropertyBag bag{{QStringLiteral("overrideclick"), qint16(-1)}};
        bag.WriteProperty(QStringLiteral("Underlined"), StoredBoolean(false), StoredBoolean(false));
        QVERIFY(!bag.Keys().contains(QStringLiteral("Underlined"), Qt::CaseInsensitive));

        bag.WriteProperty(QStringLiteral("OverrideClick"), StoredBoolean(false), StoredBoolean(false));
        QVERIFY(!bag.Keys().contains(QStringLiteral("overrideclick"), Qt::CaseInsensitive));

        bag.WriteProperty(QStringLiteral("BackColor"), quint32(0x00FFFFFF), quint32(0x8000000F));
        QCOMPARE(bag.ReadProperty(QStringLiteral("backcolor"), 0).toUInt(), 0x00FFFFFFu);
        bag.WriteProperty(QStringLiteral("Orientation"), qint32(0));
        QCOMPARE(bag.Keys(), (QStringList{"BackColor", "Orientation"}));
    }

    void colourValuesAreExplicitOrFollowThePalette() {
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(1, 2, 3));
        palette.setColor(QPalette::Dark, QColor(4, 5, 6));
        palette.setColor(QPalette::Light, QColor(7, 8, 9));
        QCOMPARE(ResolveColour(0x000080FF, palette), QColor(255, 128, 0));
        QCOMPARE(ResolveColour(ButtonFaceColour, palette), QColor(1, 2, 3));
        QCOMPARE(ResolveColour(ButtonShadowColour, palette), QColor(4, 5, 6));
        QCOMPARE(ResolveColour(ButtonHighlightColour, palette), QColor(7, 8, 9));
    }

    void tahomaIsRegisteredWhenWineProvidesIt() {
        const bool registered = RegisterTahoma();
        if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) && !registered) {
            QSKIP("Neither the system nor Wine has Tahoma here");
        }
        QVERIFY(registered);
        QCOMPARE(QFontInfo(TahomaFont()).family(), QStringLiteral("Tahoma"));
        QVERIFY(QFontInfo(TahomaFont(12, true)).bold());
        QCOMPARE(TahomaFont().pointSizeF(), 8.25);
    }

    void handPointerPointsWithItsIndexFinger() {
        const QCursor hand = HandCursor();
        QCOMPARE(hand.hotSpot(), QPoint(5, 0));
        const QImage picture = hand.pixmap().toImage();
        QCOMPARE(picture.size(), QSize(32, 32));
        QCOMPARE(qAlpha(picture.pixel(5, 0)), 255);
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(picture.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    }
};

QTEST_MAIN(ControlSupportTest)
#include "ControlSupportTest.moc"
