// The main window over a store file that is not in the format: Install, Remove and IE Search Fix each fail
// with a warning that names the file and the line, and the file is left byte for byte.
#include "FaultFolder.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QPushButton>
#include <QtTest>

#include <filesystem>

class CorruptStoreWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // Damage on the first line and further down; the parser's other cases are tested with the store.
    void everyRegistryCommandFailsClearlyAndWritesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::newRow("random bytes") << QByteArray("\x8F\x03\xD1\x00\x7A\xC4\x19\xEE\x00\x42\xB7", 11) << 1;
        QTest::newRow("unclosed key line") << QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n") << 3;
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

        QTest::mouseClick(fixture.Find<QPushButton>("cmdInstallShortcuts"), Qt::LeftButton);
        QTest::mouseClick(fixture.Find<QPushButton>("cmdRemoveShortcuts"), Qt::LeftButton);
        ReleaseOverLink(fixture.Find<HyperLink>("lnkIESearchFix"));

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
