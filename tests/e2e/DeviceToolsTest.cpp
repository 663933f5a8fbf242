// The device test and the factory window inside the program (--simulate):
// the test's map takes the activity panel for its steps, and a calibration
// from the factory window reaches the instrument's memory.

#include "gui/DeviceTestView.h"
#include "gui/FrmFactory.h"
#include "gui/PictureBox.h"
#include "support/QtPrinters.h"
#include "support/ProgramRig.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

namespace {

// The program started with its virtual instrument on COM4.
struct Program : ProgramRig {
    Program()
    {
        SerialPorts(4, false);
        clock.set(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
        EXPECT_EQ(StartOnSerialLine(true), Startup::Result::Running);
        EXPECT_NE(serial->Simulated(), nullptr);
        EXPECT_TRUE(op.texts().isEmpty()) << op.texts().join('|').toStdString();
    }
};

} // namespace

TEST(DeviceTools, TheTestMapTakesThePanelAndGivesItBack)
{
    Program p;
    FrmMain& w = *p.main;
    PictureBox* panel = Child<PictureBox>(w, "Picact");
    panel->resize(600, 420);
    DeviceTestView& view = w.DeviceTester();
    // OK to the question and the two messages of A1-D1, then No at step 9:
    // the whole test against the paced virtual instrument takes long.
    p.op.answers.append({Answer::Ok, Answer::Ok, Answer::Ok, Answer::No});
    Child<QAction>(w, "mnstatustest")->trigger();
    ASSERT_TRUE(view.Timer_test.isActive());
    EXPECT_FALSE(view.lbl_autostart->isHidden());

    view.OnTick();
    const QImage map = panel->image().copy();

    // The steps themselves are DeviceTest's (its No at step 9 ends them).
    for (int ticks = 1; view.Timer_test.isActive() && ticks < 200; ++ticks)
        view.OnTick();
    EXPECT_TRUE(view.lbl_autostart->isHidden());
    EXPECT_NE(panel->image(), map) << "the panel is back to its normal drawing";
}

TEST(DeviceTools, TheFactoryWindowOpensOnlyWhenStoppedAndCalibratesTheInstrument)
{
    Program p;
    FrmMain& w = *p.main;
    p.op.clear();
    p.state->run.State = AcquisitionState::Paused;
    Child<QAction>(w, "mn_factory")->trigger();
    EXPECT_EQ(p.op.texts(), QStringList{"Only possible to access in: ONLINE mode and STOP experiment"});
    EXPECT_EQ(w.FactoryWindow(), nullptr);

    p.state->run.State = AcquisitionState::Stopped;
    Child<QAction>(w, "mn_factory")->trigger();
    FrmFactory* f = w.FactoryWindow();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(w.isHidden());
    f->txt_set_temp->setText("24.0");
    f->Cmd_temp->click();
    EXPECT_EQ(f->txt_mensaje->text(), "OK Last Factory Calibration 03/26 [mm/yy]");
    EXPECT_EQ(p.serial->Simulated()->Memory()[1], 3) << "the record reached the instrument's memory";

    f->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.isHidden());
    EXPECT_EQ(w.FactoryWindow(), nullptr);
}
