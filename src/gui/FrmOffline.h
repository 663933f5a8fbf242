#pragma once

#include "core/analysis/ChannelAnalyzer.h"
#include "core/offline/GroupActivity.h"
#include "core/offline/OfflineExperiment.h"
#include "core/offline/PageAnalysis.h"
#include "core/offline/RealTimeStore.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace bandora {

struct AppState;
class DesktopOpener;
class OfflineHost;
class AnalyticsView;
class PictureBox;

// The offline window: browses the projects of the program folder and their
// recorded experiments, pages through an experiment's raw beam signals, runs
// the activity analysis on a well's beams again with another threshold,
// plots the recorded activity of a well and its group, joins experiments and
// exports signals and plots. It keeps its own copy of everything it reads:
// the current project of the main window is never touched, and nothing is
// written into an experiment folder but the new folder of a join.
class FrmOffline : public QMainWindow {
    Q_OBJECT
public:
    FrmOffline(AppState& state, OfflineHost& host, DesktopOpener& opener, QWidget* parent = nullptr);
    ~FrmOffline() override;

    enum class View { None, ChannelSignal, Analyze, GroupActivity };

    // --- the browser ------------------------------------------------------
    void ListProjects();
    // A click on the entry in row `row` (also keyboard moves).
    void BrowserClicked(int row);
    // A double-click or Enter on the current entry.
    void BrowserOpen();
    void Back();

    // --- the views ----------------------------------------------------------
    void ShowChannelSignal();
    void ShowAnalysis();
    void ShowGroupActivity();
    void OpenReport();
    // The analytics view of the selected experiment, in a window of its own.
    void OpenAnalytics();
    AnalyticsView* Analytics() const { return analytics_; }
    void PageChanged(int page);
    void GroupChosen();
    void WellChosen();

    // --- join and export ----------------------------------------------------
    void Join();
    void ExportAscii();
    void ExportBmp();

    // --- what other windows and the tests read -------------------------------
    int BrowseLevel() const { return level_; }
    QString SelectedFolder() const { return selectedFolder_; }
    QString OpenedFolder() const { return openedFolder_; }
    // The experiment folder name selected in the list at the experiments
    // level (empty at the projects level or with nothing selected).
    QString SelectedExperimentName() const;
    int CurrentPage() const { return page_; }
    int PageCount() const { return pageCount_; }
    int RealTimeFileCount() const { return realTimeFiles_; }
    bool PageBrowsing() const { return pageBrowsing_; }
    View ActiveView() const { return view_; }
    int SelectedChannel() const { return channel_; }
    const RealTimeStore& Store() const { return store_; }
    const OfflineExperiment& Experiment() const { return experiment_; }

    // --- controls, named as the tests know them -------------------------------
    QListWidget* lstBrowser = nullptr;
    QPlainTextEdit* txtInfo = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdJoin = nullptr;
    QPushButton* cmdChannel = nullptr;
    QPushButton* cmdGroup = nullptr;
    QPushButton* cmdAnalyze = nullptr;
    QPushButton* cmdReport = nullptr;
    QPushButton* cmdAnalytics = nullptr;
    QPushButton* cmdMain = nullptr;
    QPushButton* cmdSetup = nullptr;
    QLineEdit* txtPage = nullptr;
    QScrollBar* scrPage = nullptr;
    PictureBox* picProgress = nullptr;
    QComboBox* cmbMode = nullptr;
    QLineEdit* txtThreshold = nullptr;
    QComboBox* cmbRow = nullptr;
    QComboBox* cmbColumn = nullptr;
    QLineEdit* txtBeam = nullptr;
    QLabel* lblChannel = nullptr;
    QListWidget* lstGroups = nullptr;
    QListWidget* lstWells = nullptr;
    PictureBox* picPlot = nullptr;
    QMenu* mnFile = nullptr;
    QAction* mnExportBmp = nullptr;
    QAction* mnExportAscii = nullptr;
    QAction* mnAdvancedCalculation = nullptr;
    QMenu* plotMenu = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildBrowserColumn();
    QWidget* BuildViewBar();
    QWidget* BuildWellBar();
    void ConnectControls();
    void WindowLoad();

    void OpenProject(const QString& name);
    // The experiments of the open project, newest first, each with its date.
    void ListExperiments();
    void OpenExperiment(const QString& name);
    void ReadSettingsAndFillLists();
    void FillLists();
    void LoadPage(int page);
    void DrawProgress(int percent);
    void SelectWellFromLists();
    void SetCaptions(View view);
    void Redraw();
    QString WellText() const;
    QVector<WellBeam> SelectedBeams() const;

    AppState& state_;
    OfflineHost& host_;
    DesktopOpener& opener_;

    int level_ = 0;
    QString projectFolder_;
    int projectNumber_ = 0;
    QString selectedFolder_;
    QString openedFolder_;
    int realTimeFiles_ = 0;
    int page_ = 1;
    int pageCount_ = 1;
    bool pageBrowsing_ = false;
    View view_ = View::None;
    int channel_ = -1;

    RealTimeStore store_;
    OfflineExperiment experiment_;
    ChannelAnalyzer analyzer_;
    // What the plot on show was drawn from, to draw it again at another size.
    std::optional<PageAnalysisResult> analysis_;
    double analysisThreshold_ = 1.8;
    int analysisMethod_ = 0;
    std::optional<GroupActivity> activity_;
    QString activityGroup_;
    AnalyticsView* analytics_ = nullptr;
};

} // namespace bandora
