// Random user sessions, seeded, played through the real main window, its editor and its message boxes: after
// every step the rows on screen, the list file, the buttons and the store are compared with a plain model.
#include "forms/frmAddEngine/frmAddEngine.h"
#include "registry/modCore.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QMenu>

#include <functional>
#include <map>
#include <random>
#include <ranges>

class ModelSessionTest final : public QObject {
    Q_OBJECT

    struct Step {
        int Weight;                    // how often a user does it, relative to the others
        bool NeedsRows, OnYes;         // OnYes: the model moves on only when the question is answered Yes
        const char* Control;           // what the user presses, if anything
        std::function<void()> Prepare; // readies the window for the press and moves the model on
    };

    std::mt19937 random_;
    std::unique_ptr<MainWindowFixture> fixture_;       // the folders, the files and the window
    std::unique_ptr<QAbstractItemModelTester> tester_; // holds the list model to Qt's model contract
    bool yes_ = false;                                 // the answer to the step's question, if it asks one
    // The model: rows on screen, rows last saved, the default list, the store's shortcuts by key, the fix.
    std::vector<EngineRow> rows_, saved_, defaults_;
    std::map<QByteArray, std::string> shortcuts_;
    bool fixed_ = false;

    std::size_t Pick(std::size_t count) { return random_() % count; }

    // A restart: every saved engine, all checked, the focus on Install, or on an empty list.
    void Start() {
        tester_.reset();
        fixture_->Restart();
        tester_ = std::make_unique<QAbstractItemModelTester>(
            fixture_->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        rows_ = saved_;
        SetChecks(true);
        QTRY_COMPARE(QApplication::focusWidget(),
                     fixture_->Find(rows_.empty() ? "lvwEngines" : "cmdInstallShortcuts"));
    }

    // Presses Space in the list, picks the item from the Selection Mode menu, or clicks the button or link.
    void Press(const char* name) {
        QObject* control = fixture_->Find<QObject>(name);
        if (auto* list = qobject_cast<QTreeView*>(control)) {
            QTest::keyClick(list, Qt::Key_Space);
        } else if (auto* item = qobject_cast<QAction*>(control)) {
            QTimer::singleShot(0, [item] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu->actions().contains(item)) {
                    menu->setActiveAction(item);
                    QTest::keyClick(menu, Qt::Key_Return);
                }
                menu->close(); // an item not in the menu is not picked
            });
            Click(fixture_->Find("cmdSelectionMode"));
        } else {
            Click(qobject_cast<QWidget*>(control));
        }
    }

    std::size_t PickRow() {
        const int index = static_cast<int>(Pick(rows_.size()));
        fixture_->List()->setCurrentIndex(fixture_->Model()->index(index, 0));
        return static_cast<std::size_t>(index);
    }

    // The editor takes an engine into row `index` on Okay, keeping its check box, but refuses a TAB in the
    // URL and is then cancelled. The prefixes repeat, in case and trailing backslash too.
    void UseEditor(std::size_t index, bool withTab) {
        static const char* const Pool[] = {"g", "G", "g\\", "w", "W", "yt", "map", "éa"};
        const QString prefix = QString::fromUtf8(Pool[Pick(std::size(Pool))]);
        const QString url = QStringLiteral("https://%1.example/?v=%2&q=%s").arg(prefix).arg(Pick(1000));
        WhenShown<frmAddEngine>([prefix, url, withTab](frmAddEngine* editor) {
            FindControl<QLineEdit>(*editor, "txtPrefix")->setText(prefix);
            FindControl<QLineEdit>(*editor, "txtURL")->setText(withTab ? url + "\tURL=x" : url);
            Click(FindControl(*editor, "cmdOkay"));
            if (editor->isVisible()) {
                Click(FindControl(*editor, "cmdCancel"));
            }
        });
        if (!withTab) {
            EngineRow& row = index < rows_.size() ? rows_[index] : rows_.emplace_back();
            row.Checked = std::exchange(row, MakeEngineRow(prefix.toStdString(), url.toStdString())).Checked;
            saved_ = rows_;
        }
    }

    // Selects a run of rows, from a random one down with Shift+Down; a Yes removes them.
    void SelectForRemoval() {
        const std::size_t first = PickRow(), end = first + 1 + Pick(rows_.size() - first);
        for (std::size_t row = first + 1; row < end; ++row) {
            QTest::keyClick(fixture_->List(), Qt::Key_Down, Qt::ShiftModifier);
        }
        if (yes_) {
            rows_.erase(rows_.begin() + first, rows_.begin() + end);
            saved_ = rows_;
        }
    }

    void SetChecks(std::optional<bool> checked) {
        std::ranges::for_each(rows_,
                              [checked](EngineRow& row) { row.Checked = checked.value_or(!row.Checked); });
    }

    // Install rewrites the SearchUrl key from the checked rows, the last of a key (one trailing backslash
    // dropped, ASCII case folded) giving its URL: an unchecked row removes no key a checked row writes.
    void Install() {
        shortcuts_.clear();
        for (const EngineRow& row : std::views::filter(rows_, &EngineRow::Checked)) {
            const std::string key = row.Text.substr(0, row.Text.size() - (row.Text.ends_with('\\') ? 1 : 0));
            shortcuts_[QByteArray::fromStdString(key).toLower()] = row.SubItem1;
        }
    }

    void Play(const Step& step) {
        yes_ = Pick(4) > 0;
        MessageBoxAnswerer answerer({yes_ ? QMessageBox::Yes : QMessageBox::No});
        if (yes_ || !step.OnYes) {
            step.Prepare();
        }
        if (step.Control != nullptr) {
            Press(step.Control);
        }
        const EngineListModel& screen = *fixture_->Model();
        QCOMPARE(screen.Count(), rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            QCOMPARE(screen.Row(i + 1), rows_[i]);
        }
        std::string listFile;
        for (const EngineRow& row : saved_) {
            listFile += row.Tag + "\r\n";
        }
        QCOMPARE(fixture_->ListFile(), listFile);
        for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
            QVERIFY2(fixture_->Find(name)->isEnabled() == !rows_.empty(), name);
        }
        const auto store = OpenUserRegistry();
        const std::string searchUrl(SearchUrlKeyPath);
        std::map<QByteArray, std::string> shortcuts;
        for (const std::string& name : store->SubKeyNames(RegRoot::CurrentUser, searchUrl)) {
            shortcuts[QByteArray::fromStdString(name).toLower()] =
                store->QueryValue(RegRoot::CurrentUser, searchUrl + name, "")->Data;
        }
        QCOMPARE(shortcuts, shortcuts_);
        const char* const main = "Software\\Microsoft\\Internet Explorer\\Main";
        QCOMPARE(store->QueryValue(RegRoot::CurrentUser, main, "Search Page").has_value(), fixed_);
    }

