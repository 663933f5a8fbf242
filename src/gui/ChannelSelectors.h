#pragma once

#include "core/display/ChannelSelection.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QListWidget;

namespace bandora {

struct AppState;

// The "Channel" frame of the main window: plate row (Combofila), column
// (Combocol) and beam (txtsub), or a group (combogrup) and one of its
// channels (lstgrup). The chosen channel shows in lblcanal and goes out as
// channelChosen; CheckRT shows or hides the real-time plot.
class ChannelSelectors final : public QGroupBox {
    Q_OBJECT
public:
    ChannelSelectors(AppState& state, QWidget* parent = nullptr);

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

    // The width of the channel number that follows the window's lettering.
    void FitToFont(const QFontMetrics& m);

Q_SIGNALS:
    void channelChosen(int channel);
    void realTimeToggled(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& state_;
    QComboBox* Combofila = nullptr;
    QComboBox* Combocol = nullptr;
    QLineEdit* txtsub = nullptr;
    QLabel* lblcanal = nullptr;
    QComboBox* combogrup = nullptr;
    QListWidget* lstgrup = nullptr; // watched for the Enter key
    QCheckBox* CheckRT = nullptr;
    GroupUsedTable GroupUsed_{};
};

} // namespace bandora
