// The run at a glance on the main window: the plate map's colours, flags and
// click, and the status line that says what an action did.

#include "support/ProgramRig.h"
#include "support/RecordingOpener.h"

#include "core/acquisition/LiveDisplay.h"
#include "gui/ActionStatus.h"
#include "gui/FrmOffline.h"
#include "gui/LivePlots.h"
#include "gui/PictureBox.h"
#include "gui/PlateMap.h"
#include "gui/PlateMapPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// The main window of a started program, as large as the smallest screen.
struct MainWindow {
    ProgramRig h;
    FrmMain* w = nullptr;
    PlateMapPanel* panel = nullptr;
    PlateMap* map = nullptr;

    MainWindow()
    {
        EXPECT_EQ(h.Start(), Startup::Result::Running);
        h.main->OfflineWindow()->cmdMain->click();
        w = h.main.get();
        w->resize(1366, 768);
        QApplication::processEvents();
        panel = w->findChild<PlateMapPanel*>(QStringLiteral("frm_platemap"));
        map = w->findChild<PlateMap*>(QStringLiteral("pic_platemap"));
    }
    // Every beam of a well counts n in the cycle under way.
    void Count(int well, int n)
    {
        for (int ch = 0; ch < kChannels; ++ch)
            if (h.state->project.plate.ChannelWell[size_t(ch)] == well)
                w->Cycle().IntervalCount[size_t(ch)] = qint16(n);
    }
    QRgb Centre(int well) const { return map->image().pixel(map->CellRect(well).center()) & 0xFFFFFF; }
    QRgb Edge(int well) const { return map->image().pixel(map->CellRect(well).topLeft() + QPoint(1, 1)) & 0xFFFFFF; }
};

} // namespace

TEST(PlateMap, ColoursFollowTheCountsStillWellsAreFlaggedAndAClickSelectsTheWell)
{
    MainWindow m;
    ASSERT_TRUE(m.panel && m.map);
    const int rows = m.h.state->project.plate.Rows;
    const int c5 = 4 * rows + 2, a2 = rows;
    m.h.state->run.State = AcquisitionState::Running;
    m.h.state->run.AutoZero = false; // counts grow tick by tick only outside zero mode
    m.w->Display().RunStarted();

    // Counts growing in the cycle under way colour their wells at once.
    m.h.clock.advance(5 * 60 * 1000);
    m.Count(c5, 10);
    m.Count(a2, 5);
    m.w->Display().DrawActivityPanel(QStringLiteral("25.0"));
    m.panel->Redraw();
    EXPECT_EQ(m.Centre(c5), (PlateMap::ActivityColour(10, 10).rgb() & 0xFFFFFF));

    // The cycle ends; an hour after the start only C5 and A2 have moved:
    // every other well is flagged red and its tooltip tells since when.
    m.w->Display().BufferCycleCounted();
    m.h.clock.advance(56 * 60 * 1000);
    m.panel->Redraw();
    EXPECT_EQ(m.Edge(0), 0xDC0000u);
    EXPECT_NE(m.Edge(c5), 0xDC0000u);
    EXPECT_TRUE(m.panel->WellToolTip(0).contains(QStringLiteral("no movement since 10:00")));

    // A click on C5 selects its channel as the Row and Column boxes would.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(m.map->CellRect(c5).center()), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m.map, &press);
    EXPECT_EQ(Child<QComboBox>(*m.w, "Combofila")->currentText(), QStringLiteral("C"));
    EXPECT_EQ(Child<QComboBox>(*m.w, "Combocol")->currentText(), QStringLiteral("5"));
    const int channel = Child<QLabel>(*m.w, "lblcanal")->text().toInt();
    EXPECT_EQ(m.h.state->project.plate.ChannelWell[size_t(channel)], c5);
    EXPECT_EQ(m.w->Plots().SelectedChannel(), channel);
}

TEST(ActionStatus, NamesWhatWasWrittenOpensItsFolderAndSaysWhenNothingOpensAFile)
{
    MainWindow m;
    RecordingOpener opener;
    m.w->SetDesktopOpener(opener);
    // Help > Content without the manual, then with a desktop that has no viewer.
    Child<QAction>(*m.w, "mncontent")->trigger();
    ActionStatus& line = m.w->StatusLine();
    EXPECT_TRUE(line.lbl_actionstatus->text().startsWith(QStringLiteral("The manual is missing:")));
    const QString manual = m.h.dir.filePath(QStringLiteral("bdr_help.pdf"));
    WriteAll(manual, "%PDF-1.4");
    opener.answer = false;
    Child<QAction>(*m.w, "mncontent")->trigger();
    EXPECT_EQ(line.lbl_actionstatus->text(),
              QStringLiteral("Nothing on this desktop opens %1: open it from its folder.").arg(QDir::toNativeSeparators(manual)));
    EXPECT_FALSE(line.cmd_openfolder->isHidden());

    // Its folder opens from the line; once the desktop opens the manual the
    // line says so.
    opener.answer = true;
    line.cmd_openfolder->click();
    Child<QAction>(*m.w, "mncontent")->trigger();
    EXPECT_EQ(opener.opened, (QStringList{manual, QFileInfo(manual).absolutePath(), manual}));
    EXPECT_EQ(line.lbl_actionstatus->text(), QStringLiteral("Manual opened: ") + QDir::toNativeSeparators(manual));
}
