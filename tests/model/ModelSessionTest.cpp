// Random user sessions, seeded, played through the real main window, its editor and its message boxes: after
// every step the rows on screen, the list file, the buttons and the store are compared with a plain model.
#include "controls/TahomaFont.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "registry/modCore.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QLineEdit>

#include <functional>
#include <map>
#include <random>
#include <ranges>

// A shortcut's key as the store tells keys apart: one trailing backslash dropped, ASCII letters folded.
static QByteArray Key(std::string name) {
    name.resize(name.size() - (name.ends_with('\\') ? 1 : 0));
    return QByteArray::fromStdString(name).toLower();
}

class ModelSessionTest final : public QObject {
    Q_OBJECT

    struct Step {
        const char* Name;
        int Weight;            // how often a user does it, relative to the others
        bool NeedsRows, OnYes; // OnYes: the model moves on only when the step's question is answered Yes
        const char* Control;   // what the user presses, if anything
        std::function<void()> Prepare; // readies the window for the press and moves the model on
    };

    std::mt19937 random_;
    std::unique_ptr<MainWindowFixture> fixture_; // the folders and the first files
    std::unique_ptr<frmMain> window_;
    bool yes_ = false; // the answer to the step's question, if it asks one
    // The model: the rows on screen, the rows last saved, the default list, and the store.
    std::vector<EngineRow> rows_, saved_, defaults_;
    struct {
        bool Fixed = false;     // the search fix was applied
        bool SearchUrl = false; // the key exists
        std::map<QByteArray, std::string> Shortcuts = {};
    } store_;

    std::size_t Pick(std::size_t count) { return random_() % count + 1; }

    // A new window over the files, as after a restart: every saved engine, all checked.
    void Start() {
        window_ = std::make_unique<frmMain>(fixture_->Store(), fixture_->Shell());
        window_->Load();
        window_->show();
        rows_ = saved_;
        SetChecks(true);
    }

    // Releases over the link, presses Space in the list, or clicks the button or menu item.
    void Press(const char* name) {
        auto* control = window_->findChild<QObject*>(QLatin1String(name));
        if (auto* link = qobject_cast<HyperLink*>(control)) {
            ReleaseOverLink(link);
        } else if (auto* list = qobject_cast<QTreeView*>(control)) {
            QTest::keyClick(list, Qt::Key_Space);
        } else {
            QMetaObject::invokeMethod(control, control->inherits("QAction") ? "trigger" : "click");
        }
    }

    // Makes a random row the current one; its index.
    std::size_t PickRow() {
        const std::size_t index = Pick(rows_.size()) - 1;
        EngineListView(*window_)->setCurrentIndex(
            EngineListModelOf(*window_)->index(static_cast<int>(index), 0));
        return index;
    }

    // The editor takes an engine on Okay into row `index`, keeping its check box; a TAB in the URL is
    // refused, and the editor is then cancelled. The prefixes repeat, in case and trailing backslash too.
    void UseEditor(std::size_t index, bool withTab) {
        static const char* const Pool[] = {"g", "G", "g\\", "w", "W", "yt", "map", "éa"};
        const QString prefix = QString::fromUtf8(Pool[Pick(std::size(Pool)) - 1]);
        const QString url = QStringLiteral("https://%1.example/?v=%2&q=%s").arg(prefix).arg(Pick(1000));
        WhenShown<frmAddEngine>([prefix, url, withTab](frmAddEngine* editor) {
            FindControl<QLineEdit>(*editor, "txtPrefix")->setText(prefix);
            FindControl<QLineEdit>(*editor, "txtURL")->setText(withTab ? url + "\tURL=x" : url);
            QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdOkay"), Qt::LeftButton);
            if (editor->isVisible()) {
                QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdCancel"), Qt::LeftButton);
            }
        });
        if (!withTab) {
            EngineRow& row = index < rows_.size() ? rows_[index] : rows_.emplace_back();
            row.Checked = std::exchange(row, MakeEngineRow(prefix.toStdString(), url.toStdString())).Checked;
            saved_ = rows_;
        }
    }

