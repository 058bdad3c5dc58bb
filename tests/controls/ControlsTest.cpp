#include "controls/ColourValue.h"
#include "controls/HandCursor.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "platform/AppPaths.h"
#include "support/RecordingShell.h"
#include "support/ScopedPalette.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>
#include <utility>

namespace {

constexpr qint32 Delay = 20;
constexpr ColourValue Blue = 0x00FF0000;
constexpr ColourValue DarkBlue = 0x00AF0000;

// A shown top-level window holding one link placed the way a window loads it: position first, then its set.
template <typename Window = QWidget> struct PlacedLink {
    std::unique_ptr<Window> Form = std::make_unique<Window>();
    HyperLink* Link = new HyperLink(Form.get());
    QLabel* Label = Link->findChild<QLabel*>(QStringLiteral("labLink"));
    QTimer* Timer = Link->findChild<QTimer*>(QStringLiteral("tmrMouseOut"));
    RecordingShell Shell;

    explicit PlacedLink(const PropertyBag& bag) {
        Form->setGeometry(100, 100, 300, 120);
        Link->setGeometry(20, 30, 66, 12);
        Link->SetShell(&Shell);
        Link->ReadProperties(bag);
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }

    QRgb TextColour() const { return Label->palette().color(QPalette::WindowText).rgb(); }
    bool Underlined() const { return Label->font().underline(); }
    QRect GlobalRect() const { return QRect(Link->mapToGlobal(QPoint(0, 0)), Link->size()); }

    // Puts the pointer over the label's text, which moves the mouse there for real (from elsewhere: the
    // pointer does not move when it is already where it is sent).
    void Hover() const {
        QCursor::setPos(0, 0);
        QCursor::setPos(Label->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::processEvents();
    }
    void PointAt(const QPoint& global) const {
        QCursor::setPos(global);
        QCoreApplication::processEvents();
    }
    // Lets the mouse-out check tick a few times.
    static void Settle() { QTest::qWait(Delay * 5); }
};

QRgb Rgb(ColourValue value) {
    return ResolveColour(value, QApplication::palette()).rgb();
}

PropertyBag LinkSet(std::initializer_list<std::pair<QString, QVariant>> extra = {}) {
    PropertyBag bag{{QStringLiteral("caption"), QStringLiteral("IE Search Fix")},
                    {QStringLiteral("url"), QStringLiteral("https://example.org/")},
                    {QStringLiteral("tooltiptext"), QStringLiteral("Sets the search settings back")},
                    {QStringLiteral("hilightcolour"), DarkBlue},
                    {QStringLiteral("mouseoutcheckdelay"), Delay},
                    {QStringLiteral("_extentx"), 1746},
                    {QStringLiteral("_extenty"), 318}};
    for (const auto& [key, value] : extra) {
        bag.WriteProperty(key, value);
    }
    return bag;
}

// A shell that notes whether the link's window was still shown when the address was opened.
struct WatchingShell final : Shell {
    explicit WatchingShell(const QWidget& form) : Form(form) {}
    void Open(const ShellOpenRequest&) override { ShownWhenOpened.push_back(Form.isVisible()); }
    const QWidget& Form;
    std::vector<bool> ShownWhenOpened;
};

} // namespace

// Draws a window holding links and both kinds of rule into the build folder, for people to look at.

class ControlsTest final : public QObject {
    Q_OBJECT

private slots:
    void missingKeysLoadTheirDefaultsAndSavingOmitsDefaultsInItsOwnOrder() {
        HyperLink link;
        link.ReadProperties(PropertyBag());
        QCOMPARE(link.Caption(), QStringLiteral("Ruxo HyperLink"));
        QCOMPARE(link.HilightColour(), ColourValue(0x00FFFFFF));
        QCOMPARE(link.LinkColour(), Blue);
        QCOMPARE(link.BackColor(), ButtonFaceColour);
        QCOMPARE(link.MouseOutCheckDelay(), 50);
        QVERIFY(link.UnderlinedHilight());
        QVERIFY(!link.OverrideClick() && !link.MinimiseOnClick() && !link.CloseOnClick() &&
                !link.Underlined());

        PropertyBag saved;
        link.WriteProperties(saved);
        QCOMPARE(saved.Keys(), (QStringList{"Caption", "URL", "ToolTipText"}));

        HyperLink fresh;
        fresh.InitProperties();
        PropertyBag placed;
        fresh.WriteProperties(placed);
        QCOMPARE(placed.Keys(), (QStringList{"Caption", "URL", "ToolTipText", "HilightColour"}));
        QCOMPARE(placed.ReadProperty(QStringLiteral("hilightcolour"), 0).toUInt(), DarkBlue);

        // The host's own keys keep their spelling and place; a value back at its default leaves the set.
        PropertyBag host = LinkSet({{QStringLiteral("overrideclick"), qint16(-1)}});
        link.ReadProperties(host);
        link.SetOverrideClick(false);
        link.SetMinimiseOnClick(true);
        link.SetCloseOnClick(true);
        link.SetUnderlined(true);
        link.SetUnderlinedHilight(false);
        link.SetBackColor(0x00FFFFFF);
        link.SetLinkColour(0x00000080);
        link.WriteProperties(host);
        QCOMPARE(host.Keys(),
                 (QStringList{"caption", "url", "tooltiptext", "hilightcolour", "mouseoutcheckdelay",
                              "_extentx", "_extenty", "MinimiseOnClick", "CloseOnClick", "BackColor",
                              "LinkColour", "Underlined", "UnderlinedHilight"}));
        QCOMPARE(host.ReadProperty(QStringLiteral("UnderlinedHilight"), 1).toInt(), 0);
        QCOMPARE(host.ReadProperty(QStringLiteral("Underlined"), 0).toInt(), -1);
    }

