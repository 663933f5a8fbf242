#include "ProjectFiles.h"

#include "ChannelTableFiles.h"
#include "GroupColumnsFile.h"
#include "PlateFiles.h"
#include "SetupFile.h"

#include <QDir>
#include <QFileInfo>

// The layouts of the five files are documented beside their readers:
// SetupFile.cpp (setup.dat) and ChannelTableFiles.cpp (status.dat,
// threshld.dat, groups.dat, chgroup.dat).

namespace bandora {

void LoadProject(ProjectSetup& project, PlateFormat& plate, const ProjectContext& ctx)
{
    Q_ASSERT(ctx.op);
    LoadSetupFile(project, ctx);
    LoadChannelEnabled(project, ctx);
    LoadChannelThresholds(project, ctx);
    LoadGroupNames(project, ctx);
    LoadChannelGroups(project, ctx);
    LoadGroupColumns(project, ctx.projectFolder);
    LoadPlate(project, plate, ctx.appDir, *ctx.op);
}

void SaveProject(const ProjectSetup& project, const QString& folder)
{
    // The previous setup.dat is kept as setup.bak, the copy the load falls
    // back on; a first save has none to keep and goes on regardless.
    const QDir dir(folder);
    const QString setup = dir.filePath(QStringLiteral("setup.dat"));
    if (QFileInfo(setup).isFile())
        CopyFile(setup, dir.filePath(QStringLiteral("setup.bak")));
    WriteSetupFile(project, folder);
    WriteChannelTables(project, folder);
    WriteGroupColumns(project, folder);
}

} // namespace bandora
