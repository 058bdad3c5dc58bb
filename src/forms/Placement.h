#pragma once

#include <QWidget>

#include <initializer_list>

class MultiRule;
class QDialog;

// What the windows' forms cannot say about their controls.

// Lets a rule placed by a form take the size the form gave it and lie along its longer side.
void ReadRuleExtent(MultiRule* rule);

// Gives a dialog the look both dialogs share: a fixed size, a title bar with only a close box, the small
// window icon and the windows' font.
void SetUpFixedDialog(QDialog* dialog, const char* name, int width, int height);

// Puts the controls into the keyboard's tab order as listed. Controls that never take the focus (labels,
// pictures, rules) keep their places in the list but stay out of the chain.
void ChainTabOrder(std::initializer_list<QWidget*> order);
