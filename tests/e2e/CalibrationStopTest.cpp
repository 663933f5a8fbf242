// A calibration whose writes fail, or that the operator stops while the
// line is slow: one message in the calibration's words, and STOP heard
// while a write is still waiting.

#include "RunRig.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(CalibrationStop, AFailedWriteIsReportedOnceAndStopCutsAWaitingWriteShort)
{
    const QString kCommunication = QStringLiteral("Communication error. Check COM PORT and equipment connection.");
    {
        SCOPED_TRACE("the instrument is gone: one message, the calibration's");
        RunRig r;
        r.state.run.State = AcquisitionState::Running;
        r.inst.sim->Stop();
        r.cal.RunCalibration();
        EXPECT_EQ(r.inst.op.texts(), QStringList{kCommunication});
    }
    {
        SCOPED_TRACE("STOP while a write waits on a silent line: no message, nothing more sent");
        RunRig r;
        r.inst.link->SetEventPump(&r.events);
        r.state.run.State = AcquisitionState::Running;
        r.inst.sim->SetSilent(true);
        r.events.onTurn = [&](int turn) {
            if (turn == 3)
                r.run.StopRun();
        };
        const qint64 before = r.inst.sim->FramesReceived();
        r.cal.RunCalibration();
        EXPECT_EQ(r.state.run.State, AcquisitionState::Stopped);
        EXPECT_TRUE(r.inst.op.texts().isEmpty()) << r.inst.op.texts().join('|').toStdString();
        EXPECT_LE(r.inst.sim->FramesReceived() - before, 6) << "the write gave up at STOP";
    }
}
