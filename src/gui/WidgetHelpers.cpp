#include "WidgetHelpers.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace bandora {

namespace {

const char* const kChars = "bandora_chars";   // a box as wide as this many digits
const char* const kLamp = "bandora_lamp";     // a square as high as a line
const char* const kSquare = "bandora_square"; // a button as wide as two lines
const char* const kRunButton = "bandora_run"; // a button of the run bar

void FitCharsWide(QWidget* w, int chars)
{
    w->setMaximumWidth(w->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 16);
}

} // namespace

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    return Named(new QPushButton(caption, parent), name);
}

QLineEdit* Box(const char* name, QWidget* parent, int chars)
{
    auto* box = Named(new QLineEdit(parent), name);
    if (chars > 0) {
        box->setProperty(kChars, chars);
        FitCharsWide(box, chars);
    }
    return box;
}

QLabel* Caption(const QString& text, QWidget* parent, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    if (alignment)
        label->setAlignment(alignment);
    return label;
}

QFrame* Lamp(const char* name, const QColor& colour, QWidget* parent)
{
    auto* lamp = Named(new QFrame(parent), name);
    lamp->setFrameShape(QFrame::Box);
    lamp->setProperty(kLamp, true);
    lamp->setAutoFillBackground(true);
    SetLampColour(lamp, colour);
    return lamp;
}

void SetLampColour(QFrame* lamp, const QColor& colour)
{
    QPalette pal = lamp->palette();
    pal.setColor(QPalette::Window, colour);
    lamp->setPalette(pal);
}

void MarkSquare(QWidget* button) { button->setProperty(kSquare, true); }

void MarkRunButton(QWidget* button) { button->setProperty(kRunButton, true); }

void FitToFont(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QFontMetrics m = w->fontMetrics();
        if (const int chars = w->property(kChars).toInt(); chars > 0)
            FitCharsWide(w, chars);
        if (w->property(kLamp).toBool())
            w->setFixedSize(m.height() + 4, m.height() + 4);
        if (w->property(kSquare).toBool())
            w->setFixedWidth(m.height() * 2 + 4);
        if (w->property(kRunButton).toBool()) {
            w->setMinimumWidth(m.horizontalAdvance(QStringLiteral("Offline")) + m.height() * 3);
            w->setMinimumHeight(m.height() * 2 + 4);
        }
    }
}

} // namespace bandora