    // Selects about a third of the rows, which a Yes removes.
    void SelectForRemoval() {
        QItemSelectionModel* selection = EngineListView(*window_)->selectionModel();
        selection->clearSelection();
        std::vector<EngineRow> kept;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (Pick(3) > 1) {
                kept.push_back(rows_[i]);
            } else {
                selection->select(EngineListModelOf(*window_)->index(static_cast<int>(i), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
        if (yes_) {
            rows_ = saved_ = kept;
        }
    }

    // Sets every row's check box, or inverts them all.
    void SetChecks(std::optional<bool> checked) {
        std::ranges::for_each(rows_,
                              [checked](EngineRow& row) { row.Checked = checked.value_or(!row.Checked); });
    }

    // Install clears the SearchUrl key and writes the checked rows, the last of a key giving its URL: an
    // unchecked row takes away no key that a checked row writes.
    void Install() {
        store_ = {store_.Fixed, true};
        for (const EngineRow& row : std::views::filter(rows_, &EngineRow::Checked)) {
            store_.Shortcuts[Key(row.Text)] = row.SubItem1;
        }
    }

    void Play(const Step& step) {
        yes_ = Pick(4) > 1;
        MessageBoxAnswerer answerer({yes_ ? QMessageBox::Yes : QMessageBox::No});
        if (yes_ || !step.OnYes) {
            step.Prepare();
        }
        if (step.Control != nullptr) {
            Press(step.Control);
        }
        const EngineListModel& screen = *EngineListModelOf(*window_);
        QCOMPARE(screen.Count(), rows_.size());
        std::string listFile;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            QCOMPARE(screen.Row(i + 1), rows_[i]);
        }
        for (const EngineRow& row : saved_) {
            listFile += row.Tag + "\r\n";
        }
        QCOMPARE(fixture_->ListFile(), listFile);
        QCOMPARE(FindControl(*window_, "cmdInstallShortcuts")->isEnabled(), !rows_.empty());
        constexpr RegRoot User = RegRoot::CurrentUser;
        const auto store = fixture_->Store();
        const std::string searchUrl(SearchUrlKeyPath);
        std::map<QByteArray, std::string> shortcuts;
        for (const std::string& name : store->SubKeyNames(User, searchUrl)) {
            shortcuts[Key(name)] = store->QueryValue(User, searchUrl + name, "")->Data;
        }
        QCOMPARE(store->KeyExists(User, searchUrl), store_.SearchUrl);
        QCOMPARE(shortcuts, store_.Shortcuts);
        const char* const main = "Software\\Microsoft\\Internet Explorer\\Main";
        QCOMPARE(store->QueryValue(User, main, "Search Page").has_value(), store_.Fixed);
    }

private slots:
    void initTestCase() { RegisterTahoma(); }

    // VANTREL_MODEL_STEPS sets the steps per seed.
    void sessionsMatchTheModel() {
        const std::vector<Step> steps = {
            {"add", 12, false, false, "cmdAddSearchEngine", [this] { UseEditor(rows_.size(), false); }},
            {"add with a TAB", 2, false, false, "cmdAddSearchEngine",
             [this] { UseEditor(rows_.size(), true); }},
            {"edit", 8, true, false, "cmdEditSearchEngine", [this] { UseEditor(PickRow(), false); }},
            {"remove selected", 8, true, false, "cmdRemoveSearchEngine", [this] { SelectForRemoval(); }},
            {"check", 14, true, false, "lvwEngines", [this] { rows_[PickRow()].Checked ^= true; }},
            {"select all", 4, false, false, "mSELECTALL", [this] { SetChecks(true); }},
            {"select none", 3, false, false, "mSELECTNONE", [this] { SetChecks(false); }},
            {"invert", 4, false, false, "mSELECTINVERT", [this] { SetChecks(std::nullopt); }},
            {"install", 8, true, false, "cmdInstallShortcuts", [this] { Install(); }},
            {"remove", 4, false, false, "cmdRemoveShortcuts", [this] { store_ = {store_.Fixed}; }},
            {"restore", 3, false, true, "lnkRestoreEngines", [this] { rows_ = saved_ = defaults_; }},
            {"search fix", 3, false, true, "lnkIESearchFix",
             [this] { store_.Fixed = store_.SearchUrl = true; }},
            {"restart", 4, false, false, nullptr, [this] { Start(); }},
        };
        const auto weights = steps | std::views::transform(&Step::Weight);
        std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
        const int count = qEnvironmentVariableIntValue("VANTREL_MODEL_STEPS");
        const auto row = [](const char* prefix) {
            return MakeEngineRow(prefix, "http://" + std::string(prefix) + ".example/?q=%s");
        };
        for (const unsigned seed : {1u, 2u, 3u, 20261206u}) {
            random_.seed(seed);
            window_.reset();
            fixture_ = std::make_unique<MainWindowFixture>(Engines{"g", "w"});
            saved_ = {row("g"), row("w")};
            defaults_ = {row("x"), row("y"), row("z")};
            store_ = {};
            Start();
            int step = 0;
            while (step++ < (count > 0 ? count : 75) && !QTest::currentTestFailed()) {
                const Step& chosen = steps[choose(random_)];
                Play(chosen.NeedsRows && rows_.empty() ? steps.front() : chosen); // an empty list gets a row
            }
            QVERIFY2(!QTest::currentTestFailed(),
                     qPrintable(QStringLiteral("seed %1, step %2").arg(seed).arg(step - 1)));
        }
    }
};

QTEST_MAIN(ModelSessionTest)
#include "ModelSessionTest.moc"
