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
    void showOfflineWindow() override {}
    void showToolFrame(int tool, bool shown) override { toolFrames[tool] = shown; }

    std::map<int, bool> toolFrames;
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

    // Presses, moves and releases the left button over one well cell.
    void Click(WellCell cell)
    {
        Picwell& pic = *window->Framegrup->picwell;
        const QPointF at(pic.cellCentre(cell));
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent e(type, at, pic.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held, Qt::NoModifier);
            QApplication::sendEvent(&pic, &e);
        }
    }

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
