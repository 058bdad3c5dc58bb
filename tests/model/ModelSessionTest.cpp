// Random user sessions, seeded, driven through the real main window, its editor and its message boxes:
// after every step the rows on screen, the list file and the store are compared with a plain model of what
// they must hold. VANTREL_MODEL_STEPS sets the steps per seed (longer runs by hand).
#include "SessionModel.h"
#include "SessionWindow.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "support/MessageBoxAnswerer.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "registry/modCore.h"
#include "support/ReleaseOverLink.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <random>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;

std::string ListBytes(const std::vector<EngineRow>& rows) {
    std::string bytes;
    for (const EngineRow& row : rows) {
        bytes += row.Tag + "\r\n";
    }
    return bytes;
}

std::vector<EngineRow> ScreenRows(EngineListModel& model) {
    std::vector<EngineRow> rows;
    for (std::size_t i = 1; i <= model.Count(); ++i) {
        rows.push_back(model.Row(i));
    }
    return rows;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes).ok() ? bytes : std::string("(missing)");
}

QStringList Titles(const MessageBoxAnswerer& answerer) {
    QStringList titles;
    for (const SeenBox& box : answerer.Seen) {
        titles << box.Title;
    }
    return titles;
}

// Types the text as a person would; text that the keyboard helper cannot type goes in as a paste.
void TypeOrPaste(QLineEdit* box, const QString& text) {
    if (std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x80; })) {
        QTest::keyClicks(box, text);
    } else {
        box->insert(text);
    }
}

} // namespace

