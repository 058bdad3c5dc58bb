// The main window over files it cannot use: an application folder that nobody may write, root included, and
// a store that is not in the format. Each command reports the failure and leaves the files as they were.
#include "controls/TahomaFont.h"
#include "support/FileBytes.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>
#include <QStringEncoder>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

namespace {

namespace fs = std::filesystem;

// While it lives the folder is read-only, and the thread is held to that even as root: CAP_DAC_OVERRIDE is
// cleared from its effective capabilities.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder) : folder_(std::move(folder)) {
        fs::permissions(folder_, fs::perms::all & ~fs::perms::owner_write & ~fs::perms::group_write &
                                     ~fs::perms::others_write);
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct held[2] = {saved_[0], saved_[1]};
        held[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &header_, held);
    }
    ~ReadOnlyFolder() {
        ::syscall(SYS_capset, &header_, saved_);
        fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    fs::path folder_;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

QStringList Titles(const MessageBoxAnswerer& answerer) {
    QStringList titles;
    for (const SeenBox& box : answerer.Seen) {
        titles << box.Title;
    }
    return titles;
}

} // namespace

class FaultWindowsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // The rows on screen keep the user's change, and the next save once the folder is writable writes it.
    void readOnlyFolderRefusesSavesAndLosesNothing() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        const fs::path folder = fs::path(EngineFile).parent_path();
        {
            const ReadOnlyFolder readOnly(folder);
            fixture.Select({2});
            MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes});
            QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
            ReleaseOverLink(fixture.Find<HyperLink>("lnkRestoreEngines"));
            QCOMPARE(Titles(answerer), (QStringList{"Remove Selected Engines", "SaveEngines()",
                                                    "Restore Search Engines", "Error Restoring Engines"}));
            for (const SeenBox& box : {answerer.Seen[1], answerer.Seen[3]}) {
                QCOMPARE(box.Icon, QMessageBox::Warning);
                QVERIFY2(box.Text.contains(QString::fromLocal8Bit(std::strerror(EACCES))),
                         qPrintable(box.Text));
            }
            QCOMPARE(fixture.ListFile(), ListBytes({"a", "b", "c"}));
            QCOMPARE(FolderListing(folder),
                     (std::vector<std::string>{"Search Engines.bak", "Search Engines.ini"}));
            QCOMPARE(fixture.Prefixes(), (Engines{"a", "c"}));
        }
        fixture.Select({});
        MessageBoxAnswerer answerer({QMessageBox::Yes});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        QCOMPARE(Titles(answerer), QStringList{"Remove Selected Engines"});
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "c"}));
    }

    void corruptStoreFailsEveryCommandAndIsKept_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        const QString header = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("random bytes") << QByteArray("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11) << 1;
        QTest::newRow("truncated UTF-16")
            << QByteArray(utf16(header + "[HKEY_CURRENT_USER\\A]\r\n")).left(97) << 3;
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\A]\r\n") << 1;
        QTest::newRow("unclosed key line") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n") << 3;
        QTest::newRow("unknown value type")
            << (header + "[HKEY_CURRENT_USER\\A]\r\n\"p\"=hex(2):41,00\r\n").toLatin1() << 4;
    }

    void corruptStoreFailsEveryCommandAndIsKept() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        MainWindowFixture fixture(Engines{"a", "b"});
        fs::create_directories(fs::path(fixture.StoreFile()).parent_path());
        WriteBytes(fixture.StoreFile(), bytes.toStdString());
        MessageBoxAnswerer answerer({QMessageBox::Yes});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"));
        QCOMPARE(Titles(answerer),
                 (QStringList{"InstallEngines()", "Remove Shortcuts", "IE Search Fix", "IE Search Fix"}));
        const QString named = QStringLiteral("\"%1\" cannot be read: line %2: ")
                                  .arg(QString::fromStdString(fixture.StoreFile()))
                                  .arg(line);
        for (const int i : {0, 1, 3}) {
            QCOMPARE(answerer.Seen[i].Icon, QMessageBox::Warning);
            QVERIFY2(answerer.Seen[i].Text.contains(named), qPrintable(answerer.Seen[i].Text));
        }
        QCOMPARE(QByteArray::fromStdString(ReadBytes(fixture.StoreFile())), bytes);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "b"}));
    }
};

QTEST_MAIN(FaultWindowsTest)
#include "FaultWindowsTest.moc"
