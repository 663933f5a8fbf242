#pragma once

// Appends the records of a recording run to its experiment folder: at the end
// of every buffer cycle one real-time record (when Save_real is 1) and one
// counts record, then the 11-record rotation of the real-time files. Layouts
// are in CountsFile.h and RealTimeFile.h.

#include "BinaryRecordFile.h"
#include "ProjectSetup.h"
#include "RunManifest.h"
#include "SampleTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

namespace bandora {

class ExperimentRecorder {
public:
    // Writes the files that describe the run (the project files and
    // subproj.dat) into the experiment folder; returns why they could not
    // be written, empty when they were.
    using ProjectFilesWriter = std::function<QString()>;

    // Run start: records go to this folder (which exists and holds no
    // other run's records), file and record numbers start at 0. The project
    // files are written at once; when they cannot be, every buffer cycle
    // tries again until they are.
    void Start(const QString& experimentFolder, ProjectFilesWriter writeProjectFiles = {});

    // Why recording fails now (a record first, else the project files);
    // empty while everything is written.
    const QString& Problem() const { return problem_; }
    // Told whenever Problem() changes.
    std::function<void(const QString&)> onProblem;

    const QString& ExperimentFolder() const { return folder_; }
    qint16 RecordInFile() const { return recordInFile_; }           // next record in the real-time file
    qint16 RealTimeFileNumber() const { return realTimeFileNumber_; }

    // The whole sample table of the buffer cycle to the current real-time file.
    AppendResult AppendRealTimeRecord(const SampleTable& Sample);

    // One activity record: ElapsedMinutes and IntervalCount[0..384], entry 384
    // holding the temperature in tenths of a degree.
    AppendResult AppendCountsRecord(qint32 ElapsedMinutes,
                                    std::span<const qint16, kChannelTable> IntervalCount);

    // The 11-record rotation: records 0..10 go to one file, the next opens the
    // next file. It runs whether or not real-time records are written.
    void AdvanceRecord();

    // The end of one buffer cycle: both records, then the rotation. Counts
    // record r and real-time record r describe the same buffer cycle, and the
    // readers pair them by position; so when either cannot be stored, neither
    // is kept (a real-time record already written is taken back), the
    // rotation does not advance, and the result says why. Project files
    // still waiting to be written are tried first.
    AppendResult RecordBufferCycle(bool saveReal, const SampleTable& Sample, qint32 ElapsedMinutes,
                                   std::span<const qint16, kChannelTable> IntervalCount);

    // How the recording went since Start, for the run manifest: the buffer
    // cycles stored, and the spells in which they could not be (one spell per
    // run of failing cycles, with the reason of its first failure).
    void NoteOutcome(const AppendResult& result, const QDateTime& at);
    qint64 RecordsWritten() const { return recordsWritten_; }
    const std::vector<RecordingFailure>& Failures() const { return failures_; }

private:
    AppendResult AppendBothRecords(bool saveReal, const SampleTable& Sample, qint32 ElapsedMinutes,
                                   std::span<const qint16, kChannelTable> IntervalCount);
    void TryProjectFiles();
    void Report();

    QString folder_;
    ProjectFilesWriter pendingProjectFiles_;
    QString recordsProblem_;
    QString projectFilesProblem_;
    QString problem_;
    qint64 recordsWritten_ = 0;
    std::vector<RecordingFailure> failures_;
    bool failing_ = false;
    qint16 recordInFile_ = 0;
    qint16 realTimeFileNumber_ = 0;
    QByteArray realTimeBytes_; // kept between records: a record allocates nothing
};

// A run killed in the middle of a write (kill -9, a power cut) can leave part
// of a record at the end of its files, and nothing appends to that folder
// again. The next run start cuts them back to their last whole record (the
// real-time record size from the folder's setup.dat); returns the files cut.
QStringList CutTornRecords(const QString& experimentFolder);

} // namespace bandora
