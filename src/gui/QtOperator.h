#pragma once

#include "core/common/Operator.h"

#include <QString>

#include <cstdio>

namespace bandora {

// The operator's real dialogs: modal message boxes and one-line text prompts
// over the active window. Every text shown is also written as one line on
// standard error, so support can read back what the operator was told.
class QtOperator final : public Operator {
public:
    explicit QtOperator(std::FILE* echo = stderr) : echo_(echo) {}

    Answer ask(const QString& text, Buttons buttons) override;
    QString prompt(const QString& text, const QString& defaultAnswer = QString()) override;
    QString promptTitled(const QString& text, const QString& title, const QString& defaultAnswer = QString()) override;
    std::optional<QString> promptOrCancel(const QString& text, const QString& title,
                                          const QString& defaultAnswer = QString()) override;

    // The text as the one line written on standard error: line breaks of a
    // multi-line message become " | ".
    static QString EchoLine(const QString& text);

private:
    void echo(const QString& text);
    std::FILE* echo_;
};

} // namespace bandora
