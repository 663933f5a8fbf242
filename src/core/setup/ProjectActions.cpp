#include "ProjectActions.h"

#include "ProjectState.h"

#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/common/Services.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace bandora {

namespace {

bool WriteProjectFiles(ProjectState& project, const Services& services)
{
    try {
        SaveProject(project.setup, project.folder);
    } catch (const RecordError& e) {
        services.op.inform(QStringLiteral("<Error Saving Project Files> %1: %2")
                               .arg(QDir::toNativeSeparators(project.folder), QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

// New steps 3 to 6: the next number, its folder, the project made current
// under the given name, its files and config.dat written.
ProjectActionResult CreateNumberedProject(ProjectState& project, const Services& services, const QString& name)
{
    const qint16 number = NextProjectNumber(project.config.Last_Project);
    project.config.Last_Project = number;
    const QString folderName = ProjectFolderName(number);
    const QDir app(project.appDir);
    if (app.exists(folderName)) {
        const QString question = QStringLiteral("The project number to generate (") + folderName +
                                 QStringLiteral("already exists. do you like to overwrite?");
        if (services.op.ask(question, Buttons::YesNo) != Answer::Yes)
            return ProjectActionResult::Cancelled;
    } else if (!app.mkdir(folderName)) {
        services.op.inform(QStringLiteral("<Error Creating Project Folder> %1")
                               .arg(QDir::toNativeSeparators(app.filePath(folderName))));
        return ProjectActionResult::Failed;
    }

    project.folder = app.filePath(folderName);
    project.setup.Num_proj = number;
    project.config.Actual_Project_Number = number;
    project.setup.Name = SafeFieldText(name);
    // The stored working folder names the project's own folder, not the one
    // the settings were copied from.
    project.setup.Working_folder = DefaultWorkingFolder(project.appDir, number);

    if (!WriteProjectFiles(project, services))
        return ProjectActionResult::Failed;
    SaveConfig(project.appDir, project.config, services.op);
    return ProjectActionResult::Done;
}

} // namespace

qint16 NextProjectNumber(qint16 lastProject)
{
    const qint16 last = lastProject >= kLastProjectWrap || lastProject < 0 ? 0 : lastProject;
    return static_cast<qint16>(last + 1);
}

QString ProjectTitle(const ProjectState& project)
{
    return QStringLiteral("%1_%2").arg(project.setup.Num_proj).arg(project.setup.Name);
}

ProjectActionResult NewProject(ProjectState& project, const Services& services)
{
    if (services.op.ask(QStringLiteral("Do you like to Create a New Project?"), Buttons::OkCancel) != Answer::Ok)
        return ProjectActionResult::Cancelled;
    const QString title =
        QStringLiteral("Saving <%1> with a new name").arg(NextProjectNumber(project.config.Last_Project));
    const QString name = services.op.promptTitled(QStringLiteral("Enter the New Project Name"), title);
    return CreateNumberedProject(project, services, name);
}

ProjectActionResult SaveProjectAction(ProjectState& project, const Services& services)
{
    const QString title = ProjectTitle(project);
    switch (services.op.ask(QStringLiteral("Do you like to Update <%1> values?").arg(title), Buttons::YesNoCancel)) {
    case Answer::Yes:
        return WriteProjectFiles(project, services) ? ProjectActionResult::Done : ProjectActionResult::Failed;
    case Answer::No: {
        const QString name = services.op.promptTitled(QStringLiteral("Enter the New Project Name"),
                                                      QStringLiteral("Saving <%1> with a new name").arg(title));
        return CreateNumberedProject(project, services, name);
    }
    default:
        return ProjectActionResult::Cancelled;
    }
}

ProjectActionResult RenameProject(ProjectState& project, const Services& services)
{
    if (project.setup.Num_proj == 0) {
        services.op.inform(QStringLiteral("Not possible to rename the Default project. Save it with another Name"));
        return ProjectActionResult::Cancelled;
    }
    const QString answer = services.op.prompt(QStringLiteral("Rename Project: Entre New Name"), project.setup.Name);
    if (answer.isEmpty())
        return ProjectActionResult::Cancelled;
    project.setup.Name = SafeFieldText(answer);
    return ProjectActionResult::Done;
}

bool PrepareProjectLoad(ProjectState& project, const Services& services)
{
    switch (services.op.ask(QStringLiteral("Do you like to save current values before new load?"),
                            Buttons::YesNoCancel)) {
    case Answer::Yes: return WriteProjectFiles(project, services);
    case Answer::No: return true;
    default: return false;
    }
}

QStringList ProjectEntries(const QString& appDir)
{
    // Project folders are "p" and five digits. Other folders that happen to
    // start with "p" are not projects, and numbers beyond 16 bits cannot be
    // project numbers.
    static const QRegularExpression pattern(QStringLiteral("^[pP][0-9]{5}$"));
    QStringList entries;
    const QStringList dirs = QDir(appDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& d : dirs)
        if (pattern.match(d).hasMatch() && d.mid(1).toInt() <= 32767)
            entries << d;
    return entries;
}

bool LoadProjectEntry(ProjectState& project, const Services& services, const QString& entry)
{
    if (entry.isEmpty())
        return false;
    const qint64 number = RoundHalfEven(NumericValue(entry.right(5)));
    if (number > 32767 || number < -32768)
        return false;
    const QDir app(project.appDir);
    if (number >= 1 && !app.exists(entry))
        return false;
    project.folder = number < 1 ? QDir::cleanPath(project.appDir) : app.filePath(entry);
    project.setup.Num_proj = static_cast<qint16>(number < 1 ? 0 : number);
    project.config.Actual_Project_Number = project.setup.Num_proj;
    SaveConfig(project.appDir, project.config, services.op);

    ProjectContext ctx;
    ctx.appDir = project.appDir;
    ctx.projectFolder = project.folder;
    ctx.op = &services.op;
    LoadProject(project.setup, project.plate, ctx);
    return true;
}

} // namespace bandora
