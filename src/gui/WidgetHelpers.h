#pragma once

// Small builders for the named controls every window makes: the object name
// is how the rest of the program, the tests and users' scripts find a
// control, so it is set where the control is made.

#include <QColor>
#include <QLatin1String>
#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace bandora {

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent);

// A text box; with chars > 0 as wide as that many digits, again whenever
// FitToFont runs for a new lettering.
QLineEdit* Box(const char* name, QWidget* parent, int chars = 0);

// A label before a control, aligned as asked (the label's own alignment
// when none is given).
QLabel* Caption(const QString& text, QWidget* parent, Qt::Alignment alignment = {});

// A small coloured square standing for an output of the instrument, as high
// as a line of text.
QFrame* Lamp(const char* name, const QColor& colour, QWidget* parent);
void SetLampColour(QFrame* lamp, const QColor& colour);

// Sizes that follow the lettering, marked on the control and set by
// FitToFont: a button as wide as two lines, a button of the run bar.
void MarkSquare(QWidget* button);
void MarkRunButton(QWidget* button);

// Sets every marked size below root for the lettering each control has now.
void FitToFont(QWidget* root);

} // namespace bandora
