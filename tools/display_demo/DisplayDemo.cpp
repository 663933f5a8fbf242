// Shows the main window on the project of an application folder and runs its
// acquisition cycle on synthetic beams. For looking at the layout and taking
// screenshots without an instrument:
//
//   bandora_display_demo --app-dir build/default/app [--warm TICKS] [--zoom N]
//                        [--simulate]
//
// --warm runs that many ticks at once before the window shows, so the plots
// have a history; the demo then ticks every 30 ms like a run. --simulate
// reads the beams and the temperature from the virtual instrument over the
// serial line instead, and sends it the light and temperature outputs.

#include "core/AppState.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/LiveDisplay.h"
#include "core/common/ApplicationEventPump.h"
#include "core/common/Clock.h"
#include "core/link/InstrumentLink.h"
#include "core/tools/LightTemperatureControl.h"
#include "gui/ChannelSelectors.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/InstrumentSteps.h"
#include "gui/LivePlots.h"
#include "gui/QtOperator.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/Startup.h"
#include "gui/ToolPanels.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace bandora;

namespace {

class DemoInstrument final : public InstrumentSteps {
public:
    void FindInstrument(AppState& state, const std::function<void(const QString&)>&) override
    {
        state.instrument.OfflineMode = false;
    }
    void ReadFactoryCalibration(AppState&) override {}
    void ClosePort(AppState&) override {}
};

// Beams of a plate with an organism per well that now and then crosses one
// of its beams, and a block whose temperature follows the element.
class SyntheticPlate {
public:
    SyntheticPlate(AppState& state, LightTemperatureControl& tools) : state_(state), tools_(tools)
    {
        for (int ch = 0; ch < kChannelTable; ++ch)
            baseline_[size_t(ch)] = 1350 + (ch * 37) % 300;
    }

    void ReadColumn(CycleState& c)
    {
        for (int ch = 0; ch < kChannels; ++ch) {
            auto& dip = dip_[size_t(ch)];
            // Some wells are busier than others.
            if (dip == 0 && int(rng_.bounded(1000)) < 4 + 10 * ((ch * 13) % 5))
                dip = 2 + int(rng_.bounded(8));
            const int depth = dip > 0 ? 250 + int(rng_.bounded(250)) : 0;
            if (dip > 0)
                --dip;
            c.Sample(ch, c.Column) = qint16(baseline_[size_t(ch)] - depth + int(rng_.bounded(31)) - 15);
        }
    }

    // The block warms while heating, cools while cooling, and drifts towards
    // the room otherwise; read as the instrument would give it.
    int ReadTemperature()
    {
        if (tools_.ActuatorOn)
            block_ += tools_.HeaterOn ? 0.15 : -0.15;
        else
            block_ += (22.0 - block_) * 0.02;
        return int(std::lround((block_ - state_.instrument.factory.Offset) / state_.instrument.factory.Slope));
    }

private:
    AppState& state_;
    LightTemperatureControl& tools_;
    QRandomGenerator rng_{1234};
    std::array<int, kChannelTable> baseline_{};
    std::array<int, kChannelTable> dip_{};
    double block_ = 23.8;
};

// Three groups of wells by plate column, so the group list and bar have
// something to show.
void NameGroups(AppState& state)
{
    ProjectSetup& p = state.project.setup;
    p.GroupName[1] = QStringLiteral("control");
    p.GroupName[2] = QStringLiteral("treated_10uM");
    p.GroupName[3] = QStringLiteral("treated_50uM");
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = state.project.plate.ChannelWell[size_t(ch)];
        p.ChannelEnabled[size_t(ch)] = well >= 0;
        if (well < 0) {
            p.ChannelGroup[size_t(ch)] = -1;
            continue;
        }
        const int column = well / std::max<int>(state.project.plate.Rows, 1);
        p.ChannelGroup[size_t(ch)] = qint16(1 + column * 3 / std::max<int>(state.project.plate.Columns, 1));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("app-dir"), QStringLiteral("application folder"), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("warm"), QStringLiteral("ticks run before showing"), QStringLiteral("N"),
                      QStringLiteral("650")});
    parser.addOption({QStringLiteral("zoom"), QStringLiteral("zoom steps"), QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("simulate"), QStringLiteral("read the virtual instrument")});
    parser.process(app);

    QtOperator op;
    SystemClock clock;
    ApplicationEventPump events;
    AppState state(QDir(parser.value(QStringLiteral("app-dir"))).absolutePath(), op, clock, events);
    DemoInstrument synthetic;
    std::unique_ptr<SerialInstrumentSteps> serial;
    InstrumentSteps* instrument = &synthetic;
    if (parser.isSet(QStringLiteral("simulate"))) {
        serial = std::make_unique<SerialInstrumentSteps>(state, true);
        instrument = serial.get();
    }
    FrmMain main(state, *instrument);
    FrmInit splash;
    Startup startup(state, main, splash, *instrument, SplashTimings{1, 1});
    if (startup.Run(QString()) != Startup::Result::Running)
        return 1;

    // Every tool panel shown, the light on a pulse train, the temperature
    // regulated at 25.0 degrees.
    ProjectSetup& p = state.project.setup;
    p.Menu1 = p.Menu2 = p.Menu3 = 1;
    p.MenuParam[2] = {1, 8, 20, 3, 10, 20};
    p.MenuParam[3] = {1, 250, 0, 0, 0, 0};
    NameGroups(state);
    main.ShowToolFrames();
    main.ToolPanel().Fill();
    main.FillSelectors();
    main.Selectors().ChooseItem(QStringLiteral("C7.0"));

    state.run.State = AcquisitionState::Running;
    main.findChild<QPushButton*>(QStringLiteral("CmdPlay"))->setEnabled(false);
    main.findChild<QPushButton*>(QStringLiteral("CmdPause"))->setEnabled(true);
    main.Cycle().ResetCounters();
    main.Cycle().ResetChannels();
    main.Display().ResetActivityPanel();
    if (state.instrument.link && !state.instrument.OfflineMode)
        main.Tools().TakeTemperature(state.instrument.link->ReadTemperature(), state.instrument.factory.Slope,
                                     state.instrument.factory.Offset);
    main.Tools().LightAtRunStart();
    main.Display().ResetSignalPlot();
    main.Display().ShowElapsed(0, 0, p.Aq_lapse);
    // Beams counted tick by tick, as outside zero mode. The warming ticks
    // count as run time already passed.
    const int warm = parser.value(QStringLiteral("warm")).toInt();
    state.run.AutoZero = false;
    state.run.RunStart = clock.now().addMSecs(-30LL * warm);
    state.run.RunStartMs = clock.monotonicMs() - 30LL * warm;
    main.Display().RunStarted();

    // Without the virtual instrument the window's own acquisition cycle
    // reads synthetic beams.
    SyntheticPlate plate(state, main.Tools());
    if (!state.instrument.link || state.instrument.OfflineMode)
        main.Acquisition().UseSyntheticBeams(
            {[&plate](CycleState& c) { plate.ReadColumn(c); }, [&plate] { return plate.ReadTemperature(); }});
    for (int i = 0; i < warm; ++i)
        main.Acquisition().OnAcquisitionTick();
    for (int i = 0, n = parser.value(QStringLiteral("zoom")).toInt(); i < n; ++i)
        main.findChild<QPushButton*>(QStringLiteral("Cmdzoom_plus"))->click();

    // The window's own acquisition timer drives the ticks, as in a run; while
    // it runs, activating the window leaves the buffers alone.
    main.AcquisitionTimer().start(30);
    QObject::connect(&main, &FrmMain::programEnded, &app, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}
