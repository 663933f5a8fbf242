#pragma once

#include "core/display/ChannelSelection.h"

#include <QObject>

class QListWidget;

namespace bandora {

struct AppState;
class FrmMain;
class LivePlots;

// The channel choice of the main window: plate row (Combofila), column
// (Combocol) and beam (txtsub), or a group (combogrup) and one of its
// channels (lstgrup). The chosen channel shows in lblcanal and goes to the
// live display.
class ChannelSelectors : public QObject {
    Q_OBJECT
public:
    ChannelSelectors(FrmMain& window, AppState& state, LivePlots& plots);

    // Refills the row, column and group lists from the plate and the
    // project's groups and selects the first of each.
    void FillSelectors();
    // lstgrup: the channels of one group, as "C7.1" items.
    void FillGroupList(int group);
    // The channel at the chosen row, column and beam. A row choice that
    // lands beyond the plate starts again from A1.
    void SelectFromPlate(bool rowChosen = false);
    // txtsub left: a beam beyond the plate's largest becomes the largest.
    void LimitBeam();
    // An lstgrup item chosen (double click or Enter): its row, column and
    // beam go into the selectors.
    void ChooseItem(const QString& item);
    // A well clicked on the plate map: its row and column go into the
    // selectors, with the beam chosen when the well has it, else its first.
    void SelectWell(int well);

    // The lists no longer match the project's plate or groups (changed in
    // the setup window).
    bool ListsOutdated() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmMain& w_;
    AppState& state_;
    LivePlots& plots_;
    QListWidget* list_ = nullptr; // lstgrup, watched for the Enter key
    GroupUsedTable GroupUsed_{};
};

} // namespace bandora
