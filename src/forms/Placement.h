#pragma once

#include <QWidget>

#include <initializer_list>

class HyperLink;
class MultiRule;
class QDialog;
class QLabel;

// What the windows' forms cannot say about their controls.

// Lets a rule placed by a form take the size the form gave it and lie along its longer side.
void ReadRuleExtent(MultiRule* rule);

// Loads a link placed by a form with its caption, address and tip at the size the form gave it. The windows'
// links leave the click to the window, highlight in dark blue and keep the control's defaults otherwise.
void SetUpLink(HyperLink* link, const QString& caption, const QString& url, const QString& toolTip);

// Gives a dialog the look both dialogs share: a fixed size, a title bar with only a close box, the small
// window icon and the windows' font.
void SetUpFixedDialog(QDialog* dialog, const char* name, int width, int height);

// Puts the controls into the keyboard's tab order as listed. Controls that never take the focus (labels,
// pictures, rules) keep their places in the list but stay out of the chain.
void ChainTabOrder(std::initializer_list<QWidget*> order);

// Lets a word-wrapped label grow downward to show all of its lines where its font needs more room than the
// form gave it; it never shrinks.
void GrowToShowAll(QLabel* label);
