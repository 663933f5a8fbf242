#pragma once

// A program folder with the shipped plate files and project 3 on a 96-well
// plate, the program-wide state on it, and a setup window whose
// surroundings are recorded.

#include "core/AppState.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "gui/FrmSetup.h"
#include "gui/GroupsPanel.h"
#include "gui/Picwell.h"
#include "gui/SetupHost.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"
#include "support/WidgetInput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace bandora::test {

// Stands in for the main window (the way back is tested with the real one).
class RecordingHost final : public SetupHost {
public:
    void setMainDescription(const QString&) override {}
    void showMainWindow() override {}
    void showOfflineWindow() override { ++offlineShown; }
    void showToolFrame(int tool, bool shown) override { toolFrames[tool] = shown; }

    std::map<int, bool> toolFrames;
    int offlineShown = 0;
};

class SetupWindowTest : public ::testing::Test {
protected:
    SetupWindowTest()
    {
        SeedProgramFolder(state);
        LoadPlate(state.project.setup, state.project.plate, app, op);
    }

    // Opens the window at the size of a small laptop screen.
    FrmSetup& Open()
    {
        window = new FrmSetup(state, host);
        window->resize(1300, 700);
        window->show();
        QApplication::processEvents();
        return *window;
    }

    ~SetupWindowTest() override { delete window.data(); }

    Picwell& Picture() { return *window->Framegrup->picwell; }

    void Mouse(QEvent::Type type, QWidget& w, QPoint pos, Qt::MouseButton button)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }

    // Presses over one well cell, drags through to another and releases there.
    void Drag(WellCell from, WellCell to, Qt::MouseButton button = Qt::LeftButton)
    {
        Picwell& pic = Picture();
        Mouse(QEvent::MouseButtonPress, pic, pic.cellCentre(from), button);
        Mouse(QEvent::MouseMove, pic, pic.cellCentre(to), button);
        Mouse(QEvent::MouseButtonRelease, pic, pic.cellCentre(to), button);
    }

    void Click(WellCell cell, Qt::MouseButton button = Qt::LeftButton) { Drag(cell, cell, button); }

    QTemporaryDir tmp;
    QString app = tmp.path();
    ScriptedOperator op;
    TestClock clock;
    NoEventPump events;
    AppState state{app, op, clock, events};
    RecordingHost host;
    QPointer<FrmSetup> window;
};

} // namespace bandora::test
