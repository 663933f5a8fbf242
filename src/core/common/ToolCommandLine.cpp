#include "ToolCommandLine.h"

#include "core/storage/RecordSyntax.h"

#include <cstdio>

namespace bandora {

OptionReader::OptionReader(const QList<QCommandLineOption>& options) : options_(options)
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOptions(options);
}

const QCommandLineOption* OptionReader::Find(const QString& name) const
{
    for (const QCommandLineOption& option : options_)
        if (option.names().contains(name))
            return &option;
    return nullptr;
}

OptionReader::Mistakes OptionReader::Read(const QStringList& arguments)
{
    const bool parsed = parser_.parse(arguments);
    // The parser's own messages name no argument as it was typed, and it
    // takes "--" for the end of the options; walk the line once more to find
    // what it refused.
    Mistakes m;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--")) {
            m.unknown << arg;
            break;
        }
        if (arg.size() < 2 || !arg.startsWith(QLatin1Char('-')))
            continue;
        const bool assigned = arg.contains(QLatin1Char('='));
        const QCommandLineOption* option =
            Find(arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0));
        const bool takesValue = option && !option->valueName().isEmpty();
        if (!option || (assigned && !takesValue))
            m.unknown << arg;
        else if (takesValue && !assigned && ++i == arguments.size())
            m.missingValue = option->names().constFirst();
    }
    if (!parsed && !m.any())
        m.unknown << parser_.errorText();
    return m;
}

QCommandLineOption HelpOption() { return QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}); }

std::optional<double> NumberIn(const QString& text, double min, double max)
{
    double v = 0.0;
    if (!ParseNumber(text, v) || v < min || v > max)
        return std::nullopt;
    return v;
}

int UsageError(const char* program, const QString& text)
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program, qPrintable(text), program);
    return 2;
}

Answer StderrOperator::ask(const QString& text, Buttons buttons)
{
    std::fprintf(stderr, "%s: %s\n", program_, qPrintable(text));
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : yesNo_;
}

QString StderrOperator::prompt(const QString& text, const QString&)
{
    std::fprintf(stderr, "%s: %s\n", program_, qPrintable(text));
    return {};
}

} // namespace bandora
