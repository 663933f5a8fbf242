#include "ExperimentBrowser.h"

#include "core/analysis/PerWellExport.h"
#include "core/storage/CountsFile.h"
#include "core/storage/ExperimentFolderName.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SubprojectFile.h"
#include "core/storage/RunManifest.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace bandora {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The name subproj.dat gives an experiment: its first quoted field. Empty
// when the file is missing or unreadable.
std::optional<QString> SubprojectName(const QString& experimentFolder)
{
    if (!QFileInfo(SubprojectFilePath(experimentFolder)).isFile())
        return std::nullopt;
    try {
        return ReadSubprojectFile(experimentFolder).Name;
    } catch (const RecordError&) {
        return QString();
    }
}

} // namespace

QStringList ListProjectFolders(const QString& appDir)
{
    // Project folders are "p" and a number of five digits; another folder
    // that happens to match (say "plates") is no project.
    static const QRegularExpression number(QStringLiteral("^.\\d{5}$"));
    const QStringList names =
        QDir(appDir).entryList({QStringLiteral("p?????")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    QStringList projects;
    for (const QString& name : names)
        if (number.match(name).hasMatch())
            projects << name;
    return projects;
}

QStringList ListExperimentFolders(const QString& projectFolder)
{
    const QDir project(projectFolder);
    // A second run of the same minute carries a suffix: ddmmyyyy_hhmm_2.
    QStringList names;
    for (const QString& name : project.entryList({QStringLiteral("????????_????"), QStringLiteral("????????_????_*")},
                                                 QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (name.size() == 13 || ExperimentFolderSequence(name) > 0)
            names << name;
    // The list reads like a diary, newest first: the folder names put the
    // day before the year, so their own order is no order in time; runs of
    // the same minute come by their number.
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const QDateTime ta = ExperimentStartTime(a), tb = ExperimentStartTime(b);
        if (ta.isValid() != tb.isValid())
            return ta.isValid();
        if (ta != tb)
            return ta > tb;
        return ExperimentFolderSequence(a) > ExperimentFolderSequence(b);
    });
    if (names.size() > kMaxExperimentFolders)
        names.resize(kMaxExperimentFolders);
    QStringList recorded;
    for (const QString& name : names)
        if (QFileInfo(CountsFilePath(project.filePath(name))).isFile())
            recorded << name;
    return recorded;
}

QString ExperimentDateText(const QString& folderName)
{
    const QDateTime start = ExperimentStartTime(folderName);
    return start.isValid() ? QLocale::c().toString(start, QStringLiteral("ddd dd MMM yyyy hh:mm")) : QString();
}

int ProjectNumberOfFolder(const QString& projectFolder)
{
    QString path = QDir::fromNativeSeparators(projectFolder);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return static_cast<int>(NumericValue(path.right(5)));
}

QString ProjectInfoText(const QString& projectFolder, const QString& listText, int projectNumber, Operator& op)
{
    if (QFileInfo(QDir(projectFolder).filePath(QStringLiteral("setup.dat"))).isFile())
        return ReadProjectHeader(projectFolder, projectNumber, op);
    return QStringLiteral("<Project> ") + listText + QStringLiteral(": ");
}

QString ExperimentInfoText(const QString& experimentFolder, const QString& listText, int projectNumber,
                           Operator& op)
{
    QString text = ReadProjectHeader(experimentFolder, projectNumber, op, false) + kLineBreak +
                   QStringLiteral("<Subproject> ") + listText;
    if (const auto name = SubprojectName(experimentFolder))
        text += QStringLiteral(": ") + *name;
    // Older experiments have no manifest and show what they always showed.
    const QString run = ManifestNotice(ReadRunManifest(experimentFolder));
    if (!run.isEmpty())
        text += kLineBreak + run;
    return text;
}

QString OpenedExperimentText(const QString& plateName, int lapseMinutes, const QStringList& groupEntries)
{
    QString text = kLineBreak + QString(64, QLatin1Char('.')) + kLineBreak + QStringLiteral("[") + plateName +
                   QStringLiteral("]   [Acq.Lapse=") + QString::number(lapseMinutes) + QStringLiteral("min]") +
                   kLineBreak + QStringLiteral("[Groups: ") + kLineBreak;
    for (const QString& entry : groupEntries)
        text += QStringLiteral("<") + entry + QStringLiteral("> ");
    return text + QStringLiteral("]");
}

int CountRealTimeFiles(const QString& experimentFolder)
{
    const QStringList files = QDir(experimentFolder).entryList({QStringLiteral("*.bin")}, QDir::Files);
    int count = 0;
    for (const QString& name : files)
        if (name.compare(QLatin1String(kCountsFileName), Qt::CaseInsensitive) != 0)
            ++count;
    return count;
}

int PageCountFor(int realTimeFiles)
{
    // Every file gets a page: rounding the count of pages to the nearest
    // would leave the last files of a recording (files 5 and 6 of seven)
    // where no page reaches them.
    return qMax(1, (realTimeFiles + kFilesPerPage - 1) / kFilesPerPage);
}

} // namespace bandora
