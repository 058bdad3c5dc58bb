// The main window over an application folder that nobody may write, root included: Remove Selected and
// Restore Engines each say that the list could not be written, the list file stays as it was, and the rows
// on screen keep the user's change, which the next save writes once the folder can be written again.
#include "FaultFolder.h"
#include "WithoutRootOverride.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Makes the folder read-only for everyone, root included, while it lives.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder) : folder_(std::move(folder)) {
        fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    ~ReadOnlyFolder() { fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    fs::path folder_;
    WithoutRootOverride rootHeldToPermissions_;
};

} // namespace

class ReadOnlyFolderTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void failedSavesAndRestoresAreToldAndLoseNothing() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        const fs::path folder = fs::path(EngineFile).parent_path();
        const std::string before = FileBytes(EngineFile);
        {
            ReadOnlyFolder readOnly(folder);
            {
                fixture.Select({2});
                MessageBoxAnswerer removal({QMessageBox::Yes});
                QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
                QCOMPARE(removal.Seen.size(), 2);
                QCOMPARE(removal.Seen[1].Title, QStringLiteral("SaveEngines()"));
                QCOMPARE(removal.Seen[1].Icon, QMessageBox::Warning);
                QCOMPARE(removal.Seen[1].Text,
                         QStringLiteral("Error while trying to save search engines.\n\nFile: %1\nError: %2")
                             .arg(QString::fromStdString(EngineFile),
                                  QString::fromLocal8Bit(std::strerror(EACCES))));
            }
            {
                MessageBoxAnswerer restore({QMessageBox::Yes});
                ReleaseOverLink(fixture.Find<HyperLink>("lnkRestoreEngines"));
                QCOMPARE(restore.Seen.size(), 2);
                QCOMPARE(restore.Seen[1].Title, QStringLiteral("Error Restoring Engines"));
                QCOMPARE(restore.Seen[1].Icon, QMessageBox::Warning);
                QVERIFY2(
                    restore.Seen[1].Text.endsWith(QStringLiteral("Because: %1").arg(std::strerror(EACCES))),
                    qPrintable(restore.Seen[1].Text));
            }
            QCOMPARE(FileBytes(EngineFile), before);
            QCOMPARE(StrayFiles(folder, {"Search Engines.ini", "Search Engines.bak"}),
                     std::vector<std::string>{});
            QCOMPARE(fixture.Prefixes(), (Engines{"a", "c"}));
        }
        // Nothing selected: Remove Selected asks, removes nothing and saves the rows as they are.
        fixture.Select({});
        MessageBoxAnswerer save({QMessageBox::Yes});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        QCOMPARE(save.Seen.size(), 1);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "c"}));
    }
};

QTEST_MAIN(ReadOnlyFolderTest)
#include "ReadOnlyFolderTest.moc"
