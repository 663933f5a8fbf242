// A recording run killed with SIGKILL at random moments: every file it leaves
// holds whole records, counts record r goes with raw record r, and the next
// start lists the experiments and records a run of its own. (A report of
// counts torn by a crash is ReportBinning's.)

#include "RunRig.h"

#include "core/offline/ExperimentBrowser.h"
#include "core/storage/CountsFile.h"
#include "core/storage/RealTimeFile.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

using namespace bandora;
using namespace bandora::test;

namespace {

constexpr int kRtBuffer = 50;

// Whole counts records and whole real-time records of a folder; -1 when a
// file ends in part of a record or a full real-time file holds other than 11.
std::pair<qint64, qint64> WholeRecords(const QString& folder)
{
    const qint64 counts = QFileInfo(CountsFilePath(folder)).size();
    const qint64 record = RealTimeRecordBytes(kRtBuffer);
    qint64 raw = 0;
    for (int n = 0; QFileInfo(RealTimeFilePath(folder, n)).isFile(); ++n) {
        const qint64 size = QFileInfo(RealTimeFilePath(folder, n)).size();
        const bool full = QFileInfo(RealTimeFilePath(folder, n + 1)).isFile();
        if (raw >= 0)
            raw = size % record || (full && size != kRecordsPerRealTimeFile * record) ? -1 : raw + size / record;
    }
    return {counts % kCountsRecordBytes ? -1 : counts / kCountsRecordBytes, raw};
}

} // namespace

TEST(CrashRecording, KillNineAtRandomMomentsLeavesWholePairedRecords)
{
    QTemporaryDir dir;
    const QString project = dir.filePath("p00001");
    QDir().mkpath(project);
    const QString child = QCoreApplication::applicationDirPath() + "/bandora_recording_child";
    std::mt19937 random(17);
    QStringList folders;
    for (int kill = 0; kill < 12; ++kill) {
        QProcess p;
        p.start(child, {project});
        ASSERT_TRUE(p.waitForStarted(5000));
        ASSERT_TRUE(p.waitForReadyRead(10000)) << "the child starts its run";
        folders << QString::fromLocal8Bit(p.readLine()).trimmed();
        // Killed at a random moment once records are coming.
        const QString counts = CountsFilePath(QDir(project).filePath(folders.back()));
        QElapsedTimer t;
        t.start();
        while (QFileInfo(counts).size() == 0 && t.elapsed() < 10000)
            QThread::msleep(2);
        QThread::msleep(std::uniform_int_distribution<unsigned>(0, 200)(random));
        p.kill();
        ASSERT_TRUE(p.waitForFinished(5000));
    }
    // A record torn by the kernel in the middle of a write, as a kill can leave it.
    const QString lastKilled = QDir(project).filePath(folders.back());
    for (const QString& torn : {CountsFilePath(lastKilled), RealTimeFilePath(lastKilled, 0)})
        WriteAll(torn, ReadAll(torn) + QByteArray(100, '\1'));

    RunRig next;
    next.state.project.folder = project;
    next.state.project.setup.RT_Buffer = kRtBuffer;
    next.state.project.setup.Aq_lapse = 30;
    next.Start(QStringLiteral("after the crashes"));
    ASSERT_TRUE(next.window.timerOn);
    next.Ticks(2 * kRtBuffer);
    next.run.StopRun();
    folders << next.state.run.ExperimentFolderName;
    EXPECT_EQ(QStringList(folders).removeDuplicates(), 0) << "every run records into a folder of its own";
    EXPECT_EQ(WholeRecords(next.Experiment()).first, 2);

    const QStringList listed = ListExperimentFolders(project);
    int withRecords = 0;
    for (const QString& name : folders) {
        const QString folder = QDir(project).filePath(name);
        const auto [counts, raw] = WholeRecords(folder);
        // The raw record goes first: a kill between the two leaves it alone at the end.
        EXPECT_TRUE(counts >= 0 && (raw == counts || raw == counts + 1)) << name.toStdString() << ": " << counts
                                                                          << " counts, " << raw << " raw records";
        if (counts <= 0)
            continue;
        ++withRecords;
        EXPECT_TRUE(listed.contains(name)) << name.toStdString();
    }
    EXPECT_EQ(withRecords, folders.size()) << "every kill fell while records were being written";
}
