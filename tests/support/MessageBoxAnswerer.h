#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QTimer>

// One message box as the user saw it.
struct SeenBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    Qt::TextFormat Format = Qt::AutoText;
    QString Details;
    int Height = 0;
};

// Answers every real QMessageBox that comes up while it lives, in order, by clicking the next button of its
// script (OK for a box that has only OK, or once the script is used up), and remembers what each box showed.
class MessageBoxAnswerer final : public QObject {
public:
    explicit MessageBoxAnswerer(QList<QMessageBox::StandardButton> answers = {})
        : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
        timer_.start(5);
    }

    QList<SeenBox> Seen;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        Seen.append({box->windowTitle(), box->text(), box->icon(), box->textFormat(), box->detailedText(),
                     box->frameGeometry().height()});
        const bool scripted = !answers_.isEmpty() && box->standardButtons() != QMessageBox::Ok;
        QAbstractButton* button = box->button(scripted ? answers_.takeFirst() : QMessageBox::Ok);
        button != nullptr ? button->click() : box->reject();
    }

    QList<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

// Runs `act` on the first modal window of type `Window` to come up (a dialog opened by a click that blocks
// until the dialog closes).
template <class Window, class Act> void WhenShown(Act act) {
    QTimer::singleShot(5, [act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window != nullptr && window->isVisible()) {
            act(window);
        } else {
            WhenShown<Window>(act);
        }
    });
}
