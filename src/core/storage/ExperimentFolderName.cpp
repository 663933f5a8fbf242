#include "ExperimentFolderName.h"

#include <QDir>
#include <QFileInfo>

namespace bandora {

namespace {

constexpr int kStemLength = 13; // ddmmyyyy_hhmm

bool IsStem(const QString& name)
{
    if (name.size() < kStemLength || name[8] != QLatin1Char('_'))
        return false;
    for (int i = 0; i < kStemLength; ++i)
        if (i != 8 && !name[i].isDigit())
            return false;
    return true;
}

} // namespace

int ExperimentFolderSequence(const QString& name)
{
    if (!IsStem(name))
        return 0;
    if (name.size() == kStemLength)
        return 1;
    const QString suffix = name.mid(kStemLength + 1);
    if (name[kStemLength] != QLatin1Char('_') || suffix.isEmpty() || suffix.size() > 4 ||
        suffix.startsWith(QLatin1Char('0')))
        return 0;
    for (const QChar c : suffix)
        if (!c.isDigit())
            return 0;
    const int n = suffix.toInt();
    return n >= 2 ? n : 0;
}

QString ExperimentFolderStem(const QString& name)
{
    return ExperimentFolderSequence(name) > 0 ? name.left(kStemLength) : QString();
}

QString FreshExperimentFolderName(const QString& parent, const QDateTime& start)
{
    const QString stem = start.toString(QStringLiteral("ddMMyyyy_HHmm"));
    const QDir dir(parent);
    QString name = stem;
    // A file or a dangling link of that name is as taken as a folder.
    for (int n = 2; QFileInfo(dir.filePath(name)).exists() || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = QStringLiteral("%1_%2").arg(stem).arg(n);
    return name;
}

} // namespace bandora
