#pragma once

// Joining experiments: a run split into parts becomes one experiment that
// can be reported as a whole. The activity records of the parts go, part
// after part, into the counts.bin of a new experiment folder named by the
// minute of the join, each record's time raised by the minutes its part
// started after the earliest part. The parts are joined in the order they
// were recorded. The new folder holds that file, subproj.dat and the project
// files of the first part (setup.dat, status.dat, threshld.dat, groups.dat,
// chgroup.dat), so that it reports with the plate and groups of the run:
//
//   "Data Block: 05122026_1000 + 05122026_1200 + "
//   "Joint Files"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace bandora {

// The date and time an experiment folder name ddmmyyyy_hhmm spells; invalid
// for a name of another length or one that spells no date.
QDateTime StartOfExperimentFolder(const QString& name);

// The question asked before a join.
QString JoinQuestion(const QStringList& names);

struct JoinResult {
    enum class Status {
        Joined,
        FolderInUse, // the minute's folder is a recorded experiment: nothing written
        Failed,      // a file could not be read or written: nothing kept
    };
    Status Outcome = Status::Joined;
    QString FolderName;          // ddmmyyyy_hhmm of the join
    qint64 Records = 0;          // records written
    QStringList Parts;           // the parts in the order joined: by their start
    QVector<qint32> Offsets;     // start offset of each part of Parts, in minutes
    QString Error;               // what went wrong, for the message

    explicit operator bool() const { return Outcome == Status::Joined; }
};

// Joins the experiments `names` of the project folder, earliest start first
// (a name that spells no start counts as starting now; parts of the same
// start keep their order), into a new folder named by `now`. An earlier join of the same minute is replaced whole; a recorded
// experiment of that minute (one of the parts, or a run started in it) is
// never written into.
JoinResult JoinExperiments(const QString& projectFolder, const QStringList& names, const QDateTime& now);

} // namespace bandora
