#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/RealTimeFile.h"

#include "support/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace bandora;
using bandora::test::ReadAll;
using bandora::test::WriteAll;

namespace {

qint16 I16At(const QByteArray& bytes, qint64 offset)
{
    return qFromLittleEndian<qint16>(bytes.constData() + offset);
}

// A buffer cycle whose every value says where it belongs.
SampleTable CycleSamples(int rtBuffer, int cycle)
{
    SampleTable t(rtBuffer);
    for (int c = 0; c < kChannels; ++c)
        for (int s = 0; s < rtBuffer; ++s)
            t(c, s) = qint16((c * 7 + s * 3 + cycle * 11) % 4096);
    return t;
}

std::array<qint16, kChannelTable> CycleCounts(int cycle, double temperature)
{
    std::array<qint16, kChannelTable> counts{};
    for (int c = 0; c < kChannels; ++c)
        counts[c] = qint16(c + 1000 * cycle);
    counts[kChannels] = TemperatureTenths(temperature);
    return counts;
}

qint64 FileSize(const QString& path)
{
    return QFileInfo(path).size();
}

} // namespace

TEST(RecordedFiles, ThreeBufferCyclesToTheByte)
{
    QTemporaryDir dir;
    ExperimentRecorder recorder;
    recorder.Start(dir.path());
    SampleTable samples[3] = {CycleSamples(500, 0), CycleSamples(500, 1), CycleSamples(500, 2)};
    samples[1](3, 7) = -2; // stored as two's complement FE FF
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(recorder.RecordBufferCycle(true, samples[k], 10 * k + 1, CycleCounts(k, 24.96)));

    const QByteArray counts = ReadAll(dir.filePath("counts.bin"));
    ASSERT_EQ(counts.size(), 2322);
    EXPECT_EQ(qFromLittleEndian<qint32>(counts.constData() + 774), 11);
    EXPECT_EQ(I16At(counts, 774 + 4 + 2 * 5), 1005);
    EXPECT_EQ(I16At(counts, 774 + 4 + 2 * 383), 1383);
    EXPECT_EQ(I16At(counts, 774 + 772), 250) << "24.96 degrees in tenths";

    const QByteArray rt = ReadAll(dir.filePath("0.bin"));
    ASSERT_EQ(rt.size(), 3 * 385770);
    const qint64 r1 = 385770;
    EXPECT_EQ(I16At(rt, r1 + 2 * (385 * 7 + 3)), -2);
    EXPECT_EQ(I16At(rt, r1 + 2 * (385 * 499 + 383)), samples[1](383, 499));
    EXPECT_EQ(I16At(rt, r1 + 2 * (385 * 0 + 0)), samples[1](0, 0));
    EXPECT_EQ(I16At(rt, r1 + 2 * (385 * 10 + 384)), 0) << "channel 384 is never filled";
    EXPECT_EQ(I16At(rt, r1 + 2 * (385 * 500 + 20)), 0) << "nor column RT_Buffer";
}

TEST(RecordedFiles, TwelfthRecordOpensTheNextRealTimeFile)
{
    QTemporaryDir dir;
    ExperimentRecorder recorder;
    recorder.Start(dir.path());
    const SampleTable samples = CycleSamples(20, 0);
    for (int k = 0; k < 12; ++k)
        ASSERT_TRUE(recorder.RecordBufferCycle(true, samples, k, CycleCounts(k, 20.0)));
    const qint64 record = RealTimeRecordBytes(20);
    EXPECT_EQ(FileSize(dir.filePath("0.bin")), 11 * record);
    EXPECT_EQ(FileSize(dir.filePath("1.bin")), record);
    EXPECT_EQ(recorder.RealTimeFileNumber(), 1);
    EXPECT_EQ(recorder.RecordInFile(), 1);

    // Without real-time records the rotation runs all the same.
    QTemporaryDir countsOnly;
    recorder.Start(countsOnly.path());
    for (int k = 0; k < 12; ++k)
        ASSERT_TRUE(recorder.RecordBufferCycle(false, samples, k, CycleCounts(k, 20.0)));
    EXPECT_EQ(QDir(countsOnly.path()).entryList(QDir::Files), QStringList{"counts.bin"});
    EXPECT_EQ(FileSize(countsOnly.filePath("counts.bin")), 12 * 774);
    EXPECT_EQ(recorder.RealTimeFileNumber(), 1);
}

