#include "ExperimentJoin.h"

#include "core/common/Rounding.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <array>

namespace bandora {

namespace {

const QString kSubprojFile = QStringLiteral("subproj.dat");
const QString kJointFiles = QStringLiteral("Joint Files");

// A folder of that name that a join may use: a new one, or one that an
// earlier join of the same minute made (only subproj.dat saying "Joint
// Files" and counts.bin).
bool FolderFreeForJoin(const QDir& folder)
{
    if (!folder.exists())
        return true;
    if (QFileInfo(folder.filePath(QStringLiteral("setup.dat"))).exists() ||
        QFileInfo(RealTimeFilePath(folder.path(), 0)).exists())
        return false;
    const QString subproj = folder.filePath(kSubprojFile);
    if (!QFileInfo(subproj).isFile())
        return !QFileInfo(CountsFilePath(folder.path())).exists();
    try {
        RecordReader reader = RecordReader::FromFile(subproj);
        reader.ReadText();
        return reader.ReadText() == kJointFiles;
    } catch (const RecordError&) {
        return false;
    }
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

JoinResult JoinExperiments(const QString& projectFolder, const QStringList& names, const QDateTime& now)
{
    JoinResult result;
    result.FolderName = now.toString(QStringLiteral("ddMMyyyy_hhmm"));

    // Any real start is earlier than a day from now.
    QDateTime earliest = now.addDays(1);
    QVector<QDateTime> starts;
    for (const QString& name : names) {
        QDateTime start = StartOfExperimentFolder(name);
        if (!start.isValid())
            start = now;
        starts.push_back(start);
        earliest = qMin(earliest, start);
    }
    for (const QDateTime& start : starts)
        result.Offsets.push_back(qint32(RoundHalfEven(earliest.secsTo(start) / 60.0)));

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
            project.rmdir(result.FolderName);
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

    QString block = QStringLiteral("Data Block: ");
    for (const QString& name : names)
        block += name + QStringLiteral(" + ");
    try {
        RecordWriter().Header(block).Header(kJointFiles).WriteTo(target.filePath(kSubprojFile));
    } catch (const RecordError& e) {
        result.Outcome = JoinResult::Status::Failed;
        result.Error = QString::fromUtf8(e.what());
    }
    return result;
}

} // namespace bandora