class ModelSessionTest final : public QObject {
    Q_OBJECT

private:
    std::mt19937 random_;
    std::unique_ptr<SessionWindow> window_;
    SessionModel model_;

    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(1, count)(random_);
    }
    bool Chance(int percent) { return std::uniform_int_distribution<int>(1, 100)(random_) <= percent; }
    bool HasRows() const { return !model_.Rows.empty(); }

    // A short prefix from a small pool, so that prefixes repeat as they do in real lists.
    std::string Prefix() {
        static const char* const Pool[] = {"g",    "w",    "yt",   "map",  "dict",
                                           "news", "code", "shop", "wiki", "éa"};
        return Pool[Pick(std::size(Pool)) - 1];
    }
    std::string Url(const std::string& prefix) {
        return "https://" + prefix + ".example/find?v=" + std::to_string(Pick(1000)) + "&q=%s";
    }

    // Opens the editor from `button`, types the engine and presses Okay; a text holding a TAB is refused
    // with a box and the editor is then cancelled.
    void UseEditor(const char* button, const std::string& prefix, const std::string& url, bool refused) {
        MessageBoxAnswerer answerer;
        QString caption;
        WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
            caption = editor->windowTitle();
            auto* txtPrefix = editor->findChild<QLineEdit*>(QStringLiteral("txtPrefix"));
            auto* txtURL = editor->findChild<QLineEdit*>(QStringLiteral("txtURL"));
            txtPrefix->selectAll();
            TypeOrPaste(txtPrefix, QString::fromStdString(prefix));
            txtURL->clear();
            txtURL->insert(QString::fromStdString(url));
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("cmdOkay")), Qt::LeftButton);
            if (editor->isVisible()) {
                QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                                  Qt::LeftButton);
            }
        });
        QTest::mouseClick(window_->Find<QPushButton>(button), Qt::LeftButton);
        QCOMPARE(Titles(answerer), refused ? QStringList{caption} : QStringList{});
    }

    void AddEngine(bool withTab) {
        const std::string prefix = Prefix();
        const std::string url = withTab ? Url(prefix) + "\tURL=x" : Url(prefix);
        UseEditor("cmdAddSearchEngine", prefix, url, withTab);
        if (!withTab) {
            model_.Add(prefix, url);
        }
    }
    void Add() { AddEngine(false); }
    void AddWithTab() { AddEngine(true); }

    // Makes a random row the current one; its 1-based position.
    std::size_t PickCurrentRow() {
        const std::size_t position = Pick(model_.Rows.size());
        window_->List()->setCurrentIndex(window_->Model()->index(static_cast<int>(position) - 1, 0));
        return position;
    }

    void Edit() {
        const std::size_t position = PickCurrentRow();
        const std::string prefix = Prefix();
        const std::string url = Url(prefix);
        UseEditor("cmdEditSearchEngine", prefix, url, false);
        model_.Edit(position, prefix, url);
    }

    void RemoveSelected() {
        std::vector<std::size_t> selected;
        auto* selection = window_->List()->selectionModel();
        selection->clearSelection();
        for (std::size_t i = 1; i <= model_.Rows.size(); ++i) {
            if (Chance(30)) {
                selected.push_back(i);
                selection->select(window_->Model()->index(static_cast<int>(i) - 1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
        const bool yes = Chance(75);
        MessageBoxAnswerer answerer({yes ? QMessageBox::Yes : QMessageBox::No});
        QTest::mouseClick(window_->Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        QCOMPARE(Titles(answerer), QStringList{QStringLiteral("Remove Selected Engines")});
        if (yes) {
            model_.RemoveSelected(selected);
        }
    }

    // Space on the current row flips its check box, as the keyboard user does it.
    void Check() {
        const std::size_t position = PickCurrentRow();
        QTest::keyClick(window_->List(), Qt::Key_Space);
        model_.Rows[position - 1].Checked = !model_.Rows[position - 1].Checked;
    }

    // Sets every row's check box from its old state, on screen through the menu item and in the model.
    void ChooseFromMenu(const char* item, bool (*checked)(bool)) {
        for (EngineRow& row : model_.Rows) {
            row.Checked = checked(row.Checked);
        }
        window_->Find<QAction>(item)->trigger();
    }
    void SelectAll() {
        ChooseFromMenu("mSELECTALL", [](bool) { return true; });
    }
    void SelectNone() {
        ChooseFromMenu("mSELECTNONE", [](bool) { return false; });
    }
    void SelectInvert() {
        ChooseFromMenu("mSELECTINVERT", [](bool checked) { return !checked; });
    }

    void Install() {
        MessageBoxAnswerer answerer;
        QTest::mouseClick(window_->Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
        if (!HasRows()) {
            QCOMPARE(answerer.Seen.size(), 0);
            return;
        }
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Text, QStringLiteral("%1 of %2 shortcuts have been installed.")
                                            .arg(model_.CheckedCount())
                                            .arg(model_.Rows.size()));
        model_.Install();
    }

    void RemoveShortcuts() {
        MessageBoxAnswerer answerer;
        QTest::mouseClick(window_->Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
        QCOMPARE(Titles(answerer), QStringList{QStringLiteral("Remove Shortcuts")});
        QCOMPARE(answerer.Seen[0].Icon, QMessageBox::Information);
        model_.RemoveShortcuts();
    }

    // A link that asks first, answered Yes or No; on Yes the model takes `apply`.
    void AskThroughLink(const char* link, const QStringList& titlesOnYes, void (SessionModel::*apply)()) {
        const bool yes = Chance(70);
        MessageBoxAnswerer answerer({yes ? QMessageBox::Yes : QMessageBox::No});
        ReleaseOverLink(window_->Find<HyperLink>(link));
        QCOMPARE(Titles(answerer), yes ? titlesOnYes : titlesOnYes.mid(0, 1));
        if (yes) {
            (model_.*apply)();
        }
    }
    void Restore() {
        AskThroughLink("lnkRestoreEngines", {QStringLiteral("Restore Search Engines")},
                       &SessionModel::Restore);
    }
    void SearchFix() {
        AskThroughLink("lnkIESearchFix", {QStringLiteral("IE Search Fix"), QStringLiteral("IE Search Fix")},
                       &SessionModel::ApplyFix);
    }

    void Restart() {
        window_->Restart();
        model_.Reload();
    }

    struct Step {
        const char* Name;
        int Weight; // how often a user does it, relative to the others
        bool NeedsRows;
        void (ModelSessionTest::*Take)();
    };

    const Step& Choose() {
        static const Step Steps[] = {{"add", 12, false, &ModelSessionTest::Add},
                                     {"add with a TAB", 2, false, &ModelSessionTest::AddWithTab},
                                     {"edit", 8, true, &ModelSessionTest::Edit},
                                     {"remove selected", 8, true, &ModelSessionTest::RemoveSelected},
                                     {"check", 14, true, &ModelSessionTest::Check},
                                     {"select all", 4, false, &ModelSessionTest::SelectAll},
                                     {"select none", 3, false, &ModelSessionTest::SelectNone},
                                     {"invert", 4, false, &ModelSessionTest::SelectInvert},
                                     {"install", 8, false, &ModelSessionTest::Install},
                                     {"remove", 4, false, &ModelSessionTest::RemoveShortcuts},
                                     {"restore", 3, false, &ModelSessionTest::Restore},
                                     {"search fix", 3, false, &ModelSessionTest::SearchFix},
                                     {"restart", 4, false, &ModelSessionTest::Restart}};
        std::vector<int> weights;
        for (const Step& step : Steps) {
            weights.push_back(step.Weight);
        }
        std::discrete_distribution<std::size_t> choice(weights.begin(), weights.end());
        for (;;) {
            const Step& step = Steps[choice(random_)];
            if (!step.NeedsRows || HasRows()) {
                return step;
            }
        }
    }

    void CompareWithModel() {
        QCOMPARE(ScreenRows(*window_->Model()), model_.Rows);
        QCOMPARE(FileBytes(EngineFile), ListBytes(model_.Saved));
        QCOMPARE(window_->Find("cmdInstallShortcuts")->isEnabled(), HasRows());
        const auto store = OpenUserRegistry();
        const std::string searchUrl(SearchUrlKeyPath);
        QCOMPARE(store->KeyExists(User, searchUrl), model_.SearchUrlExists);
        std::map<std::string, std::string> shortcuts;
        for (const std::string& name : store->SubKeyNames(User, searchUrl)) {
            shortcuts[name] = store->QueryValue(User, searchUrl + name, "").value_or(RegValue{}).Data;
        }
        QCOMPARE(shortcuts, model_.Shortcuts);
        QCOMPARE(store->QueryValue(User, "Software\\Microsoft\\Internet Explorer\\Main", "Search Page")
                     .has_value(),
                 model_.FixApplied);
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
        const int steps = qEnvironmentVariableIsSet("VANTREL_MODEL_STEPS")
                              ? qEnvironmentVariableIntValue("VANTREL_MODEL_STEPS")
                              : 75;
        random_.seed(seed);
        const std::vector<EngineRow> defaults = {MakeEngineRow("g", "https://g.example/?q=%s"),
                                                 MakeEngineRow("w", "https://w.example/wiki/%s")};
        model_ = SessionModel{};
        model_.Defaults = defaults;
        model_.Restore();
        window_ = std::make_unique<SessionWindow>(ListBytes(defaults));
        QStringList taken;
        for (int i = 0; i < steps; ++i) {
            const Step& step = Choose();
            taken << QString::fromLatin1(step.Name);
            (this->*step.Take)();
            if (!QTest::currentTestFailed()) {
                CompareWithModel();
            }
            if (QTest::currentTestFailed()) {
                qWarning().noquote() << "seed" << seed << "failed at step" << i + 1
                                     << "after:" << taken.join(", ");
                break;
            }
        }
        window_.reset();
    }
};

QTEST_MAIN(ModelSessionTest)
#include "ModelSessionTest.moc"
