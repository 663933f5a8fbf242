#include "FrmReport.h"

#include "ActionStatus.h"

#include "core/AppState.h"
#include "core/analysis/PerWellExport.h"
#include "core/analysis/RawReanalysis.h"
#include "core/analysis/ReportGenerator.h"
#include "core/common/Clock.h"
#include "core/common/EventPump.h"
#include "core/common/Operator.h"
#include "core/storage/RealTimeFile.h"
#include "core/storage/RecordSyntax.h"
#include "core/storage/RunManifest.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace bandora {

namespace {

const QString kTitle = QStringLiteral("<Bandora> Acquisition Software  --------> Report");

// The sensitivity each organism is counted with.
const QString kOrganismThreshold[] = {QStringLiteral("1.8"), QStringLiteral("2.8")};

} // namespace

FrmReport::FrmReport(AppState& state, DesktopOpener& opener, QWidget* parent)
    : QMainWindow(parent), state_(state), opener_(opener)
{
    setObjectName(QStringLiteral("Frm_Report"));
    setWindowTitle(kTitle);
    setWindowFlag(Qt::Window);
    BuildMenus();
    BuildControls();
    ConnectActions();
    txt_spacer->setText(ListSeparator());
    // Until an experiment's own plate file is read, the plate of the project
    // in use is the plate as it stands.
    settings_.Plate = ReportGeometry::FromPlate(state_.project.plate);
    adjustSize();
}

FrmReport::~FrmReport() = default;

void FrmReport::ConnectActions()
{
    connect(cmd_generate, &QPushButton::clicked, this, &FrmReport::Generate);
    connect(txt_folder, &QLineEdit::textChanged, this, &FrmReport::ShowRunNotice);
    connect(cmd_dam, &QPushButton::clicked, this, &FrmReport::ExportDamFiles);
    connect(cmd_long, &QPushButton::clicked, this, &FrmReport::ExportLongTable);
    connect(cmd_cancel, &QPushButton::clicked, this, &FrmReport::CancelWindow);
    connect(mn_rawdata, &QAction::triggered, this, &FrmReport::AnalyzeRawData);
    connect(mn_perwell, &QAction::triggered, this, &FrmReport::ExportPerWell);
    connect(cmd_run, &QPushButton::clicked, this, &FrmReport::RunReanalysis);
    connect(cmd_stop, &QPushButton::clicked, this, &FrmReport::StopReanalysis);

    connect(opt_csv, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            txt_spacer->setText(ListSeparator());
    });
    connect(opt_txt, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            txt_spacer->setText(QStringLiteral(" "));
    });
    connect(combo_organism, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < int(std::size(kOrganismThreshold)))
            txt_threshold->setText(kOrganismThreshold[index]);
    });
    connect(txt_threshold, &QLineEdit::editingFinished, this, &FrmReport::CheckThreshold);
    connect(chk_replace, &QCheckBox::toggled, this, [this](bool on) { txt_lapse->setEnabled(!on); });
}

void FrmReport::SetInputFolder(const QString& folder) { txt_folder->setText(folder); }

void FrmReport::ShowRunNotice()
{
    const QString folder = txt_folder->text().trimmed();
    const QString notice = folder.isEmpty() ? QString() : ManifestWarning(ReadRunManifest(folder));
    lbl_run->setText(notice);
    lbl_run->setVisible(!notice.isEmpty());
}

void FrmReport::SetBinSize(const QString& minutes) { combo_bin->setCurrentText(minutes); }

ReportOptions FrmReport::Options() const
{
    ReportOptions o;
    o.Layout = ReportLayout(std::max(layoutGroup_->checkedId(), 0));
    o.FileType = opt_csv->isChecked() ? ReportFileType::Csv : ReportFileType::Txt;
    o.Separator = txt_spacer->text();
    o.StdError = chk_stderror->isChecked();
    o.StdDev = chk_stddev->isChecked();
    o.WellCount = chk_n->isChecked();
    return o;
}

void FrmReport::SetBusy(bool busy)
{
    busy_ = busy;
    // Only "Cancel" and "STOP" stay usable while the work runs.
    for (QWidget* w : std::initializer_list<QWidget*>{txt_folder, combo_bin, cmd_generate, opt_rows, opt_list, opt_array,
                                                      opt_csv, opt_txt, txt_spacer, chk_stderror, chk_stddev, chk_n,
                                                      combo_method, combo_organism, txt_threshold, chk_replace, cmd_run,
                                                      cmd_dam, cmd_long})
        w->setEnabled(!busy);
    txt_lapse->setEnabled(!busy && !chk_replace->isChecked());
    mn_advanced->setEnabled(!busy);
    progress->setValue(0);
    progress->setVisible(busy);
}

bool FrmReport::KeepGoing(int percent)
{
    progress->setValue(percent);
    state_.services.events.processEvents();
    return !stopRequested_;
}

