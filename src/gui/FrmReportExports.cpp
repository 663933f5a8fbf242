// The report window's exports for other analysis tools.

#include "FrmReport.h"

#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/exports/DamExport.h"
#include "core/exports/ExportStart.h"
#include "core/exports/LongTable.h"
#include "core/storage/CountsFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace bandora {

std::optional<QString> FrmReport::ExportFolder()
{
    const QString folder = txt_folder->text().trimmed();
    if (folder.isEmpty() || !QFileInfo(CountsFilePath(folder)).isFile()) {
        state_.services.op.inform(QStringLiteral("Activity file not Found"));
        return std::nullopt;
    }
    return folder;
}

void FrmReport::ExportDamFiles()
{
    if (busy_)
        return;
    const auto folder = ExportFolder();
    if (!folder)
        return;
    const QString dir = QDir(*folder).filePath(QStringLiteral("dam"));
    SetBusy(true);
    const DamResult result = ExportDam(*folder, state_.project.appDir, dir, state_.services.op);
    SetBusy(false);
    if (!result.Ok) {
        state_.services.op.inform(result.Error);
        return;
    }
    Open(dir);
}

void FrmReport::ExportLongTable()
{
    if (busy_)
        return;
    const auto folder = ExportFolder();
    if (!folder)
        return;
    const QString path = QDir(*folder).filePath(ExperimentOfFolder(*folder) + QStringLiteral("_long.csv"));
    SetBusy(true);
    const LongTableResult result =
        WriteLongTable(*folder, state_.project.appDir, combo_bin->currentText(), path, state_.services.op);
    SetBusy(false);
    if (!result.Ok) {
        state_.services.op.inform(result.Error);
        return;
    }
    Open(path);
}

} // namespace bandora
