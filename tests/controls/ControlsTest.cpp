#include "controls/HyperLink.h"
#include "platform/AppPaths.h"
#include "support/RecordingShell.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A shown window holding one link, loaded from keys spelt as the windows spell theirs.
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
    // A release raises MouseUp with its codes; a left one opens {app}'s address first, unless overridden.
    void releasesRaiseMouseUpAndALeftClickOpens() {
        AppFolder = std::string("/opt") + PathSeparator;
        const ShellOpenRequest readMe{AppFolder + "ReadMe.txt", "", 0, 1, "", false};
        const std::tuple<bool, Qt::MouseButton, Qt::KeyboardModifiers, qint16, qint16, bool> cases[] = {
            {false, Qt::LeftButton, Qt::NoModifier, 1, 0, true},
            {true, Qt::LeftButton, Qt::ShiftModifier, 1, 1, false},
            {false, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, 2, 3, false},
            {false, Qt::MiddleButton, Qt::AltModifier, 4, 4, false}};
        for (const auto& [overridden, button, keys, code, shift, opens] : cases) {
            PlacedLink placed(
                {{QStringLiteral("url"), QStringLiteral("{app}%1ReadMe.txt").arg(PathSeparator)},
                 {QStringLiteral("overrideclick"), StoredBoolean(overridden)}});
            QSignalSpy releases(placed.Link, &HyperLink::MouseUp);
            int opened = -1; // by the time of MouseUp
            connect(placed.Link, &HyperLink::MouseUp, this,
                    [&] { opened = int(placed.Shell.Opened.size()); });
            QTest::mouseClick(placed.Text, button, keys, QPoint(7, 4));
            QCOMPARE(releases, (QList<QList<QVariant>>{{code, shift, 7.0f, 4.0f}}));
            QCOMPARE(opened, int(opens));
            QVERIFY(placed.Shell.Opened == std::vector<ShellOpenRequest>(opens, readMe));
        }
        // Dragged off the text before the release: nothing.
        PlacedLink placed({{QStringLiteral("url"), QStringLiteral("x")}});
        QSignalSpy releases(placed.Link, &HyperLink::MouseUp);
        QTest::mousePress(placed.Text, Qt::LeftButton, {}, QPoint(7, 4));
        QTest::mouseRelease(placed.Text, Qt::LeftButton, {}, QPoint(placed.Text->width() + 3, 4));
        QVERIFY(releases.isEmpty() && placed.Shell.Opened.empty());
    }

    // Hovering underlines the text until the pointer is off the link: on its first column, not its last.
    void hoverLastsUntilThePointerLeaves() {
        PlacedLink placed({{QStringLiteral("mouseoutcheckdelay"), 20}});
        const QPoint last(placed.Link->width() - 1, placed.Link->height() - 1);
        for (const auto& [at, underlined] :
             {std::pair{QPoint(5, 5), true}, std::pair{last, true}, std::pair{QPoint(0, 5), false}}) {
            QCursor::setPos(placed.Link->mapToGlobal(at));
            QTest::qWait(100);
            QTRY_COMPARE(placed.Text->font().underline(), underlined);
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