void FrmReport::ShowBinSize(const std::optional<QString>& shown)
{
    if (shown)
        combo_bin->setCurrentText(*shown);
}

void FrmReport::Open(const QString& path) { ActionStatus::Of(*this, &opener_).Open(path); }

void FrmReport::Generate()
{
    if (busy_)
        return;
    stopRequested_ = false;
    ReportRequest request;
    request.Folder = txt_folder->text().trimmed();
    request.AppDir = state_.project.appDir;
    request.BinSizeText = combo_bin->currentText();
    request.Options = Options();
    request.Date = ReportDateText(state_.services.clock.now());

    SetBusy(true);
    const ReportResult result =
        GenerateReport(request, settings_, state_.services.op, [this](int p) { return KeepGoing(p); });
    SetBusy(false);
    ShowBinSize(result.ShownBinSize);
    if (result.Status == ReportStatus::Written) {
        ActionStatus::Of(*this, &opener_).Done(QStringLiteral("Report written"), result.Path);
        // Let the window settle before another program takes the focus.
        state_.services.events.processEvents();
        Open(result.Path);
    }
}

void FrmReport::CancelWindow()
{
    stopRequested_ = true;
    hide();
    frm_raw->hide();
    adjustSize();
}

void FrmReport::closeEvent(QCloseEvent* event)
{
    CancelWindow();
    event->accept();
}

void FrmReport::AnalyzeRawData()
{
    if (!QFileInfo(RealTimeFilePath(txt_folder->text().trimmed(), 0)).isFile()) {
        state_.services.op.inform(QStringLiteral("Real Time Data Not Found"));
        return;
    }
    frm_raw->show();
    adjustSize();
}

void FrmReport::CheckThreshold()
{
    if (!ThresholdInRange(NumericValue(txt_threshold->text())))
        txt_threshold->setText(QStringLiteral("1.8"));
}

void FrmReport::RunReanalysis()
{
    if (busy_)
        return;
    stopRequested_ = false;
    lbl_status->show();
    CheckThreshold();

    ReanalysisRequest request;
    request.Folder = txt_folder->text().trimmed();
    request.AppDir = state_.project.appDir;
    request.Method = std::max(combo_method->currentIndex(), 0);
    request.Threshold = NumericValue(txt_threshold->text());
    request.Replace = chk_replace->isChecked();
    if (request.Replace) {
        request.TimeLimit = kReplaceTimeLimit;
    } else {
        const LapseLimit lapse = LapseLimitFromHours(txt_lapse->text());
        if (lapse.ShownHours)
            txt_lapse->setText(*lapse.ShownHours);
        request.TimeLimit = lapse.Minutes;
    }
    request.BinSizeText = combo_bin->currentText();
    request.Options = Options();
    request.Date = ReportDateText(state_.services.clock.now());

    SetBusy(true);
    const ReanalysisResult result =
        ReanalyzeRawData(request, settings_, state_.services.op, [this](const ReanalysisStep& step) {
            lbl_status->setText(step.Saving ? QStringLiteral("Saving...")
                                            : QStringLiteral("Block %1/%2").arg(step.Done).arg(step.Total));
            if (step.Total > 0)
                progress->setValue(int(100 * step.Done / step.Total));
            state_.services.events.processEvents();
            return !stopRequested_;
        });
    SetBusy(false);
    ShowBinSize(result.ShownBinSize);
    if (!result.ReportPath.isEmpty()) {
        ActionStatus::Of(*this, &opener_).Done(QStringLiteral("Report of the re-analysis written"), result.ReportPath);
        state_.services.events.processEvents();
        Open(result.ReportPath);
    }
}

void FrmReport::ExportPerWell()
{
    if (busy_)
        return;
    if (state_.services.op.ask(QStringLiteral("Do you like to Export 384 text files?"), Buttons::YesNo) != Answer::Yes)
        return;
    stopRequested_ = false;
    PerWellRequest request;
    request.Folder = txt_folder->text().trimmed();
    request.AppDir = state_.project.appDir;
    // The folder's own name comes first; the offline window's selection may
    // name another experiment.
    if (selectedExperiment_)
        request.SelectedExperimentName = selectedExperiment_();
    request.Now = state_.services.clock.now();
    request.DateSeparator = DateSeparator();
    request.TimeSeparator = TimeSeparator();

    SetBusy(true);
    const PerWellResult result =
        ::bandora::ExportPerWell(request, settings_, state_.services.op, [this](int p) { return KeepGoing(p); });
    SetBusy(false);
    if (result.Status == PerWellStatus::Written) {
        ActionStatus::Of(*this, &opener_).Done(QStringLiteral("Per-well files written to"), request.Folder);
        Open(request.Folder);
    }
}

} // namespace bandora
