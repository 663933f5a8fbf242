#pragma once

// A run of the program's acquisition against the virtual instrument, without
// the main window: the run control, the cycle and the calibration with a
// scripted window and a display that draws nothing. Ticks are driven by the
// test, each moving the test clock by the timer's 30 ms.

#include "../../bench/NoDisplay.h"
#include "core/AppState.h"
#include "core/acquisition/AcquisitionCycle.h"
#include "core/acquisition/Calibration.h"
#include "core/acquisition/RunControl.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFiles.h"
#include "core/tools/LightTemperatureControl.h"
#include "core/tools/LinkOutputSender.h"
#include "support/ScriptWindow.h"
#include "support/SimulatedInstrument.h"

#include <QDir>
#include <QFileInfo>

namespace bandora::test {

struct RunRig {
    explicit RunRig(const sim::SimOptions& options = FastSimOptions())
        : inst(options), state(inst.AppDir(), inst.op, inst.clock, events), sender(state),
          tools(state.project, sender, inst.clock), cal(state, cycle, window),
          acq(state, cycle, tools, display, recorder),
          run(state, cycle, tools, display, recorder, cal, window)
    {
        EXPECT_TRUE(inst.Open());
        state.link = inst.link.get();
        state.plate = BuiltInPlate(QStringLiteral("w96f"));
        state.project.Num_proj = 1;
        state.project.Save_real = 1;
        state.projectFolder = QDir(inst.AppDir()).filePath(QStringLiteral("proj1"));
        QDir().mkpath(state.projectFolder);
        cycle.Dimension(state.project.RT_Buffer);
        cal.stopRun = [this] { run.StopRun(); };
        acq.hooks.StopTimer = [this] { window.StopTimer(); };
        acq.hooks.StopRun = [this] { run.StopRun(RunStopReason::LapseEnd); };
        acq.hooks.Report = [this] { ++reports; };
        acq.hooks.RecordingStatus = [this](const QString& why) { notice = why; };
        acq.hooks.AutoAdjust = [this](std::array<bool, kChannelTable>& done) { cal.RunAutoAdjust(done); };
    }

    // Starts a run named `name` (empty: Monitor mode, answered OK).
    void Start(const QString& name)
    {
        cycle.Dimension(state.project.RT_Buffer);
        inst.op.replies.enqueue(name);
        if (name.isEmpty())
            inst.op.answers.enqueue(Answer::Ok);
        run.StartRun();
    }

    // Ticks while the timer runs, at most n.
    int Ticks(int n)
    {
        int done = 0;
        for (; done < n && window.timerOn; ++done) {
            inst.clock.advance(30);
            acq.OnAcquisitionTick();
        }
        return done;
    }

    QString Experiment() const { return QDir(state.projectFolder).filePath(state.ExperimentFolderName); }
    qint64 Size(const QString& name) const { return QFileInfo(QDir(Experiment()).filePath(name)).size(); }

    SimulatedInstrument inst;
    TestEventPump events;
    AppState state;
    CycleState cycle;
    LinkOutputSender sender;
    LightTemperatureControl tools;
    bench::NoDisplay display;
    ExperimentRecorder recorder;
    ScriptWindow window;
    Calibration cal;
    AcquisitionCycle acq;
    RunControl run;
    int reports = 0;
    QString notice;
};

} // namespace bandora::test