TEST(RecordedFiles, PartialRecordLeftByACrashIsCutBeforeTheNextAppend)
{
    QTemporaryDir dir;
    ExperimentRecorder recorder;
    recorder.Start(dir.path());
    const SampleTable samples = CycleSamples(20, 0);
    for (int k = 0; k < 2; ++k)
        ASSERT_TRUE(recorder.RecordBufferCycle(true, samples, k, CycleCounts(k, 20.0)));

    // A power cut in the middle of the third cycle's records.
    const QString countsPath = dir.filePath("counts.bin");
    const QString rtPath = dir.filePath("0.bin");
    const qint64 rtRecord = RealTimeRecordBytes(20);
    WriteAll(countsPath, ReadAll(countsPath) + QByteArray(300, '\x55'));
    WriteAll(rtPath, ReadAll(rtPath) + QByteArray(int(rtRecord / 2), '\x55'));

    CountsFileReader torn(countsPath);
    EXPECT_EQ(torn.RecordCount(), 2);
    EXPECT_TRUE(torn.HasPartialRecord());
    EXPECT_EQ(torn.ReadAll().size(), 2u);
    RealTimeFileReader tornRt(rtPath, 20);
    SampleTable half;
    EXPECT_EQ(tornRt.Read(2, half), rtRecord / 2) << "a partial record is read as far as it goes";
    EXPECT_EQ(half(0, 20), 0);

    const SampleTable third = CycleSamples(20, 2);
    const AppendResult result = recorder.RecordBufferCycle(true, third, 2, CycleCounts(2, 20.0));
    ASSERT_TRUE(result) << result.Error.toStdString();
    EXPECT_EQ(result.CutBytes, 300);
    EXPECT_EQ(FileSize(countsPath), 3 * 774);
    EXPECT_EQ(FileSize(rtPath), 3 * rtRecord);
    CountsFileReader repaired(countsPath);
    EXPECT_FALSE(repaired.HasPartialRecord());
    EXPECT_EQ(repaired.Read(1)->IntervalCount, CycleCounts(1, 20.0)) << "no whole record lost";
    EXPECT_EQ(repaired.Read(2)->IntervalCount, CycleCounts(2, 20.0));
    SampleTable back;
    RealTimeFileReader(rtPath, 20).Read(2, back);
    EXPECT_EQ(back, third);
}

TEST(RecordedFiles, RecordsThatCannotBeWrittenSayWhyAndStayPaired)
{
    QTemporaryDir dir;
    const SampleTable samples = CycleSamples(20, 0);

    // The experiment folder is not a folder (gone, or replaced by a file).
    const QString notAFolder = dir.filePath("15032024_1030");
    WriteAll(notAFolder, "x");
    ExperimentRecorder recorder;
    recorder.Start(notAFolder);
    AppendResult failed = recorder.RecordBufferCycle(true, samples, 0, CycleCounts(0, 20.0));
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.Error.contains("0.bin")) << failed.Error.toStdString();
    EXPECT_EQ(recorder.RecordInFile(), 0) << "the rotation waits for a stored cycle";
    failed = recorder.RecordBufferCycle(false, samples, 0, CycleCounts(0, 20.0));
    EXPECT_TRUE(failed.Error.contains("counts.bin")) << failed.Error.toStdString();

    // A full disk is reported with the system's reason.
    const AppendResult full = AppendRecord("/dev/full", std::span<const char>("abcd", 4));
    EXPECT_FALSE(full);
    EXPECT_GT(full.Error.size(), QString("/dev/full: ").size()) << full.Error.toStdString();

    // When the counts record fails after the real-time record was stored,
    // the real-time record is taken back: record r of both files stays the
    // same buffer cycle. The run then recovers once counts.bin can be written.
    const QString folder = dir.filePath("16032024_0900");
    QDir().mkpath(folder + "/counts.bin"); // a folder where the file should be
    recorder.Start(folder);
    failed = recorder.RecordBufferCycle(true, samples, 0, CycleCounts(0, 20.0));
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.Error.contains("counts.bin"));
    EXPECT_EQ(FileSize(folder + "/0.bin"), 0);
    QDir(folder + "/counts.bin").removeRecursively();
    ASSERT_TRUE(recorder.RecordBufferCycle(true, samples, 1, CycleCounts(1, 20.0)));
    EXPECT_EQ(FileSize(folder + "/0.bin"), RealTimeRecordBytes(20));
    EXPECT_EQ(CountsFileReader(folder + "/counts.bin").Read(0)->ElapsedMinutes, 1);
}
