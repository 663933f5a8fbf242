#include "ApplicationFolder.h"

#include "ConfigFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace bandora {

namespace {

AppFolderChoice Failed(const QString& text) { return {QString(), QString(), text}; }

// Config.dat, project folders and experiments are written here; finding out
// at start-up beats a run whose records cannot be stored.
QString WriteProblem(const QString& dir)
{
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".write-test-XXXXXX")));
    if (probe.open())
        return {};
    return QStringLiteral("The application folder %1 cannot be written: %2. "
                          "Make it writable or start with --app-dir DIR.")
        .arg(QDir::toNativeSeparators(dir), probe.errorString());
}

AppFolderChoice Usable(const QString& dir, const QString& notice = QString())
{
    const QString problem = WriteProblem(dir);
    if (!problem.isEmpty())
        return Failed(problem);
    return {dir, notice, QString()};
}

// Copies every file and folder of `from` into the existing folder `to`;
// the copies are writable by their owner whatever the installed modes are.
QString CopyTree(const QString& from, const QString& to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = QDir(to).filePath(source.relativeFilePath(path));
        if (info.isDir() && !info.isSymLink()) {
            if (!QDir().mkpath(target))
                return QStringLiteral("cannot make %1").arg(target);
            continue;
        }
        QFile file(path);
        if (!file.copy(target))
            return QStringLiteral("cannot copy %1: %2").arg(path, file.errorString());
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return {};
}

AppFolderChoice MakeUserFolder(const QString& userDir, const QString& sharedDir)
{
    const QString shown = QDir::toNativeSeparators(userDir);
    const auto cannot = [&](const QString& why) {
        return Failed(QStringLiteral("Cannot create the application folder %1 (%2). "
                                     "Start with --app-dir DIR to use another folder.")
                          .arg(shown, why));
    };
    const QString parent = QFileInfo(userDir).absolutePath();
    if (!QDir().mkpath(parent))
        return cannot(QStringLiteral("cannot make %1").arg(parent));

    QTemporaryDir partial(userDir + QStringLiteral(".partial-XXXXXX"));
    if (!partial.isValid())
        return cannot(partial.errorString());
    const QString copyProblem = CopyTree(sharedDir, partial.path());
    if (!copyProblem.isEmpty())
        return cannot(copyProblem);
    // An empty folder of that name (made by hand, or by a desktop tool) is
    // replaced; rename() does not replace folders.
    if (QFileInfo(userDir).isDir() && !QDir().rmdir(userDir))
        return cannot(QStringLiteral("the empty folder cannot be replaced"));
    if (!QDir().rename(partial.path(), userDir))
        return cannot(QStringLiteral("cannot rename %1").arg(partial.path()));
    partial.setAutoRemove(false);
    return Usable(userDir, QStringLiteral("First start: made the application folder %1 from %2. "
                                          "Projects and experiments are kept there.")
                               .arg(shown, QDir::toNativeSeparators(sharedDir)));
}

} // namespace

AppFolderChoice ResolveAppFolder(const AppFolderPlaces& places)
{
    if (!places.commandLine.isEmpty())
        return {QDir(places.commandLine).absolutePath(), QString(), QString()};
    if (ConfigFileExists(places.executableDir))
        return {places.executableDir, QString(), QString()};
    if (!places.userDir.isEmpty() && ConfigFileExists(places.userDir))
        return Usable(places.userDir);
    if (places.sharedDir.isEmpty() || !ConfigFileExists(places.sharedDir))
        return {places.executableDir, QString(), QString()};
    if (places.userDir.isEmpty())
        return Failed(QStringLiteral("There is no folder for the user's data (is HOME set?). "
                                     "Start with --app-dir DIR."));
    const QFileInfo user(places.userDir);
    if (user.exists() || user.isSymLink()) {
        const bool empty = user.isDir() && QDir(places.userDir).isEmpty(QDir::AllEntries | QDir::Hidden
                                                                         | QDir::NoDotAndDotDot | QDir::System);
        if (!empty)
            return Failed(QStringLiteral("The application folder %1 has no config.dat. Move it aside to "
                                         "start afresh from %2, or start with --app-dir DIR.")
                              .arg(QDir::toNativeSeparators(places.userDir),
                                   QDir::toNativeSeparators(places.sharedDir)));
    }
    return MakeUserFolder(places.userDir, places.sharedDir);
}

QString ExistingAppFolder(const AppFolderPlaces& places)
{
    if (!places.commandLine.isEmpty())
        return QDir(places.commandLine).absolutePath();
    for (const QString& dir : {places.executableDir, places.userDir, places.sharedDir})
        if (!dir.isEmpty() && ConfigFileExists(dir))
            return dir;
    return places.executableDir;
}

AppFolderPlaces SystemAppFolderPlaces(const QString& commandLine, const QString& executableDir)
{
    AppFolderPlaces places;
    places.commandLine = commandLine;
    places.executableDir = QDir(executableDir).absolutePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        places.userDir = QDir(data).filePath(QStringLiteral("bandora"));
    // bin/ and share/bandora/ lie side by side under the installation prefix.
    places.sharedDir = QDir::cleanPath(QDir(executableDir).filePath(QStringLiteral("../share/bandora")));
    return places;
}

} // namespace bandora
