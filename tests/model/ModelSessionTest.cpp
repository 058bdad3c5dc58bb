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

#include <functional>
#include <map>
#include <random>

class ModelSessionTest final : public QObject {
    Q_OBJECT

    std::mt19937 random_;
    std::unique_ptr<MainWindowFixture> fixture_; // the folders, the first files and the store
    std::unique_ptr<frmMain> window_;
    // The model: the rows on screen, the rows last saved, the default list, the SearchUrl key, its shortcuts
    // (key name as the store keeps it, to URL) and whether the search fix was applied.
    std::vector<EngineRow> rows_, saved_, defaults_;
    bool searchUrl_ = false, fixed_ = false;
    std::map<std::string, std::string> shortcuts_;
    bool yes_ = false;   // the answer to the step's question, if it asks one
    QStringList titles_; // the boxes the step must bring up

    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(1, count)(random_);
    }
    void Click(const char* button) {
        QTest::mouseClick(FindControl<QPushButton>(*window_, button), Qt::LeftButton);
    }

    // A new window over the same files, as after the program was closed and started again: it shows every
    // saved engine, all checked.
    void Start() {
        window_ = std::make_unique<frmMain>(fixture_->Store(), fixture_->Shell());
        window_->Load();
        window_->show();
        window_->activateWindow();
        rows_ = saved_;
        std::ranges::for_each(rows_, [](EngineRow& row) { row.Checked = true; });
    }

    // Makes a random row the current one; its index.
    std::size_t PickRow() {
        const int index = static_cast<int>(Pick(rows_.size())) - 1;
        EngineListView(*window_)->setCurrentIndex(EngineListModelOf(*window_)->index(index, 0));
        return static_cast<std::size_t>(index);
    }

    // Opens the editor from the button, types an engine, presses Okay and expects row `index` to take it,
    // keeping its check box. A URL holding a TAB is refused with a box, and the editor is then cancelled.
    // Prefixes come from a small pool so that they repeat; "G" and "g\" name the key of "g".
    void UseEditor(const char* button, std::size_t index, bool withTab) {
        static const char* const Pool[] = {"g", "G", "g\\", "w", "W", "yt", "map", "éa"};
        const QString prefix = QString::fromUtf8(Pool[Pick(std::size(Pool)) - 1]);
        const QString url = QStringLiteral("https://%1.example/?v=%2&q=%s").arg(prefix).arg(Pick(1000));
        WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
            FindControl<QLineEdit>(*editor, "txtPrefix")->setText(prefix);
            FindControl<QLineEdit>(*editor, "txtURL")->setText(withTab ? url + "\tURL=x" : url);
            QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdOkay"), Qt::LeftButton);
            if (editor->isVisible()) {
                QTest::mouseClick(FindControl<QPushButton>(*editor, "cmdCancel"), Qt::LeftButton);
            }
        });
        Click(button);
        if (withTab) {
            titles_ = {QStringLiteral("Add New Search Engine")};
            return;
        }
        EngineRow row = MakeEngineRow(prefix.toStdString(), url.toStdString());
        row.Checked = index == rows_.size() || rows_[index].Checked;
        rows_.resize(std::max(rows_.size(), index + 1));
        rows_[index] = row;
        saved_ = rows_;
    }

    // Selects about a third of the rows and answers Remove Selected's question.
    void RemoveSelected() {
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
        std::map<QByteArray, std::string> names; // folded key to its name
        for (const EngineRow& row : rows_) {
            const std::string key = row.Text.substr(0, row.Text.size() - (row.Text.ends_with('\\') ? 1 : 0));
            if (row.Checked) {
                shortcuts_[names.try_emplace(QByteArray::fromStdString(key).toLower(), key).first->second] =
                    row.SubItem1;
            }
        }
    }

    struct Step {
        const char* Name;
        int Weight; // how often a user does it, relative to the others
        bool NeedsRows;
        std::function<void()> Take;
    };

    std::vector<Step> Steps() {
        const auto menu = [this](const char* item, bool (*checked)(bool)) {
            FindControl<QAction>(*window_, item)->trigger();
            std::ranges::for_each(rows_, [checked](EngineRow& row) { row.Checked = checked(row.Checked); });
        };
        return {
            {"add", 12, false, [this] { UseEditor("cmdAddSearchEngine", rows_.size(), false); }},
            {"add with a TAB", 2, false, [this] { UseEditor("cmdAddSearchEngine", rows_.size(), true); }},
            {"edit", 8, true, [this] { UseEditor("cmdEditSearchEngine", PickRow(), false); }},
            {"remove selected", 8, true, [this] { RemoveSelected(); }},
            // Space flips the current row's check box, as the keyboard user does it.
            {"check", 14, true,
             [this] {
                 EngineRow& row = rows_[PickRow()];
                 QTest::keyClick(EngineListView(*window_), Qt::Key_Space);
                 row.Checked = !row.Checked;
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
                 ReleaseOverLink(FindControl<HyperLink>(*window_, "lnkRestoreEngines"));
                 titles_ = {QStringLiteral("Restore Search Engines")};
                 if (yes_) {
                     rows_ = saved_ = defaults_;
                 }
             }},
            {"search fix", 3, false,
             [this] {
                 ReleaseOverLink(FindControl<HyperLink>(*window_, "lnkIESearchFix"));
                 titles_ = QStringList(yes_ ? 2 : 1, QStringLiteral("IE Search Fix"));
                 searchUrl_ = searchUrl_ || yes_;
                 fixed_ = fixed_ || yes_;
             }},
            {"restart", 4, false, [this] { Start(); }},
        };
    }

    void Play(const Step& step) {
        yes_ = Pick(4) > 1;
        titles_.clear();
        MessageBoxAnswerer answerer({yes_ ? QMessageBox::Yes : QMessageBox::No});
        step.Take();
        QStringList seen;
        for (const SeenBox& box : answerer.Seen) {
            seen << box.Title;
        }
        QCOMPARE(seen, titles_);
        std::vector<EngineRow> screen;
        for (std::size_t i = 1; i <= EngineListModelOf(*window_)->Count(); ++i) {
            screen.push_back(EngineListModelOf(*window_)->Row(i));
        }
        QCOMPARE(screen, rows_);
        std::string listFile;
        for (const EngineRow& row : saved_) {
            listFile += row.Tag + "\r\n";
        }
        QCOMPARE(fixture_->ListFile(), listFile);
        for (const char* button : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
            QCOMPARE(FindControl(*window_, button)->isEnabled(), !rows_.empty());
        }
        const auto store = fixture_->Store();
        const std::string searchUrl(SearchUrlKeyPath);
        QCOMPARE(store->KeyExists(RegRoot::CurrentUser, searchUrl), searchUrl_);
        std::map<std::string, std::string> shortcuts;
        for (const std::string& name : store->SubKeyNames(RegRoot::CurrentUser, searchUrl)) {
            shortcuts[name] =
                store->QueryValue(RegRoot::CurrentUser, searchUrl + name, "").value_or(RegValue{}).Data;
        }
        QCOMPARE(shortcuts, shortcuts_);
        const char* const main = "Software\\Microsoft\\Internet Explorer\\Main";
        QCOMPARE(store->QueryValue(RegRoot::CurrentUser, main, "Search Page").has_value(), fixed_);
    }

private slots:
    void initTestCase() { RegisterTahoma(); }

    void sessionsMatchTheModel() {
        const int count = qEnvironmentVariableIsSet("VANTREL_MODEL_STEPS")
                              ? qEnvironmentVariableIntValue("VANTREL_MODEL_STEPS")
                              : 75;
        const std::vector<Step> steps = Steps();
        std::vector<int> weights;
        std::ranges::transform(steps, std::back_inserter(weights), &Step::Weight);
        std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
        const auto row = [](const char* prefix) {
            return MakeEngineRow(prefix, "http://" + std::string(prefix) + ".example/?q=%s");
        };
        for (const unsigned seed : {1u, 2u, 3u, 20261206u}) {
            random_.seed(seed);
            window_.reset();
            fixture_ = std::make_unique<MainWindowFixture>(Engines{"g", "w"});
            fixture_->Window().hide();
            saved_ = {row("g"), row("w")};
            defaults_ = {row("x"), row("y"), row("z")};
            searchUrl_ = fixed_ = false;
            shortcuts_.clear();
            Start();
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
                return;
            }
        }
    }
};

QTEST_MAIN(ModelSessionTest)
#include "ModelSessionTest.moc"
