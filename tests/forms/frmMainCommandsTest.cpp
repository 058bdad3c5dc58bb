#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "registry/modCore.h"
#include "support/FileBytes.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>
#include <QtTest>

#include <filesystem>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;
const std::string SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";

void Click(MainWindowFixture& fixture, const char* button) {
    QTest::mouseClick(fixture.Find<QPushButton>(button), Qt::LeftButton);
}

} // namespace

class frmMainCommandsTest final : public QObject {
    Q_OBJECT

private:
    // A question as the commands ask it: Yes and No, Yes the default, the question icon, owned by the window.
    // The texts are the core's and are compared there; the title tells which command asked.
    static void VerifyQuestion(const SeenBox& box, const MainWindowFixture& fixture, const QString& title) {
        QCOMPARE(box.Title, title);
        QCOMPARE(box.Icon, QMessageBox::Question);
        QCOMPARE(box.Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.Default, QMessageBox::Yes);
        QCOMPARE(box.Format, Qt::PlainText);
        QCOMPARE(box.Owner, &const_cast<MainWindowFixture&>(fixture).Window());
    }

    static void VerifyReport(const SeenBox& box, const QString& title, QMessageBox::Icon icon) {
        QCOMPARE(box.Title, title);
        QCOMPARE(box.Icon, icon);
        QCOMPARE(box.Buttons, QMessageBox::Ok);
    }

private slots:
    void initTestCase() { RegisterTahoma(); }

