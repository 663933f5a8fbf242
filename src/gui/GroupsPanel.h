#pragma once

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace bandora {

struct AppState;
class Picwell;

// The "Biological Replicate Groups" panel of the setup window (Framegrup):
// the group list, the assigned and free well lists, the block layouts and
// the plate picture. Every change is made in the project in memory; the
// project actions of the window write it.
class GroupsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupsPanel(AppState& state, QWidget* parent = nullptr);

    // Fills every list and the picture from the project and the plate,
    // selecting the given group (the first when it is not listed).
    void Reload(int group = 0);

    // The group selected in the group list.
    int SelectedGroup() const { return group_; }

    Picwell* picwell = nullptr;
    QLabel* lblnchannel = nullptr;
    QListWidget* combogrup = nullptr;
    QListWidget* lstgrup = nullptr;
    QListWidget* lstchgrup = nullptr;
    QPushButton* Command12 = nullptr; // "<=": the selected free well joins the group
    QPushButton* Command13 = nullptr; // "=>": the selected assigned well is freed
    QComboBox* Combo_sets = nullptr;
    QPushButton* cmd_goset = nullptr;
    QPushButton* Cmd_clear = nullptr;
    QPushButton* cmd_import_layout = nullptr; // "Import CSV...": groups from a spreadsheet's plate layout
    QPushButton* cmd_export_layout = nullptr; // "Export CSV..."

    // Asks for the layout file (true: a file to write). A file dialog unless
    // replaced (the tests answer with a path); empty when cancelled.
    std::function<QString(bool forWriting)> chooseLayoutFile;

    void ImportLayout();
    void ExportLayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillGroupList(int group);
    void FillWellLists();
    void FillBlockLayouts();
    void SelectGroupRow(int row);
    void RenameSelectedGroup();
    void MoveSelectedWell(QListWidget* from, int group);
    void GoBlockLayout();
    void ClearAll();

    AppState& state_;
    int group_ = 0;
};

} // namespace bandora
