#include "CommandLine.h"

namespace bandora {

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--app-dir")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                line.error = QStringLiteral("--app-dir needs a folder");
                return line;
            }
            line.appDir = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--app-dir="))) {
            line.appDir = arg.mid(10);
            if (line.appDir.isEmpty()) {
                line.error = QStringLiteral("--app-dir needs a folder");
                return line;
            }
        } else if (arg == QLatin1String("--simulate")) {
            line.simulate = true;
        } else if (arg == QLatin1String("--door-cycle")) {
            bool ok = false;
            const double seconds = i + 1 < arguments.size() ? arguments[i + 1].toDouble(&ok) : 0.0;
            if (!ok || seconds < 0.1 || seconds > 3600) {
                line.error = QStringLiteral("--door-cycle needs a number of seconds, 0.1 to 3600");
                return line;
            }
            line.doorCycle = seconds;
            ++i;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.help = true;
        } else if (arg == QLatin1String("--version")) {
            line.version = true;
        } else {
            rest << arg;
        }
    }
    line.rest = rest.join(QLatin1Char(' '));
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
