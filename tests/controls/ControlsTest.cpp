#include "controls/HyperLink.h"
#include "platform/AppPaths.h"
#include "support/RecordingShell.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A shown window holding one link loaded from `bag`, its keys spelt as the windows spell theirs.
struct PlacedLink {
    QWidget Form;
    HyperLink* Link = new HyperLink(&Form);
    QLabel* Text = Link->findChild<QLabel*>();
    RecordingShell Shell;

    explicit PlacedLink(const PropertyBag& bag) {
        Link->SetShell(&Shell);
        Link->ReadProperties(bag);
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
    }
};

} // namespace

class ControlsTest final : public QObject {
    Q_OBJECT

private slots:
    // Every release over the text raises MouseUp with its button, keys and place; a left one first opens the
    // address, {app} standing for the program's folder, unless the window overrides the click.
    void releasesRaiseMouseUpAndALeftClickOpens() {
        AppFolder = std::string("/opt") + PathSeparator;
        const QString url = QStringLiteral("{app}%1ReadMe.txt").arg(QLatin1Char(PathSeparator));
        const ShellOpenRequest readMe{AppFolder + "ReadMe.txt", "", 0, 1, "", false};
        const std::tuple<bool, Qt::MouseButton, Qt::KeyboardModifiers, qint16, qint16> cases[] = {
            {false, Qt::LeftButton, Qt::NoModifier, 1, 0},
            {true, Qt::LeftButton, Qt::ShiftModifier, 1, 1},
            {false, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, 2, 3},
            {false, Qt::MiddleButton, Qt::AltModifier, 4, 4}};
        for (const auto& [overridden, button, keys, code, shift] : cases) {
            PlacedLink placed(
                {{QStringLiteral("url"), url}, {QStringLiteral("overrideclick"), StoredBoolean(overridden)}});
            QSignalSpy releases(placed.Link, &HyperLink::MouseUp);
            std::size_t openedFirst = 2;
            connect(placed.Link, &HyperLink::MouseUp, this,
                    [&] { openedFirst = placed.Shell.Opened.size(); });
            QTest::mouseClick(placed.Text, button, keys, QPoint(7, 4));
            QCOMPARE(releases.size(), 1);
            QCOMPARE(releases[0], (QList<QVariant>{code, shift, 7.0f, 4.0f}));
            const bool opens = button == Qt::LeftButton && !overridden;
            QCOMPARE(openedFirst, std::size_t(opens));
            QVERIFY(placed.Shell.Opened == std::vector<ShellOpenRequest>(opens, readMe));
        }
    }

    // The pointer over the text underlines it until a check, every MouseOutCheckDelay milliseconds, finds
    // the pointer off the control: its first column is off, its last one on. No delay, no check.
    void hoverLastsUntilThePointerLeaves() {
        for (const qint32 delay : {20, 0}) {
            PlacedLink placed({{QStringLiteral("mouseoutcheckdelay"), delay}});
            const QPoint last(placed.Link->width() - 1, placed.Link->height() - 1);
            for (const auto& [at, underlined] : {std::pair{QPoint(5, 5), true}, std::pair{last, true},
                                                 std::pair{QPoint(0, 5), delay == 0}}) {
                QCursor::setPos(placed.Link->mapToGlobal(at));
                QTest::qWait(5 * 20);
                QCOMPARE(placed.Text->font().underline(), underlined);
            }
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
