#include "FrmOffline.h"

#include "AnalyticsView.h"
#include "ActionStatus.h"

#include "DesktopOpener.h"
#include "OfflineHost.h"
#include "OfflinePlots.h"
#include "PictureBox.h"
#include "PlotFrame.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/common/Operator.h"
#include "core/offline/ExperimentBrowser.h"
#include "core/offline/ExperimentJoin.h"
#include "core/offline/SignalExport.h"
#include "core/storage/CountsFile.h"
#include "core/storage/RecordSyntax.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <functional>

namespace bandora {

namespace {

const QString kChannelCaption = QStringLiteral("Channel Signal");
const QString kGroupCaption = QStringLiteral("Group Activity");
const QString kNoActivityFile = QStringLiteral("Activity file not Found");
constexpr int kReportBinMinutes = 30;

QString Bracketed(const QString& caption) { return QStringLiteral("[") + caption + QStringLiteral("]"); }

} // namespace

FrmOffline::FrmOffline(AppState& state, OfflineHost& host, DesktopOpener& opener, QWidget* parent)
    : QMainWindow(parent, Qt::Window), state_(state), host_(host), opener_(opener)
{
    setObjectName(QStringLiteral("Frm_offline"));
    setWindowTitle(QStringLiteral("<Bandora> Acquisition Software  --------> Offline"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    ConnectControls();
    WindowLoad();
    resize(1280, 720);
}

FrmOffline::~FrmOffline() = default;

void FrmOffline::WindowLoad()
{
    realTimeFiles_ = 0;
    ListProjects();
    page_ = 1;
    pageCount_ = 1;
    pageBrowsing_ = false;
    txtPage->setText(QStringLiteral("1/1"));
    {
        const QSignalBlocker block(scrPage);
        scrPage->setRange(1, 1);
        scrPage->setValue(1);
    }
    cmbMode->clear();
    cmbMode->addItems({QStringLiteral("Mode:0"), QStringLiteral("Mode:1")});
    cmbMode->setCurrentIndex(0);
    txtThreshold->setText(QStringLiteral("1.8"));
    picProgress->clear();
    // Nothing to show until a project or an experiment is opened.
    for (QPushButton* b : {cmdChannel, cmdAnalyze, cmdGroup, cmdReport})
        b->setEnabled(false);
}

void FrmOffline::closeEvent(QCloseEvent* event)
{
    store_.Release();
    cmdChannel->setText(kChannelCaption);
    cmdGroup->setText(Bracketed(kGroupCaption));
    cmdChannel->setEnabled(false);
    host_.showMainWindow();
    event->accept();
}

bool FrmOffline::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == lstBrowser) {
                BrowserOpen();
                return true;
            }
            if (watched == lstWells) {
                WellChosen();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ browser

void FrmOffline::ListProjects()
{
    lstBrowser->clear();
    lstBrowser->addItems(ListProjectFolders(state_.project.appDir));
    level_ = 0;
}

void FrmOffline::Back() { ListProjects(); }

void FrmOffline::BrowserClicked(int row)
{
    const QListWidgetItem* item = lstBrowser->item(row);
    const QString text = item ? item->text() : QString();
    if (text.isEmpty())
        return;
    if (level_ == 0) {
        projectFolder_ = QDir(state_.project.appDir).filePath(text);
        projectNumber_ = ProjectNumberOfFolder(projectFolder_);
        selectedFolder_ = projectFolder_;
        txtInfo->setPlainText(ProjectInfoText(projectFolder_, text, projectNumber_, state_.services.op));
    } else {
        selectedFolder_ = QDir(projectFolder_).filePath(text);
        txtInfo->setPlainText(ExperimentInfoText(selectedFolder_, text, projectNumber_, state_.services.op));
    }
}

QString FrmOffline::SelectedExperimentName() const
{
    if (level_ != 1)
        return {};
    const QListWidgetItem* item = lstBrowser->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FrmOffline::BrowserOpen()
{
    const QListWidgetItem* item = lstBrowser->currentItem();
    const QString text = item ? item->text() : QString();
    if (level_ == 0) {
        if (!text.isEmpty())
            OpenProject(text);
        ReadSettingsAndFillLists();
        return;
    }
    OpenExperiment(text);
    FillLists();
    txtInfo->setPlainText(txtInfo->toPlainText() +
                          OpenedExperimentText(experiment_.Project.Plate_format, experiment_.Project.Aq_lapse,
                                               [this] {
                                                   QStringList entries;
                                                   for (int i = 0; i < lstGroups->count(); ++i)
                                                       entries << lstGroups->item(i)->text();
                                                   return entries;
                                               }()));
}

void FrmOffline::OpenProject(const QString& name)
{
    projectFolder_ = QDir(state_.project.appDir).filePath(name);
    projectNumber_ = ProjectNumberOfFolder(projectFolder_);
    lstBrowser->clear();
    // The closing steps then read the project's own files.
    selectedFolder_ = projectFolder_;
    ListExperiments();
    level_ = 1;
}

void FrmOffline::ListExperiments()
{
    lstBrowser->clear();
    for (const QString& name : ListExperimentFolders(projectFolder_)) {
        auto* item = new QListWidgetItem(name, lstBrowser);
        const QString date = ExperimentDateText(name);
        item->setData(Qt::UserRole, date); // shown beside the name
        item->setToolTip(date);
    }
}

void FrmOffline::OpenExperiment(const QString& name)
{
    if (name.isEmpty()) {
        selectedFolder_ = projectFolder_;
        openedFolder_ = projectFolder_;
        cmdChannel->setEnabled(false);
        cmdAnalyze->setEnabled(false);
        cmdReport->setEnabled(true);
        cmdGroup->setEnabled(true);
        ReadOfflineExperiment(selectedFolder_, state_.project.appDir, projectNumber_, state_.services.op, experiment_);
        return;
    }
    selectedFolder_ = QDir(projectFolder_).filePath(name);
    openedFolder_ = selectedFolder_;
    // The settings come first: the length of a real-time record follows the
    // buffer cycle the experiment was recorded with.
    ReadOfflineExperiment(selectedFolder_, state_.project.appDir, projectNumber_, state_.services.op, experiment_);
    realTimeFiles_ = CountRealTimeFiles(selectedFolder_);
    page_ = 1;
    pageCount_ = PageCountFor(realTimeFiles_);
    txtPage->setText(QStringLiteral("1/%1").arg(pageCount_));
    {
        const QSignalBlocker block(scrPage);
        scrPage->setRange(1, pageCount_);
        scrPage->setValue(1);
    }
    store_.Allocate();
    analysis_.reset();
    activity_.reset();
    LoadPage(1);
    for (QPushButton* b : {cmdChannel, cmdAnalyze, cmdReport, cmdGroup})
        b->setEnabled(true);
}

void FrmOffline::ReadSettingsAndFillLists()
{
    // Nothing chosen yet: there is no folder to read (an empty path would
    // name the current directory).
    if (!selectedFolder_.isEmpty())
        ReadOfflineExperiment(selectedFolder_, state_.project.appDir, projectNumber_, state_.services.op, experiment_);
    FillLists();
}

void FrmOffline::LoadPage(int page)
{
    picProgress->clear();
    const int rtBuffer = experiment_.Project.RT_Buffer > 0 ? experiment_.Project.RT_Buffer : 500;
    const PageLoad load =
        LoadRealTimePage(store_, openedFolder_, page, rtBuffer, [this](int percent) { DrawProgress(percent); });
    for (const QString& error : load.Errors)
        state_.services.op.inform(error);
}

void FrmOffline::DrawProgress(int percent)
{
    QImage& image = picProgress->image();
    image.fill(picProgress->background());
    if (percent > 0) {
        QPainter p(&image);
        p.fillRect(QRect(0, 0, image.width() * percent / 100, image.height()), QColor(0, 0, 255));
    }
    picProgress->update();
}

// ------------------------------------------------------------ well lists

void FrmOffline::FillLists()
{
    const PlateFormat& plate = experiment_.Plate;
    {
        const QSignalBlocker rows(cmbRow);
        const QSignalBlocker columns(cmbColumn);
        cmbRow->clear();
        cmbRow->addItems(RowLetters(plate.Rows));
        cmbRow->setCurrentIndex(0);
        cmbColumn->clear();
        cmbColumn->addItems(ColumnNumbers(plate.Columns));
        cmbColumn->setCurrentIndex(0);
    }
    lstGroups->clear();
    lstGroups->addItems(GroupEntries(experiment_.Project));
    lstGroups->setCurrentRow(0);
    GroupChosen();
    SelectWellFromLists();
}

void FrmOffline::SelectWellFromLists()
{
    const PlateFormat& plate = experiment_.Plate;
    const int row = cmbRow->currentIndex();
    const int column = cmbColumn->currentIndex() + 1;
    channel_ = -1;
    if (row >= 0 && column >= 1) {
        const int well = (column - 1) * plate.Rows + row;
        const int beam = static_cast<int>(NumericValue(txtBeam->text()));
        channel_ = BeamChannel(plate, well, beam);
        // A beam the well does not have: the well is still meant, show its first.
        if (channel_ < 0) {
            const QVector<WellBeam> beams = WellBeams(plate, well);
            if (!beams.isEmpty())
                channel_ = beams.front().Channel;
        }
    }
    lblChannel->setText(channel_ >= 0 ? QString::number(channel_) : QString());
}

void FrmOffline::GroupChosen()
{
    lstWells->clear();
    const QListWidgetItem* item = lstGroups->currentItem();
    if (!item)
        return;
    const int group = GroupOfEntry(item->text());
    for (int well : WellsOfGroup(experiment_.Plate, experiment_.Project, group))
        lstWells->addItem(WellLabel(well, experiment_.Plate.Rows));
}

void FrmOffline::WellChosen()
{
    const QListWidgetItem* item = lstWells->currentItem();
    int row = 0, column = 0;
    if (!item || !ParseWellLabel(item->text(), row, column))
        return;
    txtBeam->setText(QStringLiteral("0"));
    {
        const QSignalBlocker rows(cmbRow);
        const QSignalBlocker columns(cmbColumn);
        cmbRow->setCurrentIndex(row);
        cmbColumn->setCurrentIndex(column - 1);
    }
    SelectWellFromLists();
    if (pageBrowsing_)
        ShowChannelSignal();
    else
        ShowGroupActivity();
}

QString FrmOffline::WellText() const { return cmbRow->currentText() + cmbColumn->currentText(); }

QVector<WellBeam> FrmOffline::SelectedBeams() const
{
    if (channel_ < 0)
        return {};
    return WellBeams(experiment_.Plate, experiment_.Plate.ChannelWell[channel_]);
}

// ---------------------------------------------------------------- views

void FrmOffline::SetCaptions(View view)
{
    const bool group = view == View::GroupActivity;
    cmdChannel->setText(group ? kChannelCaption : Bracketed(kChannelCaption));
    cmdGroup->setText(group ? Bracketed(kGroupCaption) : kGroupCaption);
}

void FrmOffline::ShowChannelSignal()
{
    SetCaptions(View::ChannelSignal);
    pageBrowsing_ = true;
    view_ = View::ChannelSignal;
    Redraw();
}

void FrmOffline::ShowAnalysis()
{
    const ThresholdChoice threshold = ThresholdOfBox(txtThreshold->text());
    if (threshold.Replaced)
        txtThreshold->setText(QStringLiteral("1.8"));
    analysisThreshold_ = threshold.Value;
    analysisMethod_ = cmbMode->currentText() == QLatin1String("Mode:1") ? 1 : 0;
    SetCaptions(View::Analyze);
    pageBrowsing_ = true;
    view_ = View::Analyze;
    analysis_.reset();
    if (realTimeFiles_ > 0)
        analysis_ = AnalyzePage(store_, openedFolder_, page_, SelectedBeams(), analysisThreshold_, analysisMethod_,
                                analyzer_);
    Redraw();
}

void FrmOffline::ShowGroupActivity()
{
    SetCaptions(View::GroupActivity);
    pageBrowsing_ = false;
    view_ = View::GroupActivity;
    activity_.reset();
    if (!QFileInfo(CountsFilePath(openedFolder_)).isFile()) {
        picPlot->clear();
        state_.services.op.inform(kNoActivityFile);
        return;
    }
    activity_ = ComputeGroupActivity(openedFolder_, experiment_, channel_);
    if (!activity_ && channel_ >= 0)
        state_.services.op.inform(QStringLiteral("Activity file can't be read: %1")
                                      .arg(QDir::toNativeSeparators(CountsFilePath(openedFolder_))));
    activityGroup_.clear();
    if (channel_ >= 0) {
        const int group = experiment_.Project.ChannelGroup[channel_];
        for (const QString& entry : GroupEntries(experiment_.Project))
            if (GroupOfEntry(entry) == group)
                activityGroup_ = entry;
    }
    Redraw();
}

void FrmOffline::Redraw()
{
    QImage& image = picPlot->image();
    image.fill(Qt::white);
    const QVector<WellBeam> beams = SelectedBeams();
    SignalPlotInput input;
    input.Store = &store_;
    input.Beams = beams;
    input.MaxBeam = experiment_.Plate.MaxBeam;
    input.WellText = WellText();
    input.Page = page_;
    input.PageCount = pageCount_;

    switch (view_) {
    case View::None:
        DrawPlotMessage(image, QStringLiteral("Double-click a project in the list on the left, then one of its "
                                              "experiments,\nthen choose a view: Channel Signal, Analyze or Group Activity."));
        break;
    case View::ChannelSignal:
    case View::Analyze:
        if (realTimeFiles_ == 0 || !store_.IsAllocated())
            DrawPlotMessage(image, QStringLiteral("This experiment holds no real-time signal files (0.bin, 1.bin, ...):\n"
                                                  "only its recorded activity can be shown (Group Activity)."));
        else if (beams.isEmpty())
            DrawPlotMessage(image, QStringLiteral("Well %1 has no beam on this plate.").arg(input.WellText));
        else if (view_ == View::ChannelSignal)
            DrawChannelSignals(image, input);
        else if (analysis_)
            DrawAnalysis(image, {input, &*analysis_, analysisThreshold_, analysisMethod_});
        break;
    case View::GroupActivity:
        if (activity_ && channel_ >= 0)
            DrawGroupActivity(image, {&*activity_, input.WellText, activityGroup_});
        else if (channel_ < 0)
            DrawPlotMessage(image, QStringLiteral("Well %1 has no beam on this plate.").arg(input.WellText));
        else
            DrawPlotMessage(image, QStringLiteral("The activity file of this experiment cannot be read."));
        break;
    }
    picPlot->update();
}

void FrmOffline::PageChanged(int page)
{
    if (!pageBrowsing_) {
        const QSignalBlocker block(scrPage);
        scrPage->setValue(page_);
        return;
    }
    page_ = page;
    txtPage->setText(QStringLiteral("%1/%2").arg(page_).arg(pageCount_));
    LoadPage(page_);
    if (view_ == View::Analyze)
        ShowAnalysis();
    else
        ShowChannelSignal();
}

void FrmOffline::OpenReport()
{
    if (!selectedFolder_.isEmpty() && QFileInfo(CountsFilePath(selectedFolder_)).isFile())
        host_.openReportWindow(selectedFolder_, kReportBinMinutes);
    else
        state_.services.op.inform(kNoActivityFile);
}

void FrmOffline::OpenAnalytics()
{
    if (selectedFolder_.isEmpty() || !QFileInfo(CountsFilePath(selectedFolder_)).isFile()) {
        state_.services.op.inform(kNoActivityFile);
        return;
    }
    if (!analytics_)
        analytics_ = new AnalyticsView(state_.project.appDir, state_.services.op, this);
    if (analytics_->Open(selectedFolder_)) {
        analytics_->show();
        analytics_->raise();
    }
}

// -------------------------------------------------------- join and export

void FrmOffline::Join()
{
    if (level_ != 1) {
        state_.services.op.inform(QStringLiteral("Wrong Selection!\r\nSelect more than one acquisition folder"));
        return;
    }
    QStringList names;
    for (int i = 0; i < lstBrowser->count(); ++i)
        if (lstBrowser->item(i)->isSelected())
            names << lstBrowser->item(i)->text();
    if (state_.services.op.ask(JoinQuestion(names), Buttons::OkCancel) != Answer::Ok || names.size() < 2)
        return;
    const JoinResult result = JoinExperiments(projectFolder_, names, state_.services.clock.now());
    switch (result.Outcome) {
    case JoinResult::Status::FolderInUse:
        state_.services.op.inform(QStringLiteral("The folder %1 holds a recorded experiment: nothing was joined. "
                                        "Join again in a minute.")
                             .arg(result.FolderName));
        return;
    case JoinResult::Status::Failed:
        state_.services.op.inform(QStringLiteral("Join failed: %1").arg(result.Error));
        return;
    case JoinResult::Status::Joined:
        break;
    }
    // The joined experiment is listed at once, selected, ready to be reported on.
    ListExperiments();
    const auto found = lstBrowser->findItems(result.FolderName, Qt::MatchExactly);
    if (!found.isEmpty()) {
        lstBrowser->setCurrentItem(found.front());
        BrowserClicked(lstBrowser->row(found.front()));
    }
    ActionStatus::Of(*this, &opener_).Done(QStringLiteral("Experiments joined into"),
                                          QDir(projectFolder_).filePath(result.FolderName));
}

void FrmOffline::ExportAscii()
{
    const QString path = QDir(state_.project.appDir).filePath(QStringLiteral("datafile.txt"));
    const auto write = [&](const std::function<void()>& writer) {
        try {
            writer();
        } catch (const RecordError& e) {
            state_.services.op.inform(
                QStringLiteral("The data were not exported: %1").arg(QString::fromUtf8(e.what())));
            return;
        }
        ActionStatus& status = ActionStatus::Of(*this, &opener_);
        status.Done(QStringLiteral("Data exported"), path);
        status.Open(path);
    };
    if (view_ == View::GroupActivity) {
        // The series on show, bin by bin.
        if (!activity_ || channel_ < 0) {
            state_.services.op.inform(QStringLiteral("Nothing to export: no activity is plotted."));
            return;
        }
        const ActivityExportRequest request{experiment_.Project.Name, openedFolder_, WellText(), activityGroup_};
        write([&] { WriteActivityExport(path, request, *activity_); });
        return;
    }
    if (!pageBrowsing_ || !store_.IsAllocated()) {
        state_.services.op.inform(QStringLiteral("Nothing to export: open an experiment and show a view first."));
        return;
    }
    if (realTimeFiles_ < 1) {
        state_.services.op.inform(
            QStringLiteral("Nothing to export: this experiment holds no real-time signal files."));
        return;
    }
    SignalExportRequest request;
    request.ProjectName = experiment_.Project.Name;
    request.ExperimentFolder = openedFolder_;
    request.WellText = WellText();
    request.PageText = txtPage->text();
    request.Page = page_;
    request.Beams = SelectedBeams();
    write([&] { WriteSignalExport(path, request, store_); });
}

void FrmOffline::ExportBmp()
{
    const QString path = QDir(state_.project.appDir).filePath(QStringLiteral("image1.bmp"));
    if (!picPlot->image().save(path, "BMP")) {
        state_.services.op.inform(
            QStringLiteral("The plot was not saved: %1 cannot be written.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    ActionStatus& status = ActionStatus::Of(*this, &opener_);
    status.Done(QStringLiteral("Plot saved"), path);
    status.Open(path);
}

} // namespace bandora
