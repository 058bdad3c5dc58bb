// The main window over a store file that is not in the format: Install, Remove and IE Search Fix each fail
// with a warning that names the file and the line, and the file is left byte for byte.
#include "FaultFolder.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "forms/MainWindowFixture.h"
#include "forms/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>
#include <QtTest>

#include <filesystem>

namespace {

std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n";

void Install(MainWindowFixture& fixture) {
    QTest::mouseClick(fixture.Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
}

void Remove(MainWindowFixture& fixture) {
    QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
}

void SearchFix(MainWindowFixture& fixture) {
    ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"));
}

} // namespace

class CorruptStoreWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void everyRegistryCommandFailsClearlyAndWritesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::newRow("random bytes") << QByteArray("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11) << 1;
        QTest::newRow("truncated UTF-16")
            << QByteArray::fromStdString(Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n").substr(0, 97)) << 3;
        QTest::newRow("no header") << QByteArray::fromStdString(Utf16Le("[HKEY_CURRENT_USER\\A]\r\n")) << 1;
        QTest::newRow("unclosed key line")
            << QByteArray::fromStdString(Utf16Le(Header + "[HKEY_CURRENT_USER\\Software\r\n")) << 3;
        QTest::newRow("unknown value type")
            << QByteArray::fromStdString(Utf16Le(Header + "[HKEY_CURRENT_USER\\A]\r\n\"p\"=hex(2):41,00\r\n"))
            << 4;
    }

    void everyRegistryCommandFailsClearlyAndWritesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        MainWindowFixture fixture(Engines{"a", "b"});
        std::filesystem::create_directories(std::filesystem::path(fixture.StoreFile()).parent_path());
        QVERIFY(ReplaceFileAtomically(fixture.StoreFile(), bytes.toStdString()).ok());
        const QString reason = QStringLiteral("Because: The registry file \"%1\" cannot be read: line %2: ")
                                   .arg(QString::fromStdString(fixture.StoreFile()))
                                   .arg(line);
        MessageBoxAnswerer answerer({QMessageBox::Yes});

        Install(fixture);
        Remove(fixture);
        SearchFix(fixture);

        QCOMPARE(answerer.Seen.size(), 4);
        const QString leads[] = {
            QStringLiteral("0 of 2 shortcuts have been installed.\n\nThese shortcuts could "
                           "not be installed:\na\nb\n\n"),
            QStringLiteral("The search shortcuts could not be removed.\n\n"),
            QStringLiteral("The fix could not be applied completely.\n\nNot written: ")};
        const SeenBox* reports[] = {&answerer.Seen[0], &answerer.Seen[1], &answerer.Seen[3]};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(reports[i]->Icon, QMessageBox::Warning);
            QCOMPARE(reports[i]->Buttons, QMessageBox::Ok);
            QVERIFY2(reports[i]->Text.startsWith(leads[i]), qPrintable(reports[i]->Text));
            QVERIFY2(reports[i]->Text.contains(reason), qPrintable(reports[i]->Text));
        }
        QCOMPARE(QByteArray::fromStdString(FileBytes(fixture.StoreFile())), bytes);
        QCOMPARE(fixture.ListFile(), ListBytes({"a", "b"}));
    }
};

QTEST_MAIN(CorruptStoreWindowTest)
#include "CorruptStoreWindowTest.moc"
