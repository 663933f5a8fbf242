#include "support/ProgramRig.h"
#include "support/RecordingOpener.h"

#include "core/analysis/ReportFixture.h"
#include "core/analysis/ReportGenerator.h"
#include "gui/DesktopOpener.h"
#include "gui/FrmReport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// A report window on a hand-made experiment, opening nothing.
struct ReportHarness {
    ReportHarness()
    {
        f.SmallPlate();
        window.SetInputFolder(f.folder);
    }

    ExperimentFixture f;
    ScriptedOperator op;
    TestClock clock{QDateTime(QDate(2026, 1, 5), QTime(12, 0))};
    TestEventPump events;
    AppState state{f.appDir, op, clock, events};
    RecordingOpener desktop;
    FrmReport window{state, desktop};
    QStringList& opened = desktop.opened;
};

} // namespace

TEST(ReportWindow, SeparatorAndRawDataFrameFollowTheirControls)
{
    ReportHarness h;
    FrmReport& w = h.window;
    // What the separator box holds is the separator.
    w.txt_spacer->setText(QStringLiteral("|"));
    w.opt_list->click();
    EXPECT_EQ(w.Options().Separator, QStringLiteral("|"));
    EXPECT_EQ(w.Options().Layout, ReportLayout::List);

    // The raw-data frame needs a first real-time file; Cancel folds it away.
    w.show();
    w.mn_rawdata->trigger();
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Real Time Data Not Found")});
    EXPECT_FALSE(w.frm_raw->isVisible());
    WriteAll(h.f.file(QStringLiteral("0.bin")), QByteArray(16, '\0'));
    w.mn_rawdata->trigger();
    EXPECT_TRUE(w.frm_raw->isVisible());
    w.cmd_cancel->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.frm_raw->isVisibleTo(&w));
    EXPECT_TRUE(h.opened.isEmpty());
}

TEST(ReportWindow, GenerateWritesTheReportOpensItAndCanBeCancelled)
{
    ReportHarness h;
    FrmReport& w = h.window;
    h.f.WriteCounts(CountsBytes({{5, {{0, 4}, {16, 2}}}, {25, {{0, 2}}}, {70, {{0, 1}}}, {100, {}}}));
    w.combo_bin->setCurrentText(QStringLiteral("1"));
    w.opt_list->click();
    w.opt_txt->click();
    w.chk_stddev->click();
    w.cmd_generate->click();
    ASSERT_EQ(h.opened, QStringList{h.f.file(QStringLiteral("report.txt"))});
    EXPECT_EQ(w.combo_bin->currentText(), QStringLiteral("2"));
    EXPECT_GT(h.events.turns, 0);
    EXPECT_FALSE(w.progress->isVisible());
    EXPECT_TRUE(w.cmd_generate->isEnabled());
    EXPECT_TRUE(h.op.texts().isEmpty());

    // The window hands its options to the shared report code, whose bytes
    // for given options are ReportTool.WritesWhatTheWindowWritesAndPrintsThePath's.
    EXPECT_TRUE(w.Options().StdDev);

    // Cancel pressed while the generation runs: it stops, leaves no report
    // and hides the window.
    h.opened.clear();
    QFile::remove(h.f.file(QStringLiteral("report.txt")));
    w.show();
    h.events.onTurn = [&w](int) {
        EXPECT_TRUE(w.progress->isVisible());
        EXPECT_FALSE(w.cmd_generate->isEnabled());
        w.cmd_cancel->click();
    };
    w.cmd_generate->click();
    h.events.onTurn = nullptr;
    EXPECT_TRUE(h.opened.isEmpty());
    EXPECT_FALSE(QFile::exists(h.f.file(QStringLiteral("report.txt"))));
    EXPECT_FALSE(w.isVisible());
}

TEST(ReportWindow, ReanalysisShowsBlocksAndStopLeavesTheActivityFileWhole)
{
    ReportHarness h;
    FrmReport& w = h.window;
    RecordCycles(h.f.folder, 6);
    const QByteArray old = ReadAll(h.f.countsPath());
    w.mn_rawdata->trigger();
    w.chk_replace->click();

    // STOP at the third record of a "Replace old data" run.
    QStringList seen;
    h.events.onTurn = [&](int) {
        seen << w.lbl_status->text();
        if (seen.size() == 3)
            w.cmd_stop->click();
    };
    w.cmd_run->click();
    // That a stopped re-analysis leaves the folder as it was is
    // RawReanalysis.StopOrMissingRawDataLeaveCountsUntouched'.
    EXPECT_EQ(seen, (QStringList{"Block 0/6", "Block 1/6", "Block 2/6"}));
    EXPECT_EQ(ReadAll(h.f.countsPath()), old);
    EXPECT_TRUE(h.opened.isEmpty());
}

TEST(ReportWindow, PerWellExportAsksFirstAndOpensTheFolder)
{
    ReportHarness h;
    FrmReport& w = h.window;
    h.f.WriteCounts(CountsBytes({{10, {{0, 1}}}, {40, {{0, 2}}}, {95, {}}}));
    h.op.answers.enqueue(Answer::No);
    w.mn_perwell->trigger();
    EXPECT_EQ(h.op.texts(), QStringList{QStringLiteral("Do you like to Export 384 text files?")});
    EXPECT_FALSE(QFile::exists(h.f.file(QStringLiteral("000_A1.txt"))));
    EXPECT_TRUE(h.opened.isEmpty());

    // The files themselves are PerWellExport's.
    h.op.answers.enqueue(Answer::Yes);
    w.mn_perwell->trigger();
    EXPECT_EQ(h.opened, QStringList{h.f.folder});
    EXPECT_TRUE(QFile::exists(h.f.file(QStringLiteral("004_A3.txt"))));
}

TEST(ReportWindow, ReportCommandOfTheMainWindow)
{
    ProgramRig h;
    RecordingOpener desktop;
    ASSERT_EQ(h.Start(), Startup::Result::Running);
    h.main->SetDesktopOpener(desktop);
    h.op.clear();
    FrmMain& main = *h.main;

    const QString name = QStringLiteral("05012026_0930");
    const QString folder = QDir(h.state->project.folder).filePath(name);
    QDir().mkpath(folder);
    h.state->run.ExperimentFolderName = name;

    // With its activity file the window shows the experiment folder.
    WriteAll(CountsFilePath(folder), CountsBytes({{1, {}}, {2, {}}}));
    Child<QPushButton>(*h.main, "Cmdreport")->click();
    FrmReport* report = main.ReportWindow();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(h.op.texts().isEmpty());
    EXPECT_EQ(report->txt_folder->text(), QDir::toNativeSeparators(folder));
    Child<QComboBox>(*h.main, "combo_minutes")->setCurrentText(QStringLiteral("120"));
    report->txt_folder->clear();
    report->hide();

    // The end of a run's lapse runs the same command, on a recording only.
    h.state->run.Recording = false;
    main.ReportFinishedExperiment();
    EXPECT_FALSE(report->isVisible());
    h.state->run.Recording = true;
    main.ReportFinishedExperiment();
    EXPECT_EQ(main.ReportWindow(), report);
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(report->combo_bin->currentText(), QStringLiteral("120"));
    EXPECT_EQ(report->txt_folder->text(), QDir::toNativeSeparators(folder));
    h.state->run.Recording = false;

    // Reports go to the main window's desktop opener.
    report->cmd_generate->click();
    EXPECT_EQ(desktop.opened, QStringList{QDir(folder).filePath(QStringLiteral("report.csv"))});
}
