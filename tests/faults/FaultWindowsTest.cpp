// The main window over files it cannot use: an application folder that nobody may write, root included, and
// a store that is not in the format. Each command warns with its reason and leaves the files as they were.
#include "support/FileBytes.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <ranges>

namespace fs = std::filesystem;

// The titles of the warnings that give the reason.
static QStringList Warnings(const MessageBoxAnswerer& answerer, const QString& reason) {
    auto titles = answerer.Seen | std::views::filter([&reason](const SeenBox& box) {
                      return box.Icon == QMessageBox::Warning && box.Text.contains(reason);
                  }) |
                  std::views::transform(&SeenBox::Title);
    return {titles.begin(), titles.end()};
}

class FaultWindowsTest final : public QObject {
    Q_OBJECT

private slots:
    void failuresAreToldAndLoseNothing_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<int>("line");
        QTest::newRow("random bytes") << QByteArray("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11) << 1;
        QTest::newRow("truncated UTF-16") << QByteArray("\xFF\xFEx\0\n\0\n\0[", 9) << 3;
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\A]\r\n") << 1;
        QTest::newRow("unclosed key line") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n") << 3;
        QTest::newRow("unknown value type")
            << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER]\n@=hex(2):41\n") << 4;
    }

    // Remove Selected and Restore Engines warn with the system's reason, Install, Remove and IE Search Fix
    // name the store and its line; the rows on screen keep the change, saved once the folder is writable.
    void failuresAreToldAndLoseNothing() {
        QFETCH(QByteArray, store);
        QFETCH(int, line);
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        fs::create_directories(fs::path(fixture.StoreFile()).parent_path());
        WriteBytes(fixture.StoreFile(), store.toStdString());
        MessageBoxAnswerer answerer(QList<QMessageBox::StandardButton>(4, QMessageBox::Yes));
        // Read-only for this thread even as root, without CAP_DAC_OVERRIDE.
        const fs::path folder = fs::path(EngineFile).parent_path();
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        ::syscall(SYS_capget, &header, caps);
        const auto effective = caps[0].effective;
        caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &header, caps);
        fixture.Select({2});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkRestoreEngines"));
        QTest::mouseClick(fixture.Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"));
        caps[0].effective = effective;
        ::syscall(SYS_capset, &header, caps);
        fs::permissions(folder, fs::perms::owner_all);
        QCOMPARE(Warnings(answerer, qt_error_string(EACCES)),
                 (QStringList{"SaveEngines()", "Error Restoring Engines"}));
        QCOMPARE(Warnings(answerer, QStringLiteral("\"%1\" cannot be read: line %2: ")
                                        .arg(fixture.StoreFile().c_str())
                                        .arg(line)),
                 (QStringList{"InstallEngines()", "Remove Shortcuts", "IE Search Fix"}));
        QCOMPARE(QByteArray::fromStdString(ReadBytes(fixture.StoreFile())), store);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "b", "c"}));
        fixture.Select({});
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveSearchEngine"), Qt::LeftButton);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "c"}));
    }
};

QTEST_MAIN(FaultWindowsTest)
#include "FaultWindowsTest.moc"
