#include "ChannelSelectors.h"

#include "FrmMain.h"
#include "LivePlots.h"
#include "core/AppState.h"
#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace bandora {

namespace {

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

ChannelSelectors::ChannelSelectors(FrmMain& window, AppState& state, LivePlots& plots)
    : QObject(&window), w_(window), state_(state), plots_(plots)
{
    GroupUsed_.fill(-1);
    connect(w_.Combofila, &QComboBox::activated, this, [this] { SelectFromPlate(true); });
    connect(w_.Combocol, &QComboBox::activated, this, [this] { SelectFromPlate(false); });
    connect(w_.txtsub, &QLineEdit::editingFinished, this, &ChannelSelectors::LimitBeam);
    connect(w_.combogrup, &QComboBox::activated, this,
            [this] { FillGroupList(GroupOfItem(w_.combogrup->currentText())); });
    connect(w_.lstgrup, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ChooseItem(item->text()); });
    list_ = w_.lstgrup;
    list_->installEventFilter(this);
}

bool ChannelSelectors::eventFilter(QObject* watched, QEvent* event)
{
    // Compared with the list's own pointer: while the window is taken down
    // the list still gets events, and the window must not be touched then.
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list_->currentItem()) {
            ChooseItem(list_->currentItem()->text());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ChannelSelectors::FillSelectors()
{
    w_.Combofila->clear();
    w_.Combofila->addItems(RowItems(state_.project.plate));
    w_.Combofila->setCurrentIndex(0);
    w_.Combocol->clear();
    w_.Combocol->addItems(ColumnItems(state_.project.plate));
    w_.Combocol->setCurrentIndex(0);

    GroupUsed_ = ComputeGroupUsed(state_.project.setup);
    w_.combogrup->clear();
    w_.combogrup->addItems(GroupItems(state_.project.setup, GroupUsed_));
    w_.combogrup->setCurrentIndex(0);
    FillGroupList(GroupOfItem(w_.combogrup->currentText()));
    SelectFromPlate(false);
}

bool ChannelSelectors::ListsOutdated() const
{
    return Items(w_.Combofila) != RowItems(state_.project.plate)
           || Items(w_.Combocol) != ColumnItems(state_.project.plate)
           || Items(w_.combogrup) != GroupItems(state_.project.setup, ComputeGroupUsed(state_.project.setup));
}

void ChannelSelectors::FillGroupList(int group)
{
    w_.lstgrup->clear();
    w_.lstgrup->addItems(GroupListItems(state_.project.setup, state_.project.plate, group));
}

void ChannelSelectors::SelectFromPlate(bool rowChosen)
{
    const PlateFormat& plate = state_.project.plate;
    const auto place = [this] {
        const QString letter = w_.Combofila->currentText();
        const int row = letter.isEmpty() ? 0 : letter[0].unicode() - 64;
        const int column = int(NumericValue(w_.Combocol->currentText()));
        return std::pair{row, column};
    };
    auto [row, column] = place();
    if (rowChosen && WellAt(plate, row, column) < 0 && w_.Combofila->count() > 0) {
        w_.Combofila->setCurrentIndex(0);
        w_.Combocol->setCurrentIndex(0);
        std::tie(row, column) = place();
    }
    const int well = (column - 1) * plate.Rows + (row - 1);
    const int beam = int(RoundHalfEven(NumericValue(w_.txtsub->text())));
    const int channel = plate.WellBeamChannel(well, beam);
    w_.lblcanal->setText(QString::number(channel));
    plots_.SelectChannel(channel);
}

void ChannelSelectors::LimitBeam()
{
    const int typed = int(RoundHalfEven(NumericValue(w_.txtsub->text())));
    const int beam = std::clamp(typed, 0, int(std::max<qint16>(state_.project.plate.MaxBeam, 0)));
    w_.txtsub->setText(QString::number(beam));
    SelectFromPlate(false);
}

void ChannelSelectors::SelectWell(int well)
{
    const PlateFormat& plate = state_.project.plate;
    if (well < 0 || plate.Rows < 1)
        return;
    const int row = well % plate.Rows, column = well / plate.Rows;
    if (row >= w_.Combofila->count() || column >= w_.Combocol->count())
        return;
    const auto inWell = [&](int beam) {
        const int ch = plate.WellBeamChannel(well, beam);
        return ch >= 0 && ch < kChannels && plate.ChannelWell[size_t(ch)] == well && plate.ChannelBeam[size_t(ch)] == beam;
    };
    const int chosen = int(RoundHalfEven(NumericValue(w_.txtsub->text())));
    if (!inWell(chosen))
        for (int beam = 0; beam <= plate.MaxBeam; ++beam)
            if (inWell(beam)) {
                w_.txtsub->setText(QString::number(beam));
                break;
            }
    w_.Combofila->setCurrentIndex(row);
    w_.Combocol->setCurrentIndex(column);
    SelectFromPlate(false);
}

void ChannelSelectors::ChooseItem(const QString& item)
{
    const std::optional<PlatePlace> place = ParseChannelItem(item);
    if (!place)
        return;
    w_.txtsub->setText(QString::number(std::min<int>(place->beam, std::max<qint16>(state_.project.plate.MaxBeam, 0))));
    if (place->row < w_.Combofila->count())
        w_.Combofila->setCurrentIndex(place->row);
    if (place->column < w_.Combocol->count())
        w_.Combocol->setCurrentIndex(place->column);
    SelectFromPlate(false);
}

} // namespace bandora
