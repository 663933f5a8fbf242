// The instrument goes away in the middle of a run and comes back.

#include "RunRig.h"

#include "core/storage/CountsFile.h"
#include "core/storage/RealTimeFile.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(InstrumentOutage, TheRunSaysSoSkipsTheUnreadCyclesInBothFilesAndResumesByItself)
{
    struct Case {
        const char* what;
        std::function<void(RunRig&)> off, on;
    };
    const Case cases[] = {
        {"stopped and restarted (the port goes away)", [](RunRig& r) { r.inst.sim->Stop(); },
         [](RunRig& r) {
             QString error;
             ASSERT_TRUE(r.inst.sim->Start(&error) && r.inst.sim->LinkPort(r.inst.AppDir(), 4, &error))
                 << error.toStdString();
         }},
        {"switched off (the port stays)", [](RunRig& r) { r.inst.sim->SetSilent(true); },
         [](RunRig& r) { r.inst.sim->SetSilent(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunRig r;
        QStringList notices;
        r.acq.hooks.LinkStatus = [&](const QString& text) { notices << text; };
        r.state.project.setup.RT_Buffer = 100;
        r.Start(QStringLiteral("larvae"));
        ASSERT_EQ(r.Ticks(200), 200); // two buffer cycles recorded

        c.off(r);
        const QString since = r.inst.clock.now().addMSecs(30).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        ASSERT_EQ(r.Ticks(300), 300) << "the run goes on";
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices[0].contains(since)) << notices[0].toStdString();
        EXPECT_EQ(r.acq.LinkProblem(), notices[0]);

        c.on(r);
        ASSERT_EQ(r.Ticks(300), 300);
        EXPECT_EQ(notices.size(), 2);
        EXPECT_TRUE(r.acq.LinkProblem().isEmpty()) << "answers again without anyone's help";
        EXPECT_TRUE(r.notice.isEmpty()) << "nothing failed to be written";

        // Cycles 3 to 5 had no answers: neither file has them, and the
        // records of both files still pair.
        EXPECT_EQ(r.acq.SkippedCycles(), 3);
        EXPECT_EQ(r.Size(kCountsFileName), 5 * kCountsRecordBytes);
        EXPECT_EQ(r.Size(QStringLiteral("0.bin")), 5 * RealTimeRecordBytes(100));
        CountsFileReader counts(QDir(r.Experiment()).filePath(kCountsFileName));
        for (const CountsRecord& record : counts.ReadAll())
            EXPECT_GT(record.TemperatureTenths(), 100) << "a real temperature, not a failed reading";
        EXPECT_EQ(r.state.run.State, AcquisitionState::Running);
    }
}
