#pragma once

// Recorded experiments for the tests of the offline window and its core:
// the files are written by the recorder a run uses, with values that tell
// where each one came from.

#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentRecorder.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>

#include <array>
#include <stdexcept>

namespace bandora::test {

// The raw value of channel ch at tick s of buffer cycle r of a run.
inline qint16 PatternValue(int ch, int r, int s) { return qint16((ch * 7 + r * 131 + s) % 3000 + 100); }
// Its count in activity record r.
inline qint16 PatternCount(int ch, int r) { return qint16((ch + r) % 5); }

// Records `cycles` buffer cycles into the folder (which must exist): record r
// has the time r minutes and the pattern values; with saveReal false only
// counts.bin is written.
inline void RecordCycles(const QString& folder, int cycles, bool saveReal = true, int rtBuffer = 500)
{
    ExperimentRecorder recorder;
    recorder.Start(folder);
    SampleTable sample(rtBuffer);
    std::array<qint16, kChannelTable> counts{};
    for (int r = 0; r < cycles; ++r) {
        if (saveReal)
            for (int ch = 0; ch < kChannels; ++ch)
                for (int s = 0; s < rtBuffer; ++s)
                    sample(ch, s) = PatternValue(ch, r, s);
        for (int ch = 0; ch < kChannels; ++ch)
            counts[ch] = PatternCount(ch, r);
        counts[kChannels] = 250;
        if (!recorder.RecordBufferCycle(saveReal, sample, r, counts))
            throw std::runtime_error("cannot record test experiment");
    }
}

// Appends one counts record with the given time and the same count on every channel.
inline void AppendCounts(const QString& folder, qint32 minutes, qint16 count)
{
    std::array<qint16, kChannelTable> counts{};
    counts.fill(count);
    ExperimentRecorder recorder;
    recorder.Start(folder);
    if (!recorder.AppendCountsRecord(minutes, counts))
        throw std::runtime_error("cannot append counts");
}

// Copies the shipped plate files into the program folder.
inline void CopyShippedPlates(const QString& appDir)
{
    for (const QString& name : ListPlateFiles(QStringLiteral(BANDORA_DATA_DIR)))
        QFile::copy(PlateFilePath(QStringLiteral(BANDORA_DATA_DIR), name), PlateFilePath(appDir, name));
}

// Every file below a folder with its bytes, to show that nothing was written.
inline QMap<QString, QByteArray> FolderContent(const QString& folder)
{
    QMap<QString, QByteArray> content;
    const QDir dir(folder);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (f.isDir()) {
            const auto inner = FolderContent(f.filePath());
            for (auto it = inner.begin(); it != inner.end(); ++it)
                content.insert(f.fileName() + QLatin1Char('/') + it.key(), it.value());
        } else {
            content.insert(f.fileName(), ReadAll(f.filePath()));
        }
    }
    return content;
}

} // namespace bandora::test
