#include "CommandLine.h"

#include "core/common/ToolCommandLine.h"

namespace bandora {

CommandLine ParseCommandLine(const QStringList& arguments)
{
    OptionReader reader({QCommandLineOption(QStringLiteral("app-dir"), QString(), QStringLiteral("DIR")),
                         QCommandLineOption(QStringLiteral("door-cycle"), QString(), QStringLiteral("S")),
                         QCommandLineOption(QStringLiteral("simulate")),
                         HelpOption(),
                         QCommandLineOption(QStringLiteral("version"))});
    const OptionReader::Mistakes mistakes = reader.Read(QStringList{QStringLiteral("bandora")} + arguments);
    CommandLine line;
    line.help = reader.isSet(QStringLiteral("help"));
    line.version = reader.isSet(QStringLiteral("version"));
    line.simulate = reader.isSet(QStringLiteral("simulate"));
    const QString appDirNeeds = QStringLiteral("--app-dir needs a folder");
    const QString doorCycleNeeds = QStringLiteral("--door-cycle needs a number of seconds, 0.1 to 3600");
    if (mistakes.missingValue == QLatin1String("app-dir"))
        line.error = appDirNeeds;
    else if (mistakes.missingValue == QLatin1String("door-cycle"))
        line.error = doorCycleNeeds;
    line.appDir = reader.value(QStringLiteral("app-dir"));
    if (reader.isSet(QStringLiteral("app-dir")) && line.appDir.isEmpty())
        line.error = appDirNeeds;
    if (reader.isSet(QStringLiteral("door-cycle"))) {
        const std::optional<double> seconds = NumberIn(reader.value(QStringLiteral("door-cycle")), 0.1, 3600);
        if (!seconds)
            line.error = doorCycleNeeds;
        line.doorCycle = seconds.value_or(0.0);
    }
    // Options the program does not know belong to the switch line, as the
    // words around them do.
    line.rest = (mistakes.unknown + reader.positional()).join(QLatin1Char(' '));
    return line;
}

bool IsAutoRunSwitch(const QString& switchLine)
{
    // Only blanks are trimmed, as a shortcut's command line is.
    QString s = switchLine;
    while (s.startsWith(QLatin1Char(' ')))
        s.remove(0, 1);
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s == QLatin1String("/run") || s == QLatin1String("/RUN") || s == QLatin1String("/Run");
}

QString CommandLineUsage()
{
    return QStringLiteral(
        "usage: bandora [--app-dir DIR] [--simulate [--door-cycle S]] [/run]\n"
        "\n"
        "Acquisition program of the Bandora instrument: counts the activity of small organisms\n"
        "in the wells of a microplate crossed by 384 infrared beams.\n\n"
        "  --app-dir DIR   use DIR as the application folder (default: the folder of the executable\n"
        "                  when it holds config.dat, else ~/.local/share/bandora, made on the first\n"
        "                  start from the installed copy)\n"
        "  --simulate      work with the built-in virtual instrument\n"
        "  --door-cycle S  the virtual instrument's door opens and closes every S seconds\n"
        "  /run            start an experiment right after start-up (also /RUN, /Run)\n"
        "  --help          show this text\n"
        "  --version       show the version\n");
}

QString VersionLine() { return QStringLiteral("bandora " BANDORA_PACKAGE_VERSION "\n"); }

} // namespace bandora
