#pragma once

#include "QtPrinters.h"
#include "core/common/Operator.h"

#include <QQueue>
#include <QStringList>

#include <functional>

namespace bandora::test {

// Records every text the program shows and answers from a script. Questions
// and prompts with nothing scripted get a default (Ok / Yes / empty text) and
// are noted, so a test can tell an unexpected question from an expected one.
class ScriptedOperator final : public Operator {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        QString title = {}; // the dialog title of a titled prompt
    };

    Answer ask(const QString& text, Buttons buttons) override
    {
        shown.push_back({text, buttons});
        if (beforeAnswer)
            beforeAnswer(); // what the operator sees while the question is open
        if (!answers.isEmpty())
            return answers.dequeue();
        ++unscripted;
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }

    // A reply that stands for the Cancel button of a prompt.
    static QString CancelReply() { return QStringLiteral("\x18<Cancel>"); }

    QString prompt(const QString& text, const QString& defaultAnswer) override
    {
        shown.push_back({text, Buttons::OkCancel});
        if (beforeReply)
            beforeReply(); // what the operator does before typing the answer
        if (!replies.isEmpty()) {
            const QString reply = replies.dequeue();
            return reply == CancelReply() ? QString() : reply;
        }
        ++unscripted;
        return defaultAnswer;
    }

    std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                          const QString& defaultAnswer) override
    {
        const bool cancel = !replies.isEmpty() && replies.head() == CancelReply();
        const QString answer = promptTitled(text, title, defaultAnswer);
        return cancel ? std::nullopt : std::optional<QString>(answer);
    }

    QString promptTitled(const QString& text, const QString& title, const QString& defaultAnswer) override
    {
        const QString answer = prompt(text, defaultAnswer);
        shown.back().title = title;
        return answer;
    }

    // Every text shown, in order.
    QStringList texts() const
    {
        QStringList out;
        for (const auto& s : shown)
            out << s.text;
        return out;
    }

    void clear()
    {
        shown.clear();
        unscripted = 0;
    }

    QQueue<Answer> answers;  // replies to ask(), in order
    QQueue<QString> replies; // replies to prompt(), in order
    std::function<void()> beforeReply;
    std::function<void()> beforeAnswer;
    QList<Shown> shown;
    int unscripted = 0;
};

} // namespace bandora::test
