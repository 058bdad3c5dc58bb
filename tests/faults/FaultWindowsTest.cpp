// The main window over files it cannot use: an application folder that nobody may write, root included, and
// a store that is not in the format. Each command warns with the reason and leaves the files as they were.
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
#include <utility>

namespace fs = std::filesystem;

namespace {

// The titles of the warning boxes seen; a warning that does not give the reason shows up by its text.
QStringList Warnings(const MessageBoxAnswerer& answerer, const QString& reason) {
    QStringList titles;
    for (const SeenBox& box : answerer.Seen) {
        if (box.Icon == QMessageBox::Warning) {
            titles << (box.Text.contains(reason) ? box.Title : box.Text);
        }
    }
    return titles;
}

} // namespace

class FaultWindowsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // Remove Selected and Restore Engines warn with the system's reason; the rows on screen keep the user's
    // change, which the next save writes once the folder is writable again.
    void readOnlyFolderLosesNothing() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes});
        // Read-only for this thread even as root, without CAP_DAC_OVERRIDE.
        const fs::path folder = fs::path(EngineFile).parent_path();
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        ::syscall(SYS_capget, &header, caps);
        const auto effective =
            std::exchange(caps[0].effective, caps[0].effective & ~(1u << CAP_DAC_OVERRIDE));
        ::syscall(SYS_capset, &header, caps);
        fixture.Select({2});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkRestoreEngines"));
        caps[0].effective = effective;
        ::syscall(SYS_capset, &header, caps);
        fs::permissions(folder, fs::perms::owner_all);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "b", "c"}));
        QCOMPARE(fixture.Prefixes(), (Engines{"a", "c"}));
        fixture.Select({});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "c"}));
        QCOMPARE(Warnings(answerer, QString::fromLocal8Bit(std::strerror(EACCES))),
                 (QStringList{"SaveEngines()", "Error Restoring Engines"}));
    }

    void corruptStoreIsKept_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        const QString header =
            QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER]\r\n");
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("random bytes") << QByteArray("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11) << 1;
        QTest::newRow("truncated UTF-16") << QByteArray(utf16(header)).left(91) << 3;
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\A]\r\n") << 1;
        QTest::newRow("unclosed key line") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n") << 3;
        QTest::newRow("unknown value type") << (header + "@=hex(2):41\r\n").toLatin1() << 4;
    }

    // Install, Remove and IE Search Fix each warn, naming the file and the line.
    void corruptStoreIsKept() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        MainWindowFixture fixture(Engines{"a", "b"});
        fs::create_directories(fs::path(fixture.StoreFile()).parent_path());
        WriteBytes(fixture.StoreFile(), bytes.toStdString());
        MessageBoxAnswerer answerer({QMessageBox::Yes});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"));
        const QString named =
            QStringLiteral("\"%1\" cannot be read: line %2: ").arg(fixture.StoreFile().c_str()).arg(line);
        QCOMPARE(Warnings(answerer, named),
                 (QStringList{"InstallEngines()", "Remove Shortcuts", "IE Search Fix"}));
        QCOMPARE(QByteArray::fromStdString(ReadBytes(fixture.StoreFile())), bytes);
    }
};

QTEST_MAIN(FaultWindowsTest)
#include "FaultWindowsTest.moc"
