#pragma once

#include "DesktopOpener.h"
#include "core/analysis/ExperimentSettings.h"
#include "core/analysis/ReportOptions.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace bandora {

struct AppState;

// The report window: turns the activity file of one recorded experiment into
// a report in one of three layouts, exports it per well, and counts the
// activity again from the raw signals ("Raw data processing:"). One instance
// serves the whole program; it is shown without blocking the main window.
//
// Long work (a two-week recording, a re-analysis) runs on the window thread
// and lets pending window events through between blocks of records, so the
// window repaints, shows its progress and takes "Cancel" or "STOP".
class FrmReport : public QMainWindow {
    Q_OBJECT
public:
    // opener hands a written report to the program the desktop has for its
    // type (a spreadsheet for .csv, a text editor for .txt) and the folder of
    // the per-well files to the file manager.
    FrmReport(AppState& state, DesktopOpener& opener, QWidget* parent = nullptr);
    ~FrmReport() override;

    // What the callers set before showing the window (the main window's
    // "Report" command, the offline window).
    void SetInputFolder(const QString& folder);
    void SetBinSize(const QString& minutes);

    // The experiment folder name selected in the offline window, which the
    // per-well export counts its time stamps from when the folder's own name
    // is not a run start.
    void SetSelectedExperimentSource(std::function<QString()> source) { selectedExperiment_ = std::move(source); }

    // --- actions, as the controls run them --------------------------------

    // "Generate...": the report of the folder in the input-folder box.
    void Generate();
    // "Cancel": stops a generation under way, hides the window and folds the
    // raw-data frame away.
    void CancelWindow();
    // Advanced > "Analyze Raw Data": shows the raw-data frame when the folder
    // holds real-time files.
    void AnalyzeRawData();
    // The raw-data frame's run button and "STOP".
    void RunReanalysis();
    void StopReanalysis() { stopRequested_ = true; }
    // Advanced > "1 file/well Report".
    void ExportPerWell();
    // "DAM files": the monitor files and metadata.csv into the folder's "dam"
    // folder. "Long table": <experiment>_long.csv in the folder, binned by
    // the bin-size box. Each hands what it wrote to the desktop.
    void ExportDamFiles();
    void ExportLongTable();

    ReportOptions Options() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    QGroupBox* BuildOutputFrame();
    QGroupBox* BuildStatisticsFrame();
    QGroupBox* BuildRawFrame();
    void ConnectActions();
    void SetBusy(bool busy);
    bool KeepGoing(int percent);
    void ShowBinSize(const std::optional<QString>& shown);
    void CheckThreshold();
    void Open(const QString& path);
    void ShowRunNotice();
    // The experiment folder of the box when it holds an activity file; else
    // says "Activity file not Found" and gives nothing.
    std::optional<QString> ExportFolder();

    AppState& state_;
    DesktopOpener& opener_;
    std::function<QString()> selectedExperiment_;
    // The experiment's settings of the last generation; its plate stands
    // when the next experiment's plate file cannot be read.
    ExperimentSettings settings_;
    bool busy_ = false;
    bool stopRequested_ = false;
    QButtonGroup* layoutGroup_ = nullptr;
    QButtonGroup* fileTypeGroup_ = nullptr;

public:
    // Controls, by their object names.
    QMenu* mn_advanced = nullptr;
    QAction* mn_rawdata = nullptr;
    QAction* mn_perwell = nullptr;

    QLineEdit* txt_folder = nullptr;
    QComboBox* combo_bin = nullptr;
    QRadioButton* opt_rows = nullptr;
    QRadioButton* opt_list = nullptr;
    QRadioButton* opt_array = nullptr;
    QRadioButton* opt_csv = nullptr;
    QRadioButton* opt_txt = nullptr;
    QLineEdit* txt_spacer = nullptr;
    QCheckBox* chk_average = nullptr;
    QCheckBox* chk_stderror = nullptr;
    QCheckBox* chk_stddev = nullptr;
    QCheckBox* chk_median = nullptr;
    QCheckBox* chk_n = nullptr;
    QPushButton* cmd_generate = nullptr;
    QPushButton* cmd_cancel = nullptr;
    QPushButton* cmd_dam = nullptr;
    QPushButton* cmd_long = nullptr;
    QProgressBar* progress = nullptr;

    QGroupBox* frm_raw = nullptr;
    QComboBox* combo_method = nullptr;
    QComboBox* combo_organism = nullptr;
    QLineEdit* txt_threshold = nullptr;
    QLineEdit* txt_lapse = nullptr;
    QCheckBox* chk_replace = nullptr;
    QPushButton* cmd_run = nullptr;
    QPushButton* cmd_stop = nullptr;
    QLabel* lbl_status = nullptr;
    QLabel* lbl_run = nullptr;
};

} // namespace bandora
