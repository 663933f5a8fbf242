// A long run against the virtual instrument at the test clock's speed: the
// acquisition cycle as the main window drives it, one tick per timer period of
// simulated time, with 1 % of the replies going wrong and the instrument
// stopped for a while halfway through. Prints the buffer cycles run against
// the records written (and those left out because the instrument did not
// answer), the memory at the start and at the end, and the time it took.
//
//   bench_soak [--days 14] [--tick-ms 30] [--rt-buffer 500] [--outage-min 20]
//              [--fault-rate 0.01] [--no-real]
//
// Fourteen days at the timer's 30 ms are 40 million ticks; on a small machine
// shorten the run with --days or make each tick stand for more time with
// --tick-ms (the records then cover the same days with fewer buffer cycles;
// the organisms still move one timer period per read). Every wait for a
// reply is real time, so the faulty replies set the pace: about 100 ticks a
// second on a quiet two-core machine.

#include "NoDisplay.h"

#include "core/AppState.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/CycleState.h"
#include "core/acquisition/LiveDisplay.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/link/InstrumentLink.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/RealTimeFile.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/LinkOutputSender.h"
#include "sim/VirtualInstrument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

using namespace bandora;

namespace {

class SimulatedClock final : public Clock {
public:
    QDateTime now() const override { return start_.addMSecs(ms_); }
    qint64 monotonicMs() const override { return ms_; }
    void pause(int ms) override { ms_ += ms; }
    void advance(qint64 ms) { ms_ += ms; }

private:
    QDateTime start_{QDate(2026, 12, 5), QTime(10, 0)};
    qint64 ms_ = 0;
};

class QuietOperator final : public Operator {
public:
    Answer ask(const QString& text, Buttons) override
    {
        std::fprintf(stderr, "  message: %s\n", qPrintable(text));
        return Answer::Ok;
    }
    QString prompt(const QString&, const QString&) override { return {}; }
};

using bench::NoDisplay;

// Resident and peak memory of this process in kB, from /proc.
std::pair<qint64, qint64> MemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    qint64 rss = -1, peak = -1;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmRSS:")
                rss = parts[1].toLongLong();
            if (parts.size() >= 2 && parts[0] == "VmHWM:")
                peak = parts[1].toLongLong();
        }
    }
    return {rss, peak};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A long acquisition run against the virtual instrument."));
    parser.addHelpOption();
    const QCommandLineOption days({QStringLiteral("days")}, QStringLiteral("simulated days"), QStringLiteral("D"),
                                  QStringLiteral("14"));
    const QCommandLineOption tickMs({QStringLiteral("tick-ms")}, QStringLiteral("simulated time per tick"),
                                    QStringLiteral("MS"), QStringLiteral("30"));
    const QCommandLineOption rtBuffer({QStringLiteral("rt-buffer")}, QStringLiteral("ticks per buffer cycle"),
                                      QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption outageMin({QStringLiteral("outage-min")},
                                       QStringLiteral("minutes the instrument is stopped halfway"),
                                       QStringLiteral("M"), QStringLiteral("20"));
    const QCommandLineOption faultRate({QStringLiteral("fault-rate")}, QStringLiteral("share of faulty replies"),
                                       QStringLiteral("R"), QStringLiteral("0.01"));
    const QCommandLineOption noReal({QStringLiteral("no-real")}, QStringLiteral("no real-time records"));
    parser.addOptions({days, tickMs, rtBuffer, outageMin, faultRate, noReal});
    parser.process(app);
    const double runDays = parser.value(days).toDouble();
    const qint64 tick = std::max(1LL, parser.value(tickMs).toLongLong());
    const int buffer = parser.value(rtBuffer).toInt();
    const qint64 outageMs = qint64(parser.value(outageMin).toDouble() * 60000.0);
    const qint64 runMs = qint64(runDays * 86400000.0);
    if (runDays <= 0 || runDays * 1440 > 32000 || buffer < 2) {
        std::fprintf(stderr, "bench_soak: --days must be above 0 and at most 22, --rt-buffer at least 2\n");
        return 2;
    }

    QTemporaryDir dir;
    sim::SimOptions options;
    options.pacing = false;
    options.stepMs = 30.0; // the organisms move one timer period per read, however long a tick stands for
    options.faults.rate = parser.value(faultRate).toDouble();
    options.faults.drop = options.faults.shortReply = options.faults.late = options.faults.corrupt = true;
    options.faults.lateMs = 150;
    const PlateFormat plate = BuiltInPlate(QStringLiteral("w96f"));
    sim::VirtualInstrument instrument(options, plate);
    QString error;
    if (!instrument.Start(&error) || !instrument.LinkPort(dir.path(), 4, &error)) {
        std::fprintf(stderr, "bench_soak: %s\n", qPrintable(error));
        return 1;
    }

    SimulatedClock clock;
    QuietOperator op;
    NoEventPump events;
    AppState state(dir.path(), op, clock, events);
    InstrumentLink link(dir.path(), clock);
    if (!link.SetPortNumber(4) || !link.Open()) {
        std::fprintf(stderr, "bench_soak: cannot open the virtual instrument's port\n");
        return 1;
    }
    CycleState cycle;
    LinkOutputSender sender(state.instrument);
    LightTemperatureControl tools(state.project.setup, sender, clock);
    NoDisplay display;
    ExperimentRecorder recorder;
    AcquisitionCycle acq(state, cycle, tools, display, recorder);

    state.instrument.link = &link;
    state.project.plate = plate;
    state.project.setup.Num_proj = 1;
    state.project.setup.RT_Buffer = qint16(buffer);
    state.project.setup.Aq_lapse = qint16(std::ceil(runDays * 1440.0));
    state.project.setup.Save_real = parser.isSet(noReal) ? 0 : 1;
    state.project.setup.ChannelThreshold.fill(5.0);
    cycle.Dimension(buffer);
    cycle.ResetCounters();
    cycle.ResetChannels();
    const QString folder = dir.filePath(QStringLiteral("experiment"));
    QDir().mkpath(folder);
    recorder.Start(folder);
    state.run.Recording = true;
    state.run.State = AcquisitionState::Running;
    state.run.RunStart = clock.now();
    bool stopped = false;
    acq.hooks.StopRun = [&] { state.run.State = AcquisitionState::Stopped; stopped = true; };
    acq.hooks.LinkStatus = [&](const QString& text) {
        std::fprintf(stderr, "  day %.3f: %s\n", clock.monotonicMs() / 86400000.0,
                     text.isEmpty() ? "the instrument answers again" : qPrintable(text));
    };

    const auto [rssStart, peakStart] = MemoryKb();
    QElapsedTimer wall;
    wall.start();
    const qint64 outageFrom = runMs / 2, outageTo = runMs / 2 + outageMs;
    bool down = false;
    qint64 ticks = 0, cycles = 0;
    while (!stopped && clock.monotonicMs() < runMs + 60000) {
        const qint64 t = clock.monotonicMs();
        if (!down && t >= outageFrom && t < outageTo) {
            instrument.Stop();
            down = true;
        } else if (down && t >= outageTo) {
            if (!instrument.Start(&error) || !instrument.LinkPort(dir.path(), 4, &error)) {
                std::fprintf(stderr, "bench_soak: the instrument does not come back: %s\n", qPrintable(error));
                return 1;
            }
            down = false;
        }
        clock.advance(tick);
        acq.OnAcquisitionTick();
        ++ticks;
        if (cycle.Column == 0)
            ++cycles;
        if (ticks % 1000000 == 0)
            std::fprintf(stderr, "  %lld ticks, day %.2f, %.0f s\n", ticks, clock.monotonicMs() / 86400000.0,
                         wall.elapsed() / 1000.0);
    }
    const double seconds = wall.elapsed() / 1000.0;
    const auto [rssEnd, peakEnd] = MemoryKb();

    const qint64 countsRecords = QFileInfo(QDir(folder).filePath(kCountsFileName)).size() / kCountsRecordBytes;
    qint64 realBytes = 0;
    for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.bin")}, QDir::Files))
        if (f.fileName() != QLatin1String(kCountsFileName))
            realBytes += f.size();
    const qint64 realRecords = realBytes / RealTimeRecordBytes(buffer);
    const bool allAccounted = countsRecords + acq.SkippedCycles() == cycles
                              && (state.project.setup.Save_real == 0 || realRecords == countsRecords);

    std::printf("simulated          %.2f days, %lld ticks of %lld ms, buffer cycles of %d ticks\n",
                clock.monotonicMs() / 86400000.0, ticks, tick, buffer);
    std::printf("faults             %.1f %% of replies, instrument stopped %.0f min from day %.2f\n",
                options.faults.rate * 100.0, outageMs / 60000.0, outageFrom / 86400000.0);
    std::printf("buffer cycles run  %lld\n", cycles);
    std::printf("counts records     %lld\n", countsRecords);
    std::printf("real-time records  %lld\n", state.project.setup.Save_real ? realRecords : -1);
    std::printf("cycles left out    %lld (no answers from the instrument)\n", acq.SkippedCycles());
    std::printf("every cycle        %s\n", allAccounted ? "recorded or left out, files paired" : "NOT ACCOUNTED FOR");
    std::printf("memory             %lld kB at start, %lld kB at end (peak %lld kB)\n", rssStart, rssEnd, peakEnd);
    std::printf("time taken         %.1f s (%.0f ticks/s)\n", seconds, ticks / std::max(seconds, 1e-3));
    Q_UNUSED(peakStart);
    return allAccounted ? 0 : 1;
}