    // The pointer on the control's last row and column is inside; one past them, or on its first row or
    // column, is outside.
    void hoverLastsUntilTheCheckFindsThePointerOutsideTheStrictEdges() {
        PlacedLink placed(LinkSet());
        const QRect rect = placed.GlobalRect();
        QCOMPARE(placed.TextColour(), Rgb(Blue));
        placed.Hover();
        QVERIFY(placed.Underlined() && placed.Timer->isActive());
        for (const QPoint& inside : {rect.topLeft() + QPoint(1, 5), rect.bottomRight()}) {
            placed.PointAt(inside);
            placed.Settle();
            QCOMPARE(placed.TextColour(), Rgb(DarkBlue));
        }
        for (const QPoint& edge :
             {QPoint(rect.left(), rect.top() + 5), QPoint(rect.left() + 5, rect.top()),
              QPoint(rect.right() + 1, rect.top() + 5), QPoint(rect.left() + 5, rect.bottom() + 1),
              rect.bottomRight() + QPoint(30, 30)}) {
            placed.Hover();
            QCOMPARE(placed.TextColour(), Rgb(DarkBlue));
            placed.PointAt(edge);
            QTRY_COMPARE(placed.TextColour(), Rgb(Blue));
            QVERIFY(!placed.Underlined() && !placed.Timer->isActive());
        }
    }

