#include "core/AppState.h"
#include "support/RecordingOpener.h"
#include "core/offline/RealTimeStore.h"
#include "core/storage/RecordSyntax.h"
#include "gui/FrmOffline.h"
#include "gui/OfflineHost.h"
#include "gui/PictureBox.h"
#include "support/RecordedExperiment.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"
#include "support/WidgetInput.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

class RecordingOfflineHost final : public OfflineHost {
public:
    void showMainWindow() override {}
    void showSetupWindow() override {}
    void openReportWindow(const QString& folder, int bin) override
    {
        reportFolder = folder;
        reportBin = bin;
    }
    QString reportFolder;
    int reportBin = 0;
};

// Project 3 on a 96-well plate: "control" holds A1 and B1, "drug" A2; two
// recorded experiments (which folders count as one is the browser's rule).
class OfflineWindowTest : public ::testing::Test {
protected:
    OfflineWindowTest()
    {
        CopyShippedPlates(app);
        ProjectSetup p;
        p.Num_proj = 3;
        p.Name = QStringLiteral("larvae");
        p.Plate_format = QStringLiteral("w96f");
        p.ChannelGroup.fill(-1);
        for (int ch : {0, 16, 2, 18})
            p.ChannelGroup[ch] = 1;
        for (int ch : {32, 48})
            p.ChannelGroup[ch] = 2;
        p.GroupName[1] = QStringLiteral("control");
        p.GroupName[2] = QStringLiteral("drug");
        project = QDir(app).filePath(QStringLiteral("p00003"));
        QDir().mkpath(project);
        SaveProject(p, project);
        // 78 buffer cycles: files 0..6 of 11 records and file 7 with one.
        Record(QStringLiteral("05122026_1000"), p, 78);
        Record(QStringLiteral("05122026_1200"), p, 12);
        RecordWriter().Header(QStringLiteral("afternoon")).Header(QString()).WriteTo(
            QDir(Folder(QStringLiteral("05122026_1200"))).filePath(QStringLiteral("subproj.dat")));

        state.project.setup.Num_proj = 7;
        state.project.setup.Name = QStringLiteral("current");
        state.project.folder = QDir(app).filePath(QStringLiteral("p00007"));
    }
    ~OfflineWindowTest() override { delete window.data(); }

    QString Folder(const QString& name) const { return QDir(project).filePath(name); }
    void Record(const QString& name, const ProjectSetup& p, int cycles)
    {
        QDir().mkpath(Folder(name));
        SaveProject(p, Folder(name));
        RecordCycles(Folder(name), cycles);
    }

    FrmOffline& Open()
    {
        window = new FrmOffline(state, host, opener);
        window->resize(1300, 720);
        window->show();
        QApplication::processEvents();
        return *window;
    }

    void Click(const QString& text)
    {
        const auto items = window->lstBrowser->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        window->lstBrowser->clearSelection();
        window->lstBrowser->setCurrentItem(items.front());
        Q_EMIT window->lstBrowser->itemClicked(items.front());
    }
    void DoubleClick(const QString& text)
    {
        Click(text);
        Q_EMIT window->lstBrowser->itemDoubleClicked(window->lstBrowser->currentItem());
    }
    static bool Drawn(const QImage& image)
    {
        QImage blank(image.size(), image.format());
        blank.fill(Qt::white);
        return image != blank;
    }

    QTemporaryDir dir;
    QString app = dir.path();
    QString project;
    ScriptedOperator op;
    TestClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 30))};
    TestEventPump events;
    AppState state{app, op, clock, events};
    RecordingOfflineHost host;
    RecordingOpener opener;
    QPointer<FrmOffline> window;
};

} // namespace

