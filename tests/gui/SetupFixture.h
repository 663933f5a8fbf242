#pragma once

// A program folder with the shipped plate files and project 3 on a 96-well
// plate, the program-wide state on it, and a setup window whose
// surroundings are recorded.

#include "core/AppState.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectFiles.h"
#include "gui/FrmSetup.h"
#include "gui/GroupsPanel.h"
#include "gui/Picwell.h"
#include "gui/SetupHost.h"
#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

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
    bool showOfflineWindow() override { return false; }
    void showToolFrame(int tool, bool shown) override { toolFrames[tool] = shown; }

    std::map<int, bool> toolFrames;
};

class SetupWindowTest : public ::testing::Test {
protected:
    SetupWindowTest()
    {
        for (const QString& name : ListPlateFiles(QStringLiteral(BANDORA_DATA_DIR)))
            QFile::copy(PlateFilePath(QStringLiteral(BANDORA_DATA_DIR), name), PlateFilePath(app, name));
        state.config = ProgramConfig{3, 7, 4, 0};
        SaveConfig(app, state.config, op);
        state.project.Num_proj = 3;
        state.project.Name = QStringLiteral("larvae");
        state.project.Plate_format = QStringLiteral("w96f");
        state.projectFolder = QDir(app).filePath(ProjectFolderName(3));
        QDir().mkpath(state.projectFolder);
        SaveProject(state.project, state.projectFolder);
        LoadPlate(state.project, state.plate, app, op);
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

    // Selects the group-list item of a group number, as a click on it does.
    void SelectGroup(int group)
    {
        QListWidget* list = window->Framegrup->combogrup;
        const QString prefix = QStringLiteral("%1_").arg(group, 3, 10, QLatin1Char('0'));
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().startsWith(prefix))
                list->setCurrentRow(i);
        ASSERT_EQ(window->Framegrup->SelectedGroup(), group);
    }

    static QStringList Texts(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
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