    void zeroDelayNeverChecks() {
        PlacedLink placed(LinkSet({{QStringLiteral("MouseOutCheckDelay"), 0}}));
        placed.Hover();
        QCOMPARE(placed.TextColour(), Rgb(DarkBlue));
        QVERIFY(!placed.Timer->isActive());
        placed.PointAt(placed.GlobalRect().bottomRight() + QPoint(30, 30));
        placed.Settle();
        QCOMPARE(placed.TextColour(), Rgb(DarkBlue));

        placed.Hover();
        QTest::mouseClick(placed.Label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(placed.TextColour(), Rgb(Blue));
        QCOMPARE(placed.Shell.Opened.size(), 1u);
        placed.PointAt(placed.Label->mapToGlobal(QPoint(8, 6)));
        QCOMPARE(placed.TextColour(), Rgb(Blue));
        QVERIFY(placed.Underlined());
    }

    // Other buttons only raise MouseUp; a left click opens the address before it, unless overridden.
    void onlyALeftClickOpensTheAddressUnlessOverridden() {
        PlacedLink placed(LinkSet());
        QSignalSpy releases(placed.Link, &HyperLink::MouseUp);
        std::size_t openedAtMouseUp = 0;
        connect(placed.Link, &HyperLink::MouseUp, this,
                [&] { openedAtMouseUp = placed.Shell.Opened.size(); });
        placed.Hover();
        QTest::mouseClick(placed.Label, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                          QPoint(7, 4));
        QTest::mouseClick(placed.Label, Qt::MiddleButton, Qt::AltModifier, QPoint(3, 2));
        QCOMPARE(releases.count(), 2);
        QCOMPARE(releases.at(0), (QList<QVariant>{qint16(2), qint16(3), 7.0f, 4.0f}));
        QCOMPARE(releases.at(1), (QList<QVariant>{qint16(4), qint16(4), 3.0f, 2.0f}));
        QCOMPARE(placed.TextColour(), Rgb(DarkBlue));
        QVERIFY(placed.Underlined() && placed.Shell.Opened.empty());

        QTest::mouseClick(placed.Label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(openedAtMouseUp, 1u);
        QCOMPARE(placed.Shell.Opened.front(),
                 (ShellOpenRequest{"https://example.org/", "", 0, 1, "", false}));
        QCOMPARE(placed.TextColour(), Rgb(Blue));
        QVERIFY(!placed.Underlined() && placed.Timer->isActive());

        PlacedLink overridden(LinkSet({{QStringLiteral("OverrideClick"), qint16(-1)}}));
        QSignalSpy overriddenReleases(overridden.Link, &HyperLink::MouseUp);
        overridden.Hover();
        QTest::mouseClick(overridden.Label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(overriddenReleases.count(), 1);
        QCOMPARE(overriddenReleases.at(0).at(0).value<qint16>(), qint16(1));
        QCOMPARE(overridden.TextColour(), Rgb(Blue));
        QVERIFY(!overridden.Underlined() && overridden.Shell.Opened.empty());
    }

    void appTokenBecomesTheProgramFolder() {
        const std::string saved = AppFolder;
        const QString separator(QChar::fromLatin1(PathSeparator));
        const QString url = "{app}" + separator + "ReadMe.txt {APP}";
        for (const QString& folder : {separator + "opt" + separator + "tools" + separator, separator}) {
            AppFolder = folder.toStdString();
            PlacedLink placed(LinkSet({{QStringLiteral("url"), url}}));
            QSignalSpy changes(placed.Link, &HyperLink::PropertyChanged);
            QTest::mouseClick(placed.Label, Qt::LeftButton, {}, QPoint(5, 5));
            const QString opened = folder + "ReadMe.txt {APP}";
            QCOMPARE(QString::fromStdString(placed.Shell.Opened.at(0).File), opened);
            QCOMPARE(placed.Link->URL(), opened);
            QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("URL"));
        }
        AppFolder = saved;
    }

    // Closing wins over minimising, and happens after the address is opened but before MouseUp.
    void minimisesOnlyAWindowThatCanBeMinimisedAndClosesAfterOpening() {
        const std::pair<QString, QVariant> minimise{QStringLiteral("MinimiseOnClick"), qint16(-1)};
        PlacedLink minimising(LinkSet({minimise}));
        PlacedLink<QDialog> dialog(LinkSet({minimise}));
        PlacedLink closing(LinkSet({minimise, {QStringLiteral("CloseOnClick"), qint16(-1)}}));
        WatchingShell shell(*closing.Form);
        closing.Link->SetShell(&shell);
        bool shownAtMouseUp = true;
        connect(closing.Link, &HyperLink::MouseUp, this, [&] { shownAtMouseUp = closing.Form->isVisible(); });
        for (QLabel* label : {minimising.Label, dialog.Label, closing.Label}) {
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        }
        QVERIFY(minimising.Form->isMinimized());
        QVERIFY(!dialog.Form->isMinimized());
        QCOMPARE(minimising.Shell.Opened.size() + dialog.Shell.Opened.size(), 2u);
        QCOMPARE(shell.ShownWhenOpened, std::vector<bool>{true});
        QVERIFY(!shownAtMouseUp);
        QVERIFY(!closing.Form->isMinimized());
    }

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

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
