#include "PlateMapPanel.h"

#include "PlateMap.h"
#include "core/AppState.h"
#include "core/common/Clock.h"
#include "core/setup/GroupRules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace bandora {

namespace {

// The map follows the growing counts this often at most.
constexpr int kRedrawMs = 250;
constexpr int kDefaultAlarmMinutes = 60;

} // namespace

PlateMapPanel::PlateMapPanel(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Plate map"), parent), state_(state)
{
    setObjectName(QStringLiteral("frm_platemap"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto* choices = new QHBoxLayout;
    cmb_mapwindow = new QComboBox(this);
    cmb_mapwindow->setObjectName(QStringLiteral("cmb_mapwindow"));
    cmb_mapwindow->addItems({QStringLiteral("last cycle"), QStringLiteral("last 10 min"), QStringLiteral("last hour")});
    cmb_mapwindow->setToolTip(QStringLiteral("How far back the colours of the wells look"));
    spn_nomove = new QSpinBox(this);
    spn_nomove->setObjectName(QStringLiteral("spn_nomove"));
    spn_nomove->setRange(1, 1440);
    spn_nomove->setValue(kDefaultAlarmMinutes);
    spn_nomove->setSuffix(QStringLiteral(" min"));
    spn_nomove->setToolTip(QStringLiteral("A well without any count for this long is outlined in red"));
    choices->addWidget(cmb_mapwindow);
    choices->addStretch(1);
    choices->addWidget(new QLabel(QStringLiteral("Still:"), this));
    choices->addWidget(spn_nomove);
    column->addLayout(choices);

    pic_platemap = new PlateMap(this);
    pic_platemap->ToolTipFor = [this](int well) { return WellToolTip(well); };
    column->addWidget(pic_platemap, 1);

    redraw_.setSingleShot(true);
    redraw_.setInterval(kRedrawMs);
    connect(&redraw_, &QTimer::timeout, this, &PlateMapPanel::Redraw);
    connect(cmb_mapwindow, &QComboBox::currentIndexChanged, this, &PlateMapPanel::Redraw);
    connect(spn_nomove, &QSpinBox::valueChanged, this, &PlateMapPanel::Redraw);
    connect(pic_platemap, &PlateMap::wellClicked, this, &PlateMapPanel::wellChosen);
    Prepare();
}

void PlateMapPanel::Prepare()
{
    // A run under way keeps the plate it started with; a finished run stays
    // on the map until the plate or the groups change.
    if (Active(state_.run.State) && activity_.Running())
        return;
    const Layout now{state_.project.plate.Rows, state_.project.plate.Columns, state_.project.plate.ChannelWell,
                     state_.project.setup.ChannelGroup, state_.project.setup.ChannelEnabled};
    if (prepared_ && *prepared_ == now)
        return;
    PrepareTables();
    Redraw();
}

void PlateMapPanel::PrepareTables()
{
    activity_.Prepare(state_.project.setup, state_.project.plate);
    // A well shows the group of its first counting beam.
    wellGroup_.assign(size_t(activity_.Wells()), -1);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int well = state_.project.plate.ChannelWell[size_t(ch)];
        if (well >= 0 && well < activity_.Wells() && state_.project.setup.ChannelEnabled[size_t(ch)]
            && wellGroup_[size_t(well)] < 0)
            wellGroup_[size_t(well)] = state_.project.setup.ChannelGroup[size_t(ch)];
    }
    prepared_ = Layout{state_.project.plate.Rows, state_.project.plate.Columns, state_.project.plate.ChannelWell,
                       state_.project.setup.ChannelGroup, state_.project.setup.ChannelEnabled};
    pic_platemap->updateGeometry();
}

void PlateMapPanel::StartRun()
{
    // The plate or groups may have changed in the setup window since.
    PrepareTables();
    activity_.StartRun(state_.services.clock.now());
    Redraw();
}

void PlateMapPanel::TakeLive(const WellActivity::Counts& counts, double cycleFraction)
{
    activity_.TakeLive(counts, cycleFraction, state_.services.clock.now());
    ScheduleRedraw();
}

void PlateMapPanel::EndCycle(const WellActivity::Counts& counts)
{
    activity_.EndCycle(counts, state_.services.clock.now());
    ScheduleRedraw();
}

void PlateMapPanel::ShowSelection() { Redraw(); }

void PlateMapPanel::ScheduleRedraw()
{
    if (!redraw_.isActive())
        redraw_.start();
}

ActivityWindow PlateMapPanel::Window() const { return ActivityWindow(std::max(cmb_mapwindow->currentIndex(), 0)); }

std::vector<InactiveWell> PlateMapPanel::InactiveWells() const
{
    return activity_.InactiveWells(state_.services.clock.now(), spn_nomove->value());
}

QString PlateMapPanel::WellToolTip(int well) const
{
    const int rows = activity_.Rows();
    QString text = WellLabel(well, rows);
    const int group = well < int(wellGroup_.size()) ? wellGroup_[size_t(well)] : -1;
    if (group >= 0)
        text += QStringLiteral("  ") + GroupItemText(group, state_.project.setup.GroupName[size_t(group)]);
    if (!activity_.Used(well))
        return text + QStringLiteral("\nno beam counts in this well");
    const std::vector<double> values = activity_.Values(Window(), state_.services.clock.now());
    text += QStringLiteral("\n%1 counts per beam, %2").arg(values[size_t(well)], 0, 'f', 1).arg(cmb_mapwindow->currentText());
    for (const InactiveWell& still : InactiveWells())
        if (still.well == well)
            text += QStringLiteral("\nno movement since %1").arg(still.since.toString(QStringLiteral("HH:mm")));
    return text;
}

void PlateMapPanel::Redraw()
{
    redraw_.stop();
    PlateMap::Figures f;
    f.rows = activity_.Rows();
    f.columns = activity_.Columns();
    const int wells = activity_.Wells();
    f.used.resize(size_t(wells));
    for (int w = 0; w < wells; ++w)
        f.used[size_t(w)] = activity_.Used(w);
    f.group = wellGroup_;
    std::set<int> groups;
    for (int w = 0; w < wells; ++w)
        if (f.used[size_t(w)] && wellGroup_[size_t(w)] >= 0)
            groups.insert(wellGroup_[size_t(w)]);
    for (int g : groups) {
        f.legendGroups.push_back(g);
        f.groupText.push_back(GroupItemText(g, state_.project.setup.GroupName[size_t(g)]));
    }
    f.values = activity_.Values(Window(), state_.services.clock.now());
    f.inactive.assign(size_t(wells), false);
    for (const InactiveWell& still : InactiveWells())
        f.inactive[size_t(still.well)] = true;
    const int selected = state_.SelectedChannel;
    f.selectedWell = selected >= 0 && selected < kChannels ? state_.project.plate.ChannelWell[size_t(selected)] : -1;
    f.windowText = cmb_mapwindow->currentText();
    pic_platemap->SetFigures(std::move(f));
    pic_platemap->Draw();
}

} // namespace bandora
