#include "ProjectActions.h"

#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/ProjectFiles.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/SetupFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace bandora {

namespace {

bool WriteProjectFiles(AppState& state)
{
    try {
        SaveProject(state.project, state.projectFolder);
    } catch (const RecordError& e) {
        state.op.inform(QStringLiteral("<Error Saving Project Files> %1: %2")
                            .arg(QDir::toNativeSeparators(state.projectFolder), QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

// New steps 3 to 6: the next number, its folder, the project made current
// under the given name, its files and config.dat written.
ProjectActionResult CreateNumberedProject(AppState& state, const QString& name)
{
    const qint16 number = NextProjectNumber(state.config.Last_Project);
    state.config.Last_Project = number;
    const QString folderName = ProjectFolderName(number);
    const QDir app(state.appDir);
    if (app.exists(folderName)) {
        const QString question = QStringLiteral("The project number to generate (") + folderName +
                                 QStringLiteral("already exists. do you like to overwrite?");
        if (state.op.ask(question, Buttons::YesNo) != Answer::Yes)
            return ProjectActionResult::Cancelled;
    } else if (!app.mkdir(folderName)) {
        state.op.inform(QStringLiteral("<Error Creating Project Folder> %1")
                            .arg(QDir::toNativeSeparators(app.filePath(folderName))));
        return ProjectActionResult::Failed;
    }

    state.projectFolder = app.filePath(folderName);
    state.project.Num_proj = number;
    state.config.Actual_Project_Number = number;
    state.project.Name = SafeFieldText(name);
    // The stored working folder names the project's own folder, not the one
    // the settings were copied from.
    state.project.Working_folder = DefaultWorkingFolder(state.appDir, number);

    if (!WriteProjectFiles(state))
        return ProjectActionResult::Failed;
    SaveConfig(state.appDir, state.config, state.op);
    return ProjectActionResult::Done;
}

} // namespace

qint16 NextProjectNumber(qint16 lastProject)
{
    const qint16 last = lastProject >= kLastProjectWrap || lastProject < 0 ? 0 : lastProject;
    return static_cast<qint16>(last + 1);
}

QString ProjectTitle(const AppState& state)
{
    return QStringLiteral("%1_%2").arg(state.project.Num_proj).arg(state.project.Name);
}

ProjectActionResult NewProject(AppState& state)
{
    if (state.op.ask(QStringLiteral("Do you like to Create a New Project?"), Buttons::OkCancel) != Answer::Ok)
        return ProjectActionResult::Cancelled;
    const QString title =
        QStringLiteral("Saving <%1> with a new name").arg(NextProjectNumber(state.config.Last_Project));
    const QString name = state.op.promptTitled(QStringLiteral("Enter the New Project Name"), title);
    return CreateNumberedProject(state, name);
}

ProjectActionResult SaveProjectAction(AppState& state)
{
    const QString title = ProjectTitle(state);
    switch (state.op.ask(QStringLiteral("Do you like to Update <%1> values?").arg(title), Buttons::YesNoCancel)) {
    case Answer::Yes:
        return WriteProjectFiles(state) ? ProjectActionResult::Done : ProjectActionResult::Failed;
    case Answer::No: {
        const QString name = state.op.promptTitled(QStringLiteral("Enter the New Project Name"),
                                                   QStringLiteral("Saving <%1> with a new name").arg(title));
        return CreateNumberedProject(state, name);
    }
    default:
        return ProjectActionResult::Cancelled;
    }
}

ProjectActionResult RenameProject(AppState& state)
{
    if (state.project.Num_proj == 0) {
        state.op.inform(QStringLiteral("Not possible to rename the Default project. Save it with another Name"));
        return ProjectActionResult::Cancelled;
    }
    const QString answer = state.op.prompt(QStringLiteral("Rename Project: Entre New Name"), state.project.Name);
    if (answer.isEmpty())
        return ProjectActionResult::Cancelled;
    state.project.Name = SafeFieldText(answer);
    return ProjectActionResult::Done;
}

bool PrepareProjectLoad(AppState& state)
{
    switch (state.op.ask(QStringLiteral("Do you like to save current values before new load?"),
                         Buttons::YesNoCancel)) {
    case Answer::Yes: return WriteProjectFiles(state);
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

bool LoadProjectEntry(AppState& state, const QString& entry)
{
    if (entry.isEmpty())
        return false;
    const qint64 number = RoundHalfEven(NumericValue(entry.right(5)));
    if (number > 32767 || number < -32768)
        return false;
    const QDir app(state.appDir);
    if (number >= 1 && !app.exists(entry))
        return false;
    state.projectFolder = number < 1 ? QDir::cleanPath(state.appDir) : app.filePath(entry);
    state.project.Num_proj = static_cast<qint16>(number < 1 ? 0 : number);
    state.config.Actual_Project_Number = state.project.Num_proj;
    SaveConfig(state.appDir, state.config, state.op);

    ProjectContext ctx;
    ctx.appDir = state.appDir;
    ctx.projectFolder = state.projectFolder;
    ctx.op = &state.op;
    LoadProject(state.project, state.plate, ctx);
    return true;
}

} // namespace bandora
