#include "ProjectFiles.h"

#include "ExperimentFolderName.h"
#include "RecordSyntax.h"
#include "core/common/Operator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

// File routines shared by the project load, the offline project list and the
// run start: line counts, copies and the search for the newest experiment.

namespace bandora {

namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr int kHeaderLines = 6;

QString FiveDigits(int number) { return QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0')); }

// yyyymmddhhmm of ddmmyyyy_hhmm and the run's number within its minute, so
// that later runs give larger numbers.
qint64 ExperimentKey(const QString& name)
{
    const QString key = name.mid(4, 4) + name.mid(2, 2) + name.mid(0, 2) + name.mid(9, 4);
    return key.toLongLong() * 10000 + ExperimentFolderSequence(name);
}

} // namespace

int CountLines(const QString& path)
{
    QFile file(path);
    // A FIFO of that name would hold the count forever.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return 0;
    qint64 lines = 0;
    char last = '\n';
    while (true) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty())
            break;
        lines += chunk.count('\n');
        last = chunk.back();
    }
    // A last line without its line end still counts.
    if (last != '\n')
        ++lines;
    return static_cast<int>(qMin<qint64>(lines, std::numeric_limits<int>::max()));
}

int CopyFile(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return -1;
    // Copying a file onto itself would truncate it first.
    if (from.canonicalFilePath() == QFileInfo(destination).canonicalFilePath())
        return -1;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return -1;
    // The copy is written beside the destination and put in its place only
    // when complete, so a full disk never leaves a half-copied file behind.
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return -1;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return -1;
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return -1;
        }
    }
    return out.commit() ? 1 : -1;
}

QString NewestExperimentFolder(const QString& folder)
{
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    QString newest;
    qint64 best = -1;
    for (const QString& name : names) {
        if (ExperimentFolderSequence(name) == 0)
            continue;
        const qint64 key = ExperimentKey(name);
        if (key > best) {
            best = key;
            newest = name;
        }
    }
    return newest;
}

QString ReadProjectHeader(const QString& projectFolder, int projectNumber, Operator& op, bool mayRestore)
{
    const QDir dir(projectFolder);
    QString setup = dir.filePath(QStringLiteral("setup.dat"));
    const QString label = QStringLiteral("<Project> p%1: ").arg(FiveDigits(projectNumber));

    int lines = QFileInfo(setup).isFile() ? CountLines(setup) : 0;
    if (lines < kHeaderLines && !mayRestore) {
        const QString backup = dir.filePath(QStringLiteral("setup.bak"));
        if (QFileInfo(backup).isFile() && CountLines(backup) >= kHeaderLines) {
            setup = backup;
            lines = CountLines(backup);
        }
    } else if (lines < kHeaderLines) {
        // An unusable setup.bak is treated as none: the experiment folders
        // may still hold a good copy.
        const QString backup = dir.filePath(QStringLiteral("setup.bak"));
        if (QFileInfo(backup).isFile() && CountLines(backup) >= kHeaderLines) {
            if (CopyFile(backup, setup) == 1)
                op.inform(QStringLiteral("Error reading Setup.dat -> recovered from Setup.bak"));
        } else {
            const QString newest = NewestExperimentFolder(projectFolder);
            const QString copy = QDir(dir.filePath(newest)).filePath(QStringLiteral("setup.dat"));
            if (!newest.isEmpty() && CountLines(copy) >= kHeaderLines && CopyFile(copy, setup) == 1)
                op.inform(QStringLiteral("Error reading Setup.dat -> recovered from ") +
                          QDir::toNativeSeparators(dir.filePath(newest)));
        }
        lines = CountLines(setup);
    }

    const QString notFound = label + QStringLiteral("SETUP NOT FOUND!!");
    if (lines < kHeaderLines)
        return notFound;
    try {
        RecordReader reader = RecordReader::FromFile(setup);
        reader.SkipLine();
        const QVector<RecordField> line2 = reader.ReadRecord();
        if (line2.size() < 2)
            return notFound;
        return label + line2[1].text;
    } catch (const RecordError&) {
        return notFound;
    }
}

} // namespace bandora
