#include "ChannelSelectors.h"

#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Rounding.h"
#include "core/storage/RecordSyntax.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
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

ChannelSelectors::ChannelSelectors(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Channel"), parent), state_(state)
{
    GroupUsed_.fill(-1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    Combofila = Named(new QComboBox(this), "Combofila");
    Combocol = Named(new QComboBox(this), "Combocol");
    Combofila->setMinimumContentsLength(2);
    Combocol->setMinimumContentsLength(2);
    txtsub = Box("txtsub", this, 3);
    txtsub->setText(QStringLiteral("0"));
    lblcanal = Named(new QLabel(QStringLiteral("0"), this), "lblcanal");
    lblcanal->setFrameShape(QFrame::StyledPanel);
    combogrup = Named(new QComboBox(this), "combogrup");
    combogrup->setMinimumContentsLength(12);
    lstgrup = Named(new QListWidget(this), "lstgrup");
    CheckRT = Named(new QCheckBox(QStringLiteral("Real-time plot"), this), "CheckRT");
    CheckRT->setChecked(true);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    grid->addWidget(Caption(QStringLiteral("Row:"), this, right), 0, 0);
    grid->addWidget(Combofila, 0, 1);
    grid->addWidget(Caption(QStringLiteral("Column:"), this, right), 0, 2);
    grid->addWidget(Combocol, 0, 3);
    grid->addWidget(Caption(QStringLiteral("Beam:"), this, right), 1, 0);
    grid->addWidget(txtsub, 1, 1);
    grid->addWidget(Caption(QStringLiteral("Channel:"), this, right), 1, 2);
    grid->addWidget(lblcanal, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Group:"), this, right), 2, 0);
    grid->addWidget(combogrup, 2, 1, 1, 3);
    grid->addWidget(lstgrup, 3, 0, 1, 4);
    grid->addWidget(CheckRT, 4, 0, 1, 4);
    grid->setRowStretch(3, 1);

    connect(Combofila, &QComboBox::activated, this, [this] { SelectFromPlate(true); });
    connect(Combocol, &QComboBox::activated, this, [this] { SelectFromPlate(false); });
    connect(txtsub, &QLineEdit::editingFinished, this, &ChannelSelectors::LimitBeam);
    connect(combogrup, &QComboBox::activated, this, [this] { FillGroupList(GroupOfItem(combogrup->currentText())); });
    connect(lstgrup, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { ChooseItem(item->text()); });
    connect(CheckRT, &QCheckBox::toggled, this, &ChannelSelectors::realTimeToggled);
    lstgrup->installEventFilter(this);
}

void ChannelSelectors::FitToFont(const QFontMetrics& m)
{
    lblcanal->setMinimumWidth(m.horizontalAdvance(QStringLiteral("0000")) + 12);
}

bool ChannelSelectors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstgrup && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lstgrup->currentItem()) {
            ChooseItem(lstgrup->currentItem()->text());
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void ChannelSelectors::FillSelectors()
{
    Combofila->clear();
    Combofila->addItems(RowItems(state_.project.plate));
    Combofila->setCurrentIndex(0);
    Combocol->clear();
    Combocol->addItems(ColumnItems(state_.project.plate));
    Combocol->setCurrentIndex(0);

    GroupUsed_ = ComputeGroupUsed(state_.project.setup);
    combogrup->clear();
    combogrup->addItems(GroupItems(state_.project.setup, GroupUsed_));
    combogrup->setCurrentIndex(0);
    FillGroupList(GroupOfItem(combogrup->currentText()));
    SelectFromPlate(false);
}

bool ChannelSelectors::ListsOutdated() const
{
    return Items(Combofila) != RowItems(state_.project.plate) || Items(Combocol) != ColumnItems(state_.project.plate) ||
           Items(combogrup) != GroupItems(state_.project.setup, ComputeGroupUsed(state_.project.setup));
}

void ChannelSelectors::FillGroupList(int group)
{
    lstgrup->clear();
    lstgrup->addItems(GroupListItems(state_.project.setup, state_.project.plate, group));
}

void ChannelSelectors::SelectFromPlate(bool rowChosen)
{
    const PlateFormat& plate = state_.project.plate;
    const auto place = [this] {
        const QString letter = Combofila->currentText();
        const int row = letter.isEmpty() ? 0 : letter[0].unicode() - 64;
        const int column = int(NumericValue(Combocol->currentText()));
        return std::pair{row, column};
    };
    auto [row, column] = place();
    if (rowChosen && WellAt(plate, row, column) < 0 && Combofila->count() > 0) {
        Combofila->setCurrentIndex(0);
        Combocol->setCurrentIndex(0);
        std::tie(row, column) = place();
    }
    const int well = (column - 1) * plate.Rows + (row - 1);
    const int beam = int(RoundHalfEven(NumericValue(txtsub->text())));
    const int channel = plate.WellBeamChannel(well, beam);
    lblcanal->setText(QString::number(channel));
    Q_EMIT channelChosen(channel);
}

void ChannelSelectors::LimitBeam()
{
    const int typed = int(RoundHalfEven(NumericValue(txtsub->text())));
    const int beam = std::clamp(typed, 0, int(std::max<qint16>(state_.project.plate.MaxBeam, 0)));
    txtsub->setText(QString::number(beam));
    SelectFromPlate(false);
}

void ChannelSelectors::SelectWell(int well)
{
    const PlateFormat& plate = state_.project.plate;
    if (well < 0 || plate.Rows < 1)
        return;
    const int row = well % plate.Rows, column = well / plate.Rows;
    if (row >= Combofila->count() || column >= Combocol->count())
        return;
    const auto inWell = [&](int beam) {
        const int ch = plate.WellBeamChannel(well, beam);
        return ch >= 0 && ch < kChannels && plate.ChannelWell[size_t(ch)] == well && plate.ChannelBeam[size_t(ch)] == beam;
    };
    const int chosen = int(RoundHalfEven(NumericValue(txtsub->text())));
    if (!inWell(chosen))
        for (int beam = 0; beam <= plate.MaxBeam; ++beam)
            if (inWell(beam)) {
                txtsub->setText(QString::number(beam));
                break;
            }
    Combofila->setCurrentIndex(row);
    Combocol->setCurrentIndex(column);
    SelectFromPlate(false);
}

void ChannelSelectors::ChooseItem(const QString& item)
{
    const std::optional<PlatePlace> place = ParseChannelItem(item);
    if (!place)
        return;
    txtsub->setText(QString::number(std::min<int>(place->beam, std::max<qint16>(state_.project.plate.MaxBeam, 0))));
    if (place->row < Combofila->count())
        Combofila->setCurrentIndex(place->row);
    if (place->column < Combocol->count())
        Combocol->setCurrentIndex(place->column);
    SelectFromPlate(false);
}

} // namespace bandora
