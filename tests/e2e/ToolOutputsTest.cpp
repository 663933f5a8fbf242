// The light and temperature panels and a short run's drawing against the
// virtual instrument inside the program (--simulate): the buttons change the
// instrument's outputs over the serial line, and beams read from it move the
// trace while the regulation drives the element.

#include "core/AppState.h"
#include "core/link/InstrumentLink.h"
#include "gui/FrmInit.h"
#include "gui/FrmMain.h"
#include "gui/LivePlots.h"
#include "gui/PictureBox.h"
#include "gui/SerialInstrumentSteps.h"
#include "gui/Startup.h"
#include "sim/VirtualInstrument.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"
#include "ProgramRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

using namespace bandora;
using namespace bandora::test;

namespace {

struct Program : TemporaryFolder, ProgramRig {
    Program() : ProgramRig(tmp.path(), 4, true) { Build(true); }
};

} // namespace

TEST(ToolOutputs, ButtonsAndTheRegulationDriveTheVirtualInstrument)
{
    Program p;
    ASSERT_EQ(p.startup->Run(QString()), Startup::Result::Running);
    ASSERT_NE(p.instrument->Simulated(), nullptr);
    FrmMain& w = *p.main;

    w.cmd_luz->click();
    EXPECT_EQ(p.OutputsSoon(4), 4);
    w.cmd_ontemp->click();
    EXPECT_EQ(p.OutputsSoon(5), 5);
    w.cmd_frio->click();
    EXPECT_EQ(w.cmd_frio->text(), QStringLiteral("CALOR"));
    EXPECT_EQ(p.OutputsSoon(6), 6);

    // A short run: RT_Buffer 50, beams read from the instrument into the
    // cycle's buffers, drawn as the cycle draws them; at the buffer-cycle end
    // the temperature is read and regulated towards 30 degrees.
    p.state->project.RT_Buffer = 50;
    w.ResetCycleBuffers();
    CycleState& c = w.Cycle();
    c.ResetCounters();
    p.state->AcquisitionState = 1;
    w.Tools().SetTemperatureControl(true);
    w.Tools().TemperatureSetpoint = 30.0;
    w.Display().ResetActivityPanel();
    w.Display().ResetSignalPlot();
    w.cmd_luz->click(); // during the run: waits for the cycle
    InstrumentLink& link = *p.state->link;
    std::array<qint16, kChannelTable> values{};
    const QImage blank = w.Picreal->image().copy();
    for (int tick = 0; tick < 60; ++tick) {
        ASSERT_EQ(link.ReadAllBeams(values), 4) << tick;
        for (int ch = 0; ch < kChannels; ++ch)
            c.Sample(ch, c.Column) = values[ch];
        if (c.PlotTicks > 1) {
            w.Display().DrawNewPoints();
            w.Display().DrawActivityPanel(w.Tools().TemperatureText());
            c.PlotTicks = 0;
        }
        if (++c.Column == c.RT_Buffer()) {
            c.Column = 0;
            w.Tools().TakeTemperature(link.ReadTemperature(), p.state->factory.Slope, p.state->factory.Offset);
            w.Tools().RegulateAndSchedule();
        }
        if (c.Column % 25 == 0)
            w.Tools().PulseTrainAndPending(tick / 2000.0);
        ++c.PlotTicks;
        ++c.TotalTicks;
        ++c.TickCount;
        if (tick == 10) // ten beam reads later, the light change still waits
            EXPECT_EQ(p.instrument->Simulated()->Outputs(), 6);
        if (tick == 30) // and went out at column 25
            EXPECT_EQ(p.OutputsSoon(2), 2);
    }
    EXPECT_NE(w.Picreal->image(), blank);
    // The block at about 22 degrees is below 30: the element heats.
    EXPECT_LT(w.Tools().Temperature, 29.4);
    EXPECT_EQ(p.OutputsSoon(3), 3);
    EXPECT_EQ(w.cmd_ontemp->text(), QStringLiteral("ON"));

    w.Tools().SwitchOff();
    EXPECT_EQ(p.OutputsSoon(2), 2);
    p.op.answers.enqueue(Answer::No);
    w.Shutdown();
}
