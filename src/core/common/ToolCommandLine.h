#pragma once

// What the programs' command lines have in common: QCommandLineParser reads
// them, and each program words what it refuses in its own way (the texts are
// in the man pages and in users' scripts, so they stay as they were).

#include "core/common/Operator.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>
#include <type_traits>

namespace bandora {

// A QCommandLineParser that remembers its options, so a refused line can be
// told apart: an option the program does not know, or one whose value is
// missing at the end of the line. A single dash reads like two ("-h" is
// "--help"), and "--" is refused as it always was, never an end of options.
class OptionReader {
public:
    explicit OptionReader(const QList<QCommandLineOption>& options);

    struct Mistakes {
        QStringList unknown;  // as typed: "--bogus", "--n=1" (a switch given a value), "--"
        QString missingValue; // "bin" for a "--bin" at the end of the line
        bool any() const { return !unknown.isEmpty() || !missingValue.isEmpty(); }
    };
    // `arguments` start with the program's name.
    Mistakes Read(const QStringList& arguments);

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList positional() const { return parser_.positionalArguments(); }

private:
    const QCommandLineOption* Find(const QString& name) const;

    QCommandLineParser parser_;
    QList<QCommandLineOption> options_;
};

// -h and --help.
QCommandLineOption HelpOption();

// A number as the program's files write it (sign, digits, a point), from
// min to max.
std::optional<double> NumberIn(const QString& text, double min = std::numeric_limits<double>::lowest(),
                               double max = std::numeric_limits<double>::max());

// Reads option `name` into `out` when it is given; false when its value is no
// number, does not fit `out` or, for a whole-number `out`, is not whole. `out` keeps its default
// when the option is absent.
// `line` is an OptionReader or a QCommandLineParser.
template <typename Line, typename T> bool ReadNumber(const Line& line, const QString& name, T& out)
{
    if (!line.isSet(name))
        return true;
    const std::optional<double> v =
        NumberIn(line.value(name), double(std::numeric_limits<T>::lowest()), double(std::numeric_limits<T>::max()));
    if (!v)
        return false;
    out = T(*v);
    return std::is_floating_point_v<T> || double(out) == *v;
}

// "bandora-report: <text>" and "Try 'bandora-report --help'." on standard
// error; returns the exit status of a wrong command line, 2.
int UsageError(const char* program, const QString& text);

// The tools' messages go to standard error, each line led by the program's
// name. A message is answered Ok, a question `yesNo` (Yes where the command
// line already said what to do).
class StderrOperator final : public Operator {
public:
    explicit StderrOperator(const char* program, Answer yesNo = Answer::Yes) : program_(program), yesNo_(yesNo) {}
    Answer ask(const QString& text, Buttons buttons) override;
    QString prompt(const QString& text, const QString&) override;

private:
    const char* program_;
    Answer yesNo_;
};

} // namespace bandora
