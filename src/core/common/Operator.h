#pragma once

#include <QString>

#include <optional>

namespace bandora {

// The buttons a message box offers.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

// What the operator pressed.
enum class Answer { Ok, Cancel, Yes, No };

// Every message box and text prompt the operator sees goes through here, so
// the program's words can be checked to the letter in tests and a support
// person can read them back from standard error.
class Operator {
public:
    virtual ~Operator() = default;

    // A modal message box with the given buttons.
    virtual Answer ask(const QString& text, Buttons buttons) = 0;

    // A one-line text prompt. Cancel gives an empty answer, as Enter on an
    // empty box does; the operator cannot tell the two apart and neither can we.
    virtual QString prompt(const QString& text, const QString& defaultAnswer = QString()) = 0;

    // The same prompt in a dialog with its own title ("Saving <8> with a new
    // name" tells which project number the answer will get). Operators whose
    // dialogs carry no titles show the plain prompt.
    virtual QString promptTitled(const QString& text, const QString& title, const QString& defaultAnswer = QString())
    {
        return prompt(text, defaultAnswer);
    }

    // The titled prompt for answers where Cancel means "do nothing" and an
    // empty text is an answer of its own (an empty experiment name is a
    // Monitor run): nothing on Cancel. Operators that cannot tell the two
    // apart give the text.
    virtual std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                                  const QString& defaultAnswer = QString())
    {
        return promptTitled(text, title, defaultAnswer);
    }

    // A message box with an OK button.
    void inform(const QString& text) { ask(text, Buttons::Ok); }
};

} // namespace bandora
