#include "core/storage/ConfigFile.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "support/Files.h"
#include "support/ScriptedOperator.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

const char* const kProjectFiles[] = {"setup.dat", "status.dat", "threshld.dat", "groups.dat", "chgroup.dat"};

// Project 0 as shipped: the defaults with the plate the instrument is
// delivered with, and no stored folder (the application folder is not
// known until the program is installed; nothing reads the field back).
ProjectSetup ShippedDefaultProject()
{
    ProjectSetup p;
    p.Num_proj = 0;
    p.Plate_format = QStringLiteral("w96f");
    p.Working_folder = QString();
    return p;
}

} // namespace

TEST(DefaultProject, ShippedFilesAreWhatSaveProjectWrites)
{
    QTemporaryDir dir;
    SaveProject(ShippedDefaultProject(), dir.path());
    for (const char* name : kProjectFiles) {
        SCOPED_TRACE(name);
        const QByteArray shipped = ReadAll(QDir(QStringLiteral(BANDORA_DATA_DIR)).filePath(QLatin1String(name)));
        ASSERT_FALSE(shipped.isEmpty());
        EXPECT_EQ(shipped, ReadAll(QDir(dir.path()).filePath(QLatin1String(name))));
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(QStringLiteral(BANDORA_DATA_DIR)).filePath("setup.bak")));
}

