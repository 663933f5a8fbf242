#include "ExperimentJoin.h"

#include "core/common/Rounding.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SubprojectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace bandora {

namespace {

const QString kJointFiles = QStringLiteral("Joint Files");

// The files a run copies from its project into the experiment folder: a
// joined experiment carries those of its first part, so that it is reported
// with the plate and groups it was recorded with.
const QStringList kProjectFiles{QStringLiteral("setup.dat"), QStringLiteral("status.dat"),
                                QStringLiteral("threshld.dat"), QStringLiteral("groups.dat"),
                                QStringLiteral("chgroup.dat")};

bool SaysJointFiles(const QString& folder)
{
    try {
        return ReadSubprojectFile(folder).Description == kJointFiles;
    } catch (const RecordError&) {
        return false;
    }
}

// A folder of that name that a join may use: a new one, or one that an
// earlier join of the same minute made (subproj.dat saying "Joint Files",
// counts.bin and the project files, but no real-time file).
bool FolderFreeForJoin(const QDir& folder)
{
    if (!folder.exists())
        return true;
    if (QFileInfo(RealTimeFilePath(folder.path(), 0)).exists())
        return false;
    if (QFileInfo(SubprojectFilePath(folder.path())).isFile())
        return SaysJointFiles(folder.path());
    return !QFileInfo(CountsFilePath(folder.path())).exists() &&
           !QFileInfo(folder.filePath(QStringLiteral("setup.dat"))).exists();
}

// Copies the project files of the first part that has a setup.dat (an
// earlier join made before joins carried them has none). Empty on success,
// else what failed.
QString CopyProjectFiles(const QDir& project, const QStringList& parts, const QDir& target)
{
    // An earlier join of the same minute is replaced whole, its copies too.
    for (const QString& name : kProjectFiles)
        QFile::remove(target.filePath(name));
    for (const QString& part : parts) {
        const QDir from(project.filePath(part));
        if (!QFileInfo(from.filePath(kProjectFiles.front())).isFile())
            continue;
        for (const QString& name : kProjectFiles) {
            if (!QFileInfo(from.filePath(name)).isFile())
                continue;
            if (CopyFile(from.filePath(name), target.filePath(name)) != 1)
                return QDir::toNativeSeparators(target.filePath(name)) + QStringLiteral(": cannot be written");
        }
        return {};
    }
    return {};
}

} // namespace

QDateTime StartOfExperimentFolder(const QString& name)
{
    const QString stem = ExperimentFolderStem(name);
    if (stem.isEmpty())
        return {};
    return QDateTime::fromString(stem, QStringLiteral("ddMMyyyy_hhmm"));
}

QString JoinQuestion(const QStringList& names)
{
    QString text = QStringLiteral("Would you like to Join:\r\n");
    for (const QString& name : names)
        text += name + QStringLiteral("\r\n");
    return text + QStringLiteral(" ?");
}

JoinResult JoinExperiments(const QString& projectFolder, const QStringList& listed, const QDateTime& now)
{
    JoinResult result;
    result.FolderName = now.toString(QStringLiteral("ddMMyyyy_hhmm"));

    // The parts go in the order they were recorded, whatever the order of the
    // list: the readers of counts.bin take a time that falls back by more
    // than 1000 minutes for the next day, so records out of time order would
    // be binned days late.
    QVector<QPair<QDateTime, QString>> parts;
    for (const QString& name : listed) {
        const QDateTime start = StartOfExperimentFolder(name);
        parts.push_back({start.isValid() ? start : now, name});
    }
    std::stable_sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList names;
    for (const auto& part : parts) {
        names << part.second;
        result.Offsets.push_back(qint32(RoundHalfEven(parts.front().first.secsTo(part.first) / 60.0)));
    }
    result.Parts = names;

    const QDir project(projectFolder);
    const QDir target(project.filePath(result.FolderName));
    if (names.contains(result.FolderName) || !FolderFreeForJoin(target)) {
        result.Outcome = JoinResult::Status::FolderInUse;
        return result;
    }
    const bool newFolder = !target.exists();
    if (!project.mkpath(result.FolderName)) {
        result.Outcome = JoinResult::Status::Failed;
        result.Error = QDir::toNativeSeparators(target.path()) + QStringLiteral(": the folder cannot be created");
        return result;
    }

    // A failed join leaves nothing behind, not even the folder it made.
    auto fail = [&](const QString& error) {
        result.Outcome = JoinResult::Status::Failed;
        result.Error = error;
        if (newFolder)
            QDir(target).removeRecursively();
        return result;
    };
    // The joined records are written beside counts.bin and take its place
    // only when complete: a failed join leaves no half-joined file, and an
    // earlier join's longer file of the same minute is replaced whole.
    QSaveFile out(CountsFilePath(target.path()));
    if (!out.open(QIODevice::WriteOnly))
        return fail(QDir::toNativeSeparators(out.fileName()) + QStringLiteral(": ") + out.errorString());
    std::array<char, kCountsRecordBytes> bytes{};
    for (int i = 0; i < names.size(); ++i) {
        CountsFileReader in(CountsFilePath(project.filePath(names[i])));
        if (!in.IsOpen()) {
            out.cancelWriting();
            out.commit(); // discards the unfinished file
            return fail(in.ErrorText());
        }
        for (qint64 r = 0; r < in.RecordCount(); ++r) {
            const auto rec = in.Read(r);
            if (!rec) {
                out.cancelWriting();
                out.commit();
                return fail(QDir::toNativeSeparators(CountsFilePath(project.filePath(names[i]))) +
                            QStringLiteral(": record %1 cannot be read").arg(r));
            }
            EncodeCountsRecord(rec->ElapsedMinutes + result.Offsets[i], rec->IntervalCount, bytes);
            if (out.write(bytes.data(), bytes.size()) != qint64(bytes.size()))
                break;
            ++result.Records;
        }
    }
    if (!out.commit())
        return fail(QDir::toNativeSeparators(out.fileName()) + QStringLiteral(": ") + out.errorString());
    if (const QString error = CopyProjectFiles(project, names, target); !error.isEmpty())
        return fail(error);

    QString block = QStringLiteral("Data Block: ");
    for (const QString& name : names)
        block += name + QStringLiteral(" + ");
    try {
        WriteSubprojectFile(target.path(), block, kJointFiles);
    } catch (const RecordError& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    return result;
}

} // namespace bandora
