#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

// What the fit check found in one window.
struct FitReport {
    QString Window;       // the window's name, with the editor's mode
    int Checked = 0;      // the texts measured: labels, links, buttons, frame captions, list header sections
    QSize Size;           // the window's size in its own pixels
    QSize OnScreen;       // and in the screen's, which differ when the screen is scaled
    QStringList Failures; // "window / widget: text needs W×H, has w×h", one a text that does not fit or a
                          // picture that is not shown
};

// Measures every text the window shows as its widget lays it out (the widget's font, word wrap, margins,
// indent, alignment, the style's button and header insets) against the part of the widget that its parents
// leave visible and that nothing drawn after it covers. A label drawn over another one's text must cover the
// same letters; bold text must draw visibly more ink than the same text at the regular weight; every picture
// must show.
FitReport CheckFit(QWidget& window, const QString& windowName);

// The reports as lines of text: a line for each window, then its findings.
QString FitReportText(const std::vector<FitReport>& reports);
