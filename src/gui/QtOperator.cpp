#include "QtOperator.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWidget>

namespace bandora {

namespace {

const QString kTitle = QStringLiteral("Bandora");

// The box belongs to the window the operator is looking at, so that it
// comes up over it: the active window, or during start-up the splash.
QWidget* DialogParent()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    if (QWidget* w = QApplication::activeWindow())
        return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow())
            return w;
    return nullptr;
}

QMessageBox::StandardButtons ToStandardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Closing the box with Escape or its title bar button counts as the
// safest answer the box offers.
Answer FromStandardButton(int pressed, Buttons buttons)
{
    switch (pressed) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

} // namespace

QString QtOperator::EchoLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" | "));
    line.replace(QLatin1Char('\n'), QLatin1String(" | "));
    line.replace(QLatin1Char('\r'), QLatin1String(" | "));
    return line;
}

void QtOperator::echo(const QString& text)
{
    if (!echo_)
        return;
    const QByteArray bytes = EchoLine(text).toLocal8Bit();
    std::fprintf(echo_, "%s\n", bytes.constData());
    std::fflush(echo_);
}

Answer QtOperator::ask(const QString& text, Buttons buttons)
{
    echo(text);
    QMessageBox box(buttons == Buttons::Ok ? QMessageBox::Information : QMessageBox::Question, kTitle, text,
                    ToStandardButtons(buttons), DialogParent());
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    return FromStandardButton(box.exec(), buttons);
}

QString QtOperator::prompt(const QString& text, const QString& defaultAnswer)
{
    return promptTitled(text, kTitle, defaultAnswer);
}

QString QtOperator::promptTitled(const QString& text, const QString& title, const QString& defaultAnswer)
{
    return promptOrCancel(text, title, defaultAnswer).value_or(QString());
}

std::optional<QString> QtOperator::promptOrCancel(const QString& text, const QString& title,
                                                  const QString& defaultAnswer)
{
    echo(text);
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setTextValue(defaultAnswer);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace bandora
