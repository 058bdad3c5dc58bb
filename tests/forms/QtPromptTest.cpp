#include "forms/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>

namespace {

// What the box showed when it came up.
struct ShownBox {
    QString Text;
    QString DetailedText;
    int Height = 0;
};

// Shows the message through the prompt, reads the real box once it is up and answers it with `answer`.
PromptAnswer ShowAndAnswer(const PromptMessage& message, QMessageBox::StandardButton answer,
                           ShownBox& shown) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        poll.stop();
        shown = {box->text(), box->detailedText(), box->frameGeometry().height()};
        box->button(answer)->click();
    });
    poll.start(5);
    QtPrompt prompt;
    return prompt.Show(message);
}

std::string Lines(int count) {
    std::string text = "This will remove the SELECTED search engines,";
    for (int i = 1; i < count; ++i) {
        text += "\r\nengine" + std::to_string(i);
    }
    return text;
}

} // namespace

class QtPromptTest : public QObject {
    Q_OBJECT

private slots:
    void ShortTextIsShownWholeWithItsLineBreaks() {
        ShownBox shown;
        const PromptAnswer answer = ShowAndAnswer({"Remove Shortcuts", JoinLines({"first", "", "third"}),
                                                   PromptIcon::Information, PromptButtons::Ok},
                                                  QMessageBox::Ok, shown);
        QCOMPARE(answer, PromptAnswer::Ok);
        QCOMPARE(shown.Text, QStringLiteral("first\n\nthird"));
        QVERIFY(shown.DetailedText.isEmpty());
    }

    void VeryLongTextFitsOnTheScreenAndKeepsAllOfItInTheDetails() {
        ShownBox shown;
        const PromptAnswer answer = ShowAndAnswer(
            {"Remove Selected Engines", Lines(50000), PromptIcon::Question, PromptButtons::YesNo},
            QMessageBox::No, shown);
        QCOMPARE(answer, PromptAnswer::No);
        const QStringList shownLines = shown.Text.split(QLatin1Char('\n'));
        QCOMPARE(shownLines.size(), 41);
        QCOMPARE(shownLines.first(), QStringLiteral("This will remove the SELECTED search engines,"));
        QCOMPARE(shownLines.at(39), QStringLiteral("engine39"));
        QCOMPARE(shownLines.last(), QStringLiteral("\u2026"));
        QCOMPARE(shown.DetailedText,
                 QString::fromStdString(Lines(50000)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(shown.Height < QApplication::primaryScreen()->availableGeometry().height());
    }
};

QTEST_MAIN(QtPromptTest)
#include "QtPromptTest.moc"
