// Cancel on the prompts of Start starts nothing; an empty name confirmed
// with OK is a Monitor run.

#include "RunRig.h"

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(StartRun, CancelOnANamePromptStartsNoRun)
{
    const QString cancel = ScriptedOperator::CancelReply();
    struct Case {
        const char* what;
        QStringList replies;   // to the name prompt, then to the second prompt
        QList<Answer> answers; // to "Name is EMPTY..."
        AcquisitionState state; // afterwards
        bool recording;
    };
    constexpr auto stopped = AcquisitionState::Stopped, running = AcquisitionState::Running;
    const Case cases[] = {
        {"empty, confirmed with OK: a Monitor run", {QString()}, {Answer::Ok}, running, false},
        {"cancel at once", {cancel}, {}, stopped, false},
        {"cancel on both prompts", {QString(), cancel}, {Answer::Cancel}, stopped, false},
        {"empty again on the second prompt", {QString(), QString()}, {Answer::Cancel}, running, false},
        {"named on the second prompt", {QString(), QStringLiteral("larvae")}, {Answer::Cancel}, running, true},
    };
    for (const Case& c : cases) {
        RunRig r;
        r.inst.op.replies.append(c.replies);
        r.inst.op.answers.append(c.answers);
        r.run.StartRun();
        EXPECT_EQ(r.state.run.State, c.state) << c.what;
        EXPECT_EQ(r.window.timerOn, c.state == running) << c.what;
        EXPECT_EQ(r.state.run.Recording, c.recording) << c.what;
        EXPECT_EQ(r.inst.op.unscripted, 0) << c.what;
        EXPECT_EQ(r.inst.op.texts().contains(
                      QStringLiteral("Name is EMPTY. Activity is NOT going to be CALCULATED/RECORDED!")),
                  !c.answers.isEmpty())
            << c.what;
        if (!c.recording) {
            r.Ticks(2 * 500); // a Monitor run's buffer cycles leave no files either
            EXPECT_TRUE(QDir(r.state.project.folder).isEmpty()) << c.what;
        }
        r.run.StopRun();
    }
}