TEST_F(OfflineWindowTest, BrowsingOpensProjectsAndRecordedExperimentsAndWritesNothing)
{
    const auto before = FolderContent(project);
    FrmOffline& w = Open();
    EXPECT_EQ(Items(w.lstBrowser), QStringList{QStringLiteral("p00003")});

    Click(QStringLiteral("p00003"));
    PressEnter(w.lstBrowser);
    EXPECT_EQ(Items(w.lstBrowser), (QStringList{QStringLiteral("05122026_1200"), QStringLiteral("05122026_1000")}));

    DoubleClick(QStringLiteral("05122026_1000"));
    EXPECT_EQ(w.txtPage->text(), QStringLiteral("1/2"));
    EXPECT_EQ(w.Store().Value(33, 10, 4), PatternValue(33, 10, 4));

    // Clicking other entries changes the text and the selection, not what is open.
    Click(QStringLiteral("05122026_1200"));
    EXPECT_EQ(w.txtInfo->toPlainText(), QStringLiteral("<Project> p00003: larvae\n<Subproject> 05122026_1200: afternoon"));
    EXPECT_EQ(w.OpenedFolder(), Folder(QStringLiteral("05122026_1000")));

    w.cmdBack->click();
    EXPECT_EQ(w.BrowseLevel(), 0);
    EXPECT_TRUE(w.SelectedExperimentName().isEmpty());

    EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(FolderContent(project), before);
    EXPECT_EQ(state.project.setup.Name, QStringLiteral("current"));
    EXPECT_EQ(state.project.setup.Num_proj, 7);
}

TEST_F(OfflineWindowTest, PagesTurnAndAWellIsChosenFromItsGroup)
{
    FrmOffline& w = Open();
    DoubleClick(QStringLiteral("p00003"));
    DoubleClick(QStringLiteral("05122026_1000"));
    w.cmdChannel->click();
    w.scrPage->setValue(2);
    EXPECT_EQ(w.txtPage->text(), QStringLiteral("2/2"));
    EXPECT_TRUE(Drawn(w.picPlot->image()));

    // A well of a group: its beam 0 and its channel.
    w.lstGroups->setCurrentRow(1);
    Q_EMIT w.lstGroups->itemClicked(w.lstGroups->currentItem());
    w.txtBeam->setText(QStringLiteral("1"));
    w.lstWells->setCurrentRow(0);
    PressEnter(w.lstWells);
    EXPECT_EQ(w.txtBeam->text(), QStringLiteral("0"));
    EXPECT_EQ(w.lblChannel->text(), QStringLiteral("32"));
    EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(OfflineWindowTest, JoinMakesANewExperimentThatCanBeOpenedAndReported)
{
    FrmOffline& w = Open();
    w.cmdJoin->click();
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Wrong Selection!\r\nSelect more than one acquisition folder")});

    DoubleClick(QStringLiteral("p00003"));
    w.lstBrowser->selectAll();
    const QString joined = Folder(QStringLiteral("06122026_0930"));
    w.cmdJoin->click();
    ASSERT_TRUE(QFileInfo::exists(CountsFilePath(joined)));
    EXPECT_EQ(w.SelectedExperimentName(), QStringLiteral("06122026_0930"));

    w.cmdReport->setEnabled(true);
    w.cmdReport->click();
    EXPECT_EQ(host.reportFolder, joined);
    EXPECT_EQ(host.reportBin, 30);

    // The joined experiment has no real-time files.
    op.clear();
    DoubleClick(QStringLiteral("06122026_0930"));
    w.cmdChannel->click();
    EXPECT_TRUE(Drawn(w.picPlot->image())); // says why there is no signal
    w.mnExportAscii->trigger();
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("Nothing to export: this experiment holds no real-time signal files.")});
}

TEST_F(OfflineWindowTest, ExportsGoToTheProgramFolderAndToTheDesktop)
{
    FrmOffline& w = Open();
    DoubleClick(QStringLiteral("p00003"));
    DoubleClick(QStringLiteral("05122026_1000"));
    const QString text = QDir(app).filePath(QStringLiteral("datafile.txt"));
    w.cmdChannel->click();
    w.mnExportAscii->trigger();
    ASSERT_EQ(opener.opened, QStringList{text});
    EXPECT_EQ(ReadAll(text).split('\n')[3], "Well: A1 Page[1/2] [#0k-27.5k]\r");

    w.mnExportBmp->trigger();
    ASSERT_EQ(opener.opened.size(), 2);
    EXPECT_EQ(opener.opened[1], QDir(app).filePath(QStringLiteral("image1.bmp")));
    EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join(QLatin1Char('|')).toStdString();
}