private slots:
    void sessionsMatchTheModel() {
        const std::vector<Step> steps = {
            {12, false, false, "cmdAddSearchEngine", [this] { UseEditor(rows_.size(), false); }},
            {2, false, false, "cmdAddSearchEngine", [this] { UseEditor(rows_.size(), true); }},
            {8, true, false, "cmdEditSearchEngine", [this] { UseEditor(PickRow(), false); }},
            {8, true, false, "cmdRemoveSearchEngine", [this] { SelectForRemoval(); }},
            {14, true, false, "lvwEngines", [this] { rows_[PickRow()].Checked ^= true; }},
            {4, false, false, "mSELECTALL", [this] { SetChecks(true); }},
            {3, false, false, "mSELECTNONE", [this] { SetChecks(false); }},
            {4, false, false, "mSELECTINVERT", [this] { SetChecks(std::nullopt); }},
            {8, true, false, "cmdInstallShortcuts", [this] { Install(); }},
            {4, false, false, "cmdRemoveShortcuts", [this] { shortcuts_.clear(); }},
            {3, false, true, "lnkRestoreEngines", [this] { rows_ = saved_ = defaults_; }},
            {3, false, true, "lnkIESearchFix", [this] { fixed_ = true; }},
            {4, false, false, nullptr, [this] { Start(); }}, // restart
        };
        const auto weights = steps | std::views::transform(&Step::Weight);
        std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
        const int count = qEnvironmentVariableIntValue("VANTREL_MODEL_STEPS"); // steps per seed if set
        defaults_ = {MakeEngineRow("x", "http://x.example/?q=%s"),
                     MakeEngineRow("y", "http://y.example/?q=%s"),
                     MakeEngineRow("z", "http://z.example/?q=%s")};
        for (const unsigned seed : {1u, 2u, 3u, 20261206u}) {
            random_.seed(seed);
            fixture_ = std::make_unique<MainWindowFixture>(Engines{});
            saved_.clear();
            shortcuts_.clear();
            fixed_ = false;
            Start();
            int step = 0;
            while (step++ < (count > 0 ? count : 75) && !QTest::currentTestFailed()) {
                const Step& chosen = steps[choose(random_)];
                Play(chosen.NeedsRows && rows_.empty() ? steps.front() : chosen); // an empty list gets a row
            }
            QVERIFY2(!QTest::currentTestFailed(),
                     qPrintable(QString("seed %1 step %2").arg(seed).arg(step - 1)));
        }
    }
};

QTEST_MAIN(ModelSessionTest)
#include "ModelSessionTest.moc"
