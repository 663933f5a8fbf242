#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace bandora {

struct AppState;
class GroupsPanel;
class SetupHost;

// The setup window (Frm_setup): projects (New, Save, Rename, Load), the
// acquisition settings, the file output, the tools and, in the Groups panel,
// the plate picture and the groups of wells. It edits the project in memory;
// only the project actions write files.
//
// The window is made on first use and hidden, not closed, by "Main",
// "OffLine" and the start of a run; closing it with its close box deletes it
// (the next "Setup" makes a new one). Settings panels are built in
// FrmSetupPanels.cpp.
class ActionStatus;

class FrmSetup : public QWidget {
    Q_OBJECT
public:
    FrmSetup(AppState& state, SetupHost& host, QWidget* parent = nullptr);

    // Fills every control from the project and the plate (also after a
    // project load and after a new plate).
    void WindowLoad();

    // The description box, copied from the main window when the window is shown.
    void SetDescription(const QString& text);
    QString Description() const;

    // The panel buttons.
    enum class Panel { Config, Output, Groups, Tools };
    void ShowPanel(Panel panel);

    // The main window's calibration control switched the calibration tool on.
    void TickCalibrationControl();

    // --- controls, named as the tests and the other windows know them ---
    QLineEdit* txtprj = nullptr;
    QLineEdit* Txt_description = nullptr;
    QLineEdit* Txtfolder = nullptr;

    QPushButton* Cmdnewpj = nullptr;
    QPushButton* Cmdsavepj = nullptr;
    QPushButton* Cmdrename = nullptr;
    QPushButton* cmdLoad = nullptr;
    QGroupBox* frm_project = nullptr;
    QListWidget* List_project = nullptr;
    QPushButton* Cmd_cancel = nullptr;
    QPushButton* Command21 = nullptr; // "Main"
    QPushButton* Command24 = nullptr; // "OffLine"

    QPushButton* Cmdconfig = nullptr;
    QPushButton* Cmdoutput = nullptr;
    QPushButton* Cmdgroups = nullptr;
    QPushButton* Cmdtools = nullptr;

    QGroupBox* Frameconfig = nullptr;
    QComboBox* Combo_aqmode = nullptr;
    QLineEdit* Txtlapse = nullptr;
    QLineEdit* Txtsample = nullptr;
    QLineEdit* Txtbuffer = nullptr;
    QLineEdit* Txt_dspinterval = nullptr;
    QComboBox* ComboDSP = nullptr;
    QComboBox* Combowell = nullptr;
    QPushButton* cmdlod = nullptr;

    QGroupBox* Frameout = nullptr;
    QComboBox* Combosavecount = nullptr;
    QComboBox* Combosavereal = nullptr;

    QGroupBox* frametool = nullptr;
    QCheckBox* chkcalib = nullptr;
    QCheckBox* chklight = nullptr;
    QCheckBox* chktemp = nullptr;
    QCheckBox* Chk_mn4 = nullptr;
    QCheckBox* Chk_mn5 = nullptr;
    QCheckBox* Chk_mn6 = nullptr;

    GroupsPanel* Framegrup = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // FrmSetup.cpp: the window, the project actions and the navigation.
    QWidget* BuildProjectBar();
    QWidget* BuildButtonColumn();
    void ShowProjectTitle();
    void NewProjectClicked();
    void SaveProjectClicked();
    void RenameClicked();
    void LoadClicked();
    void ProjectChosen();
    void GoMain();
    void GoOffline();

    // FrmSetupPanels.cpp: the settings panels and their rules.
    QGroupBox* BuildConfigFrame();
    QGroupBox* BuildOutputFrame();
    QGroupBox* BuildToolsFrame();
    void ConnectSettings();
    // Checks a number box against its limits and stores what it keeps.
    void CommitNumberBox(QLineEdit* box);
    // Every number box, before a project action or leaving the window.
    void CommitNumberBoxes();
    void FillSettings();
    void FillPlateList();
    void ApplyPlateClicked();
    void ToolClicked(int tool, bool checked);

    AppState& state_;
    ActionStatus* status_ = nullptr; // what the last save did
    SetupHost& host_;
};

} // namespace bandora