    void installWritesTheCheckedEnginesAndReportsTheCount() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        fixture.Model()->setData(fixture.Model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        MessageBoxAnswerer answerer;

        Click(fixture, "cmdInstallShortcuts");

        QCOMPARE(answerer.Seen.size(), 1);
        VerifyReport(answerer.Seen[0], QStringLiteral("InstallEngines()"), QMessageBox::Information);
        const auto store = fixture.Store();
        QCOMPARE(store->QueryValue(User, SearchUrl + "\\a", ""),
                 (RegValue{RegType::String, "http://a.example/?q=%s"}));
        QVERIFY(store->KeyExists(User, SearchUrl + "\\c"));
        QVERIFY(!store->KeyExists(User, SearchUrl + "\\b"));
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "b", "c"}));
    }

    // A store that cannot be read is left as it was, and the box says why instead of claiming success.
    void removeDeletesEveryShortcutOrSaysWhyNot() {
        for (const bool broken : {false, true}) {
            MainWindowFixture fixture(Engines{"a"});
            std::filesystem::create_directories(std::filesystem::path(fixture.StoreFile()).parent_path());
            QVERIFY(broken ? ReplaceFileAtomically(fixture.StoreFile(), "not a registry file\r\n").ok()
                           : InstallShortcut(*fixture.Store(), "a", "http://a.example/?q=%s").ok());
            MessageBoxAnswerer answerer;

            Click(fixture, "cmdRemoveShortcuts");

            QCOMPARE(answerer.Seen.size(), 1);
            const SeenBox& box = answerer.Seen[0];
            QCOMPARE(box.Title, QStringLiteral("Remove Shortcuts"));
            QCOMPARE(box.Icon, broken ? QMessageBox::Warning : QMessageBox::Information);
            QCOMPARE(box.Buttons, QMessageBox::Ok);
            QCOMPARE(fixture.ListFile(), ListBytes({"a"}));
            if (broken) {
                QVERIFY2(box.Text.startsWith(
                             QStringLiteral("The search shortcuts could not be removed.\n\nBecause: ")),
                         qPrintable(box.Text));
                QCOMPARE(ReadBytes(fixture.StoreFile()), std::string("not a registry file\r\n"));
            } else {
                QCOMPARE(box.Text, QStringLiteral("All search shortcuts have been removed."));
                QVERIFY(!fixture.Store()->KeyExists(User, SearchUrl));
            }
        }
    }

    // Rows 2 and 5 selected, row 5 unchecked: the selection, not the checks, decides what goes. A prefix that
    // looks like markup is shown as typed. Removing every row disables the buttons that need one.
    void removeSelectedAsksAndRemovesTheSelectedRowsOnYes() {
        const Engines all{"a", "b", "c", "d", "<b>e</b>", "f"};
        const std::tuple<QMessageBox::StandardButton, std::vector<int>, Engines> cases[] = {
            {QMessageBox::No, {2, 5}, all},
            {QMessageBox::Yes, {2, 5}, {"a", "c", "d", "f"}},
            {QMessageBox::Yes, {1, 2, 3, 4, 5, 6}, {}}};
        for (const auto& [answer, selected, left] : cases) {
            MainWindowFixture fixture(all);
            fixture.Model()->setData(fixture.Model()->index(4, 0), Qt::Unchecked, Qt::CheckStateRole);
            fixture.Select(selected);
            MessageBoxAnswerer answerer({answer});

            Click(fixture, "cmdRemoveSearchEngine");

            QCOMPARE(answerer.Seen.size(), 1);
            if (selected.size() == 2) {
                // The selected prefixes, bottom first, as plain text.
                VerifyQuestion(answerer.Seen[0], fixture, QStringLiteral("Remove Selected Engines"));
                QVERIFY(answerer.Seen[0].Text.endsWith(QStringLiteral("\n<b>e</b>\nb")));
            }
            QCOMPARE(fixture.Prefixes(), left);
            QCOMPARE(fixture.ListFile(), ListBytes(left));
            QVERIFY(!std::filesystem::exists(fixture.StoreFile()));
            for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
                QVERIFY2(fixture.Find(name)->isEnabled() == !left.empty(), name);
            }
        }
    }

    void aFailedSaveAfterRemovalIsReportedAndTheRowsStay() {
        MainWindowFixture fixture(Engines{"a", "b"});
        std::filesystem::remove(EngineFile);
        std::filesystem::create_directory(EngineFile);
        QVERIFY(ReplaceFileAtomically(EngineFile + "/keeps-it-a-folder", "x").ok());
        fixture.Select({1});
        MessageBoxAnswerer answerer({QMessageBox::Yes});

        Click(fixture, "cmdRemoveSearchEngine");

        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[1].Title, QStringLiteral("SaveEngines()"));
        QCOMPARE(answerer.Seen[1].Icon, QMessageBox::Warning);
        QCOMPARE(fixture.Prefixes(), (Engines{"b"}));
    }

    // Either button released over the link asks; only Yes writes, and says so.
    void searchFixAsksAndWritesTheSettingsOnYes() {
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            MainWindowFixture fixture(Engines{"a"});
            MessageBoxAnswerer answerer({answer});
            const bool yes = answer == QMessageBox::Yes;

            ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"),
                            yes ? Qt::LeftButton : Qt::RightButton);

            QCOMPARE(answerer.Seen.size(), yes ? 2 : 1);
            VerifyQuestion(answerer.Seen[0], fixture, QStringLiteral("IE Search Fix"));
            QCOMPARE(fixture.ListFile(), ListBytes({"a"}));
            if (!yes) {
                QVERIFY(!std::filesystem::exists(fixture.StoreFile()));
                continue;
            }
            VerifyReport(answerer.Seen[1], QStringLiteral("IE Search Fix"), QMessageBox::Information);
            QCOMPARE(fixture.Store()->QueryValue(
                         User, "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes", "http"),
                     (RegValue{RegType::String, "http://"}));
        }
    }

    void restoreAsksAndBringsBackTheDefaultListAllCheckedOnYes() {
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            MainWindowFixture fixture(Engines{});
            MessageBoxAnswerer answerer({answer});
            const bool yes = answer == QMessageBox::Yes;

            ReleaseOverLink(fixture.Find<HyperLink>("lnkRestoreEngines"),
                            yes ? Qt::LeftButton : Qt::RightButton);

            QCOMPARE(answerer.Seen.size(), 1);
            VerifyQuestion(answerer.Seen[0], fixture, QStringLiteral("Restore Search Engines"));
            const Engines list = yes ? Engines{"x", "y", "z"} : Engines{};
            QCOMPARE(fixture.Prefixes(), list);
            QCOMPARE(fixture.Checks(), std::vector<bool>(list.size(), true));
            QCOMPARE(fixture.ListFile(), ListBytes(list));
            QCOMPARE(fixture.Find("cmdInstallShortcuts")->isEnabled(), yes);
            QVERIFY(!std::filesystem::exists(fixture.StoreFile()));
        }
    }
};

QTEST_MAIN(frmMainCommandsTest)
#include "frmMainCommandsTest.moc"
