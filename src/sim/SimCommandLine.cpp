#include "SimCommandLine.h"

#include "core/common/ToolCommandLine.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <map>

namespace bandora::sim {

namespace {

const char* const kUsage = R"(Usage: bandora-sim --app-dir DIR --port N [options]

Starts a virtual Bandora instrument on a pseudo-terminal and links it as
DIR/ports/COMN, where the program looks for port N. Runs until interrupted
(Ctrl+C), then removes the link.

  --app-dir DIR          the program's application folder (required)
  --port N               port number 1..16 (required)
  --plate NAME           plate in the instrument: DIR/NAME.dat or a built-in
                         w384, w96u, w96f (default w96f)
  --organisms N          organisms per well (default 1)
  --empty-wells F        share of wells left empty, 0..1 (default 0.1)
  --activity R           beam crossings per minute of one organism in the
                         light (default 6)
  --dark-activity F      activity in the dark as a share of that in the light
                         (default 0.3)
  --noise S              standard deviation of the beam signals (default 4)
  --ambient T            room temperature in degrees Celsius (default 22)
  --seed N               seed of the organisms and the noise (default 1)
  --step-ms MS           each full read of the beams moves the instrument on
                         by MS instead of following the clock
  --memory FILE          where the factory record is kept
                         (default DIR/ports/instrument-memory.dat)
  --door-open            start with the door open
  --door-cycle S         open and close the door every S seconds (the beams
                         of the device test's map brighten and darken)
  --version-byte N       second byte of the identify reply (default 25)
  --no-pacing            reply at once instead of at the line speed
  --baud B               line speed of the pacing (default 115200)
  --fault-rate R         share of replies that go wrong, 0..1
  --faults LIST          which faults: drop,short,late,corrupt (default all)
  --late-ms MS           how late a late reply comes (default 400)
  --silence-after N      fall silent after N frames
  --silence-ms MS        stay silent that long, then answer again (default:
                         for good)
)";

} // namespace

QString SimUsage() { return QString::fromUtf8(kUsage); }

bool ParseSimCommandLine(const QStringList& arguments, SimCommandLine& out, QString& error)
{
    SimOptions& o = out.options;
    using Setter = std::function<bool(const QString&)>;
    const auto number = [](double min, double max, auto apply) -> Setter {
        return [=](const QString& text) {
            const std::optional<double> v = NumberIn(text, min, max);
            if (v)
                apply(*v);
            return v.has_value();
        };
    };
    const std::map<QString, Setter> valued = {
        {"app-dir", [&](const QString& t) { out.appDir = t; return !t.isEmpty(); }},
        {"port", [&](const QString& t) {
             const std::optional<double> v = NumberIn(t, 1, 16);
             out.port = v ? int(*v) : 0;
             return v && *v == std::floor(*v);
         }},
        {"plate", [&](const QString& t) { out.plate = t.toLower(); return !t.isEmpty(); }},
        {"organisms", number(0, 100, [&](double v) { o.model.organismsPerWell = int(v); })},
        {"empty-wells", number(0, 1, [&](double v) { o.model.emptyWellFraction = v; })},
        {"activity", number(0, 6000, [&](double v) { o.model.activity = v; })},
        {"dark-activity", number(0, 100, [&](double v) { o.model.darkActivity = v; })},
        {"noise", number(0, 1000, [&](double v) { o.model.noise = v; })},
        {"door-cycle", number(0.1, 3600, [&](double v) { o.model.doorCycle = v; })},
        {"ambient", number(-20, 60, [&](double v) { o.model.ambient = v; })},
        {"seed", number(0, 4294967295.0, [&](double v) { o.model.seed = quint32(v); })},
        {"step-ms", number(0, 60000, [&](double v) { o.stepMs = v; })},
        {"memory", [&](const QString& t) { o.memoryFile = t; return !t.isEmpty(); }},
        {"version-byte", number(0, 255, [&](double v) { o.version = quint8(v); })},
        {"baud", number(300, 4000000, [&](double v) { o.baud = int(v); })},
        {"fault-rate", number(0, 1, [&](double v) { o.faults.rate = v; })},
        {"late-ms", number(0, 60000, [&](double v) { o.faults.lateMs = int(v); })},
        {"silence-after", number(0, 1e15, [&](double v) { o.faults.silenceAfter = qint64(v); })},
        {"silence-ms", number(0, 1e9, [&](double v) { o.faults.silenceMs = int(v); })},
        {"faults", [&](const QString& t) {
             for (const QString& kind : t.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                 if (kind == "drop") o.faults.drop = true;
                 else if (kind == "short") o.faults.shortReply = true;
                 else if (kind == "late") o.faults.late = true;
                 else if (kind == "corrupt") o.faults.corrupt = true;
                 else return false;
             }
             return true;
         }},
    };
    QList<QCommandLineOption> options{HelpOption(),
                                      QCommandLineOption(QStringLiteral("no-pacing")),
                                      QCommandLineOption(QStringLiteral("door-open"))};
    for (const auto& [name, set] : valued)
        options << QCommandLineOption(name, QString(), QStringLiteral("value"));
    OptionReader line(options);
    const OptionReader::Mistakes mistakes = line.Read(QStringList{QStringLiteral("bandora-sim")} + arguments);
    out.help = line.isSet(QStringLiteral("help"));
    if (out.help)
        return true;
    const QString unknown = !mistakes.unknown.isEmpty() ? mistakes.unknown.front() : line.positional().value(0);
    if (!unknown.isEmpty()) {
        error = QStringLiteral("unknown option %1 (see --help)").arg(unknown);
        return false;
    }
    const auto needs = [&](const QString& name) {
        error = QStringLiteral("--%1 needs a valid value (see --help)").arg(name);
        return false;
    };
    if (!mistakes.missingValue.isEmpty())
        return needs(mistakes.missingValue);
    for (const auto& [name, set] : valued)
        if (line.isSet(name) && !set(line.value(name)))
            return needs(name);
    if (out.appDir.isEmpty() || out.port == 0) {
        error = QStringLiteral("--app-dir and --port are required (see --help)");
        return false;
    }
    if (!line.isSet(QStringLiteral("faults")))
        o.faults.drop = o.faults.shortReply = o.faults.late = o.faults.corrupt = true;
    if (o.memoryFile.isEmpty())
        o.memoryFile = DefaultMemoryFile(out.appDir);
    o.pacing = !line.isSet(QStringLiteral("no-pacing"));
    out.doorOpen = line.isSet(QStringLiteral("door-open"));
    return true;
}

} // namespace bandora::sim
