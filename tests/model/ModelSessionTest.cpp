// Random user sessions, seeded, played through the real main window, its editor and its message boxes: after
// every step the rows on screen, the list file, the buttons and the store are compared with a plain model.
// VANTREL_MODEL_STEPS sets the steps per seed.
#include "controls/TahomaFont.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "registry/modCore.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <map>
#include <random>
#include <ranges>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;

// The rows of a list file written by MainWindowFixture.
std::vector<EngineRow> FixtureRows(const Engines& prefixes) {
    std::vector<EngineRow> rows;
    for (const std::string& prefix : prefixes) {
        rows.push_back(MakeEngineRow(prefix, "http://" + prefix + ".example/?q=%s"));
    }
    return rows;
}

std::string ListBytes(const std::vector<EngineRow>& rows) {
    std::string bytes;
    for (const EngineRow& row : rows) {
        bytes += row.Tag + "\r\n";
    }
    return bytes;
}

} // namespace

class ModelSessionTest final : public QObject {
    Q_OBJECT

    struct Step {
        const char* Name;
        int Weight; // how often a user does it, relative to the others
        bool NeedsRows;
        std::function<void()> Take;
    };

    std::mt19937 random_;
    std::unique_ptr<MainWindowFixture> fixture_;
    std::unique_ptr<frmMain> restarted_;
    frmMain* window_ = nullptr;
    // The model: the rows on screen, the rows last saved, the default list, the SearchUrl key, its shortcuts
    // (key name as the store spells it, to URL) and whether the search fix was applied.
    std::vector<EngineRow> rows_, saved_, defaults_;
    bool searchUrl_ = false, fixed_ = false;
    std::map<std::string, std::string> shortcuts_;
    bool yes_ = false;   // the answer to the step's question, if it asks one
    QStringList titles_; // the boxes the step brings up

    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(1, count)(random_);
    }
    template <class Control = QWidget> Control* Find(const char* name) {
        return FindControl<Control>(*window_, name);
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    // Reading the list file gives every saved engine again, all checked.
    void Reload() {
        rows_ = saved_;
        for (EngineRow& row : rows_) {
            row.Checked = true;
        }
    }

    // Makes a random row the current one; its index.
    std::size_t PickRow() {
        const std::size_t index = Pick(rows_.size()) - 1;
        EngineListView(*window_)->setCurrentIndex(
            EngineListModelOf(*window_)->index(static_cast<int>(index), 0));
        return index;
    }

    // Opens the editor from the button, types an engine and presses Okay; a URL holding a TAB is refused
    // with a box, and the editor is then cancelled. Prefixes come from a small pool so that they repeat;
    // "G" and "g\" name the key of "g". Returns the engine typed.
    EngineRow UseEditor(const char* button, bool withTab) {
        static const char* const Pool[] = {"g", "G", "g\\", "w", "yt", "map", "news", "wiki", "éa"};
        const QString prefix = QString::fromUtf8(Pool[Pick(std::size(Pool)) - 1]);
        const QString url = QStringLiteral("https://%1.example/?v=%2&q=%s").arg(prefix).arg(Pick(1000));
        WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
            auto* txtPrefix = FindControl<QLineEdit>(*editor, "txtPrefix");
            txtPrefix->selectAll();
            // The keyboard helper types ASCII only; other text goes in as a paste.
            if (std::ranges::all_of(prefix, [](QChar c) { return c.unicode() < 0x80; })) {
                QTest::keyClicks(txtPrefix, prefix);
            } else {
                txtPrefix->insert(prefix);
            }
            FindControl<QLineEdit>(*editor, "txtURL")->setText(withTab ? url + "\tURL=x" : url);
            QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdOkay"), Qt::LeftButton);
            if (editor->isVisible()) {
                QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdCancel"), Qt::LeftButton);
            }
        });
        Click(button);
        return MakeEngineRow(prefix.toStdString(), url.toStdString());
    }

    // Selects about a third of the rows and answers Remove Selected's question.
    void RemoveSelected() {
        std::vector<EngineRow> kept;
        std::vector<int> selected;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (Pick(3) == 1) {
                selected.push_back(static_cast<int>(i) + 1);
            } else {
                kept.push_back(rows_[i]);
            }
        }
        EngineListView(*window_)->selectionModel()->clearSelection();
        for (const int position : selected) {
            EngineListView(*window_)->selectionModel()->select(
                EngineListModelOf(*window_)->index(position - 1, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        Click("cmdRemoveSearchEngine");
        titles_ = {QStringLiteral("Remove Selected Engines")};
        if (yes_) {
            rows_ = saved_ = kept;
        }
    }

    // Install clears the SearchUrl key and writes the checked rows in order: a key takes the name of its
    // first row and the URL of its last. An unchecked row whose key (one trailing backslash dropped, ASCII
    // case folded) is a checked row's takes nothing away.
    void Install() {
        Click("cmdInstallShortcuts");
        if (rows_.empty()) {
            return;
        }
        titles_ = {QStringLiteral("InstallEngines()")};
        searchUrl_ = true;
        shortcuts_.clear();
        std::map<std::string, std::string> names; // folded key to its name
        for (const EngineRow& row : std::views::filter(rows_, &EngineRow::Checked)) {
            const std::string key = row.Text.substr(0, row.Text.size() - (row.Text.ends_with('\\') ? 1 : 0));
            std::string folded = key;
            std::ranges::replace_if(
                folded, [](char& c) { return c >= 'A' && c <= 'Z' && (c += 'a' - 'A'); }, 0);
            shortcuts_[names.try_emplace(folded, key).first->second] = row.SubItem1;
        }
    }

    void Restart() {
        window_->hide();
        restarted_ = std::make_unique<frmMain>(fixture_->Store(), fixture_->Shell());
        window_ = restarted_.get();
        window_->Load();
        window_->show();
        window_->activateWindow();
        Reload();
    }

    std::vector<Step> Steps() {
        const auto menu = [this](const char* item, bool (*checked)(bool)) {
            Find<QAction>(item)->trigger();
            for (EngineRow& row : rows_) {
                row.Checked = checked(row.Checked);
            }
        };
        return {
            {"add", 12, false,
             [this] { rows_.push_back(UseEditor("cmdAddSearchEngine", false)), saved_ = rows_; }},
            {"add with a TAB", 2, false,
             [this] {
                 UseEditor("cmdAddSearchEngine", true);
                 titles_ = {QStringLiteral("Add New Search Engine")};
             }},
            {"edit", 8, true,
             [this] {
                 const std::size_t index = PickRow();
                 const bool checked = rows_[index].Checked;
                 rows_[index] = UseEditor("cmdEditSearchEngine", false);
                 rows_[index].Checked = checked;
                 saved_ = rows_;
             }},
            {"remove selected", 8, true, [this] { RemoveSelected(); }},
            // Space flips the current row's check box, as the keyboard user does it.
            {"check", 14, true,
             [this] {
                 const std::size_t index = PickRow();
                 QTest::keyClick(EngineListView(*window_), Qt::Key_Space);
                 rows_[index].Checked = !rows_[index].Checked;
             }},
            {"select all", 4, false, [menu] { menu("mSELECTALL", [](bool) { return true; }); }},
            {"select none", 3, false, [menu] { menu("mSELECTNONE", [](bool) { return false; }); }},
            {"invert", 4, false, [menu] { menu("mSELECTINVERT", [](bool checked) { return !checked; }); }},
            {"install", 8, false, [this] { Install(); }},
            {"remove", 4, false,
             [this] {
                 Click("cmdRemoveShortcuts");
                 titles_ = {QStringLiteral("Remove Shortcuts")};
                 searchUrl_ = false;
                 shortcuts_.clear();
             }},
            {"restore", 3, false,
             [this] {
                 ReleaseOverLink(Find<HyperLink>("lnkRestoreEngines"));
                 titles_ = {QStringLiteral("Restore Search Engines")};
                 if (yes_) {
                     saved_ = defaults_;
                     Reload();
                 }
             }},
            {"search fix", 3, false,
             [this] {
                 ReleaseOverLink(Find<HyperLink>("lnkIESearchFix"));
                 titles_ = QStringList(yes_ ? 2 : 1, QStringLiteral("IE Search Fix"));
                 searchUrl_ = searchUrl_ || yes_;
                 fixed_ = fixed_ || yes_;
             }},
            {"restart", 4, false, [this] { Restart(); }},
        };
    }

private slots:
    void initTestCase() { RegisterTahoma(); }

    void sessionsMatchTheModel_data() {
        QTest::addColumn<unsigned>("seed");
        for (const unsigned seed : {1u, 2u, 3u, 20261206u}) {
            QTest::addRow("seed %u", seed) << seed;
        }
    }

    void sessionsMatchTheModel() {
        QFETCH(unsigned, seed);
        random_.seed(seed);
        fixture_ = std::make_unique<MainWindowFixture>(Engines{"g", "w"});
        window_ = &fixture_->Window();
        saved_ = FixtureRows({"g", "w"});
        defaults_ = FixtureRows({"x", "y", "z"});
        searchUrl_ = fixed_ = false;
        shortcuts_.clear();
        Reload();
        const std::vector<Step> steps = Steps();
        std::vector<int> weights;
        for (const Step& step : steps) {
            weights.push_back(step.Weight);
        }
        std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
        const int count = qEnvironmentVariableIsSet("VANTREL_MODEL_STEPS")
                              ? qEnvironmentVariableIntValue("VANTREL_MODEL_STEPS")
                              : 75;
        QStringList taken;
        for (int i = 0; i < count && !QTest::currentTestFailed(); ++i) {
            const Step* step = &steps[choose(random_)];
            while (step->NeedsRows && rows_.empty()) {
                step = &steps[choose(random_)];
            }
            taken << QString::fromLatin1(step->Name);
            Play(*step);
        }
        if (QTest::currentTestFailed()) {
            qWarning().noquote() << "seed" << seed << "failed after:" << taken.join(", ");
        }
        restarted_.reset();
        fixture_.reset();
    }

private:
    void Play(const Step& step) {
        yes_ = Pick(4) > 1;
        titles_.clear();
        {
            MessageBoxAnswerer answerer({yes_ ? QMessageBox::Yes : QMessageBox::No});
            step.Take();
            QStringList seen;
            for (const SeenBox& box : answerer.Seen) {
                seen << box.Title;
            }
            QCOMPARE(seen, titles_);
        }
        std::vector<EngineRow> screen;
        for (std::size_t i = 1; i <= EngineListModelOf(*window_)->Count(); ++i) {
            screen.push_back(EngineListModelOf(*window_)->Row(i));
        }
        QCOMPARE(screen, rows_);
        QCOMPARE(fixture_->ListFile(), ListBytes(saved_));
        for (const char* button : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
            QCOMPARE(Find(button)->isEnabled(), !rows_.empty());
        }
        const auto store = fixture_->Store();
        const std::string searchUrl(SearchUrlKeyPath);
        QCOMPARE(store->KeyExists(User, searchUrl), searchUrl_);
        std::map<std::string, std::string> shortcuts;
        for (const std::string& name : store->SubKeyNames(User, searchUrl)) {
            shortcuts[name] = store->QueryValue(User, searchUrl + name, "").value_or(RegValue{}).Data;
        }
        QCOMPARE(shortcuts, shortcuts_);
        QCOMPARE(store->QueryValue(User, "Software\\Microsoft\\Internet Explorer\\Main", "Search Page")
                     .has_value(),
                 fixed_);
    }
};

QTEST_MAIN(ModelSessionTest)
#include "ModelSessionTest.moc"
