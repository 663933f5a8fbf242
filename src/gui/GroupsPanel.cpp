#include "GroupsPanel.h"

#include "Picwell.h"
#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/setup/BlockLayouts.h"
#include "core/setup/GroupRules.h"
#include "core/setup/PlateLayoutCsv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace bandora {

namespace {

// A plate layout has at most a few hundred short lines.
constexpr qint64 kMaxLayoutBytes = 4 * 1024 * 1024;

bool IsEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

GroupsPanel::GroupsPanel(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Biological Replicate Groups"), parent), state_(state)
{
    setObjectName(QStringLiteral("Framegrup"));
    BuildControls();

    connect(combogrup, &QListWidget::currentRowChanged, this, &GroupsPanel::SelectGroupRow);
    connect(combogrup, &QListWidget::itemDoubleClicked, this, [this] { RenameSelectedGroup(); });
    connect(lstchgrup, &QListWidget::itemDoubleClicked, this, [this] { MoveSelectedWell(lstchgrup, group_); });
    connect(lstgrup, &QListWidget::itemDoubleClicked, this, [this] { MoveSelectedWell(lstgrup, -1); });
    connect(Command12, &QPushButton::clicked, this, [this] { MoveSelectedWell(lstchgrup, group_); });
    connect(Command13, &QPushButton::clicked, this, [this] { MoveSelectedWell(lstgrup, -1); });
    connect(cmd_goset, &QPushButton::clicked, this, &GroupsPanel::GoBlockLayout);
    connect(Cmd_clear, &QPushButton::clicked, this, &GroupsPanel::ClearAll);
    connect(cmd_import_layout, &QPushButton::clicked, this, &GroupsPanel::ImportLayout);
    connect(cmd_export_layout, &QPushButton::clicked, this, &GroupsPanel::ExportLayout);
    chooseLayoutFile = [this](bool forWriting) {
        const QString filter = QStringLiteral("Plate layout (*.csv);;All files (*)");
        return forWriting ? QFileDialog::getSaveFileName(this, QStringLiteral("Export plate layout"),
                                                         state_.project.folder, filter)
                          : QFileDialog::getOpenFileName(this, QStringLiteral("Import plate layout"),
                                                         state_.project.folder, filter);
    };
    for (QListWidget* list : {combogrup, lstgrup, lstchgrup})
        list->installEventFilter(this);

    connect(picwell, &Picwell::wellHovered, this, [this](int well) { lblnchannel->setText(QString::number(well)); });
    connect(picwell, &Picwell::wellsClicked, this, &GroupsPanel::FillWellLists);
    connect(picwell, &Picwell::wellsReleased, this, [this] {
        FillGroupList(group_);
        FillWellLists();
    });
}

void GroupsPanel::BuildControls()
{
    picwell = Named(new Picwell(state_.project.setup, state_.project.plate, this), "Picwell");
    lblnchannel = Named(new QLabel(this), "lblnchannel");
    lblnchannel->setMinimumWidth(lblnchannel->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    combogrup = Named(new QListWidget(this), "combogrup");
    lstgrup = Named(new QListWidget(this), "lstgrup");
    lstchgrup = Named(new QListWidget(this), "lstchgrup");
    Command12 = Named(new QPushButton(QStringLiteral("<="), this), "Command12");
    Command13 = Named(new QPushButton(QStringLiteral("=>"), this), "Command13");
    Combo_sets = Named(new QComboBox(this), "Combo_sets");
    cmd_goset = Named(new QPushButton(QStringLiteral("Go..."), this), "cmd_goset");
    Cmd_clear = Named(new QPushButton(QStringLiteral("CLEAR LIST"), this), "Cmd_clear");
    cmd_import_layout = Named(new QPushButton(QStringLiteral("Import CSV..."), this), "cmd_import_layout");
    cmd_export_layout = Named(new QPushButton(QStringLiteral("Export CSV..."), this), "cmd_export_layout");
    cmd_import_layout->setToolTip(QStringLiteral("Groups from a plate layout kept in a spreadsheet: columns well,group"));

    const QFontMetrics fm = fontMetrics();
    const int listWidth = qMax(fm.horizontalAdvance(QStringLiteral("M00.00")) + 40,
                               fm.horizontalAdvance(QStringLiteral("Assigned channels:")) + 6);
    Combo_sets->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("00x00 [RowsxColumn]")) + 44);
    lstgrup->setFixedWidth(listWidth);
    lstchgrup->setFixedWidth(listWidth);
    for (QPushButton* b : {Command12, Command13})
        b->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("<=")) + 24);

    auto* pictureColumn = new QVBoxLayout;
    auto* pictureHead = new QHBoxLayout;
    pictureHead->addWidget(new QLabel(QStringLiteral("Click wells to assign/remove groups"), this));
    pictureHead->addStretch(1);
    pictureHead->addWidget(new QLabel(QStringLiteral("Channel:"), this));
    pictureHead->addWidget(lblnchannel);
    pictureColumn->addLayout(pictureHead);
    pictureColumn->addWidget(picwell, 1);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(Command12);
    arrows->addWidget(Command13);
    arrows->addStretch(1);

    auto* wells = new QGridLayout;
    wells->addWidget(new QLabel(QStringLiteral("Assigned channels:"), this), 0, 0);
    wells->addWidget(new QLabel(QStringLiteral("Free channels:"), this), 0, 2);
    wells->addWidget(lstgrup, 1, 0);
    wells->addLayout(arrows, 1, 1);
    wells->addWidget(lstchgrup, 1, 2);

    auto* sets = new QHBoxLayout;
    sets->addWidget(new QLabel(QStringLiteral("SET:"), this));
    sets->addWidget(Combo_sets, 1);
    sets->addWidget(cmd_goset);

    // The lists take what they need; the picture gets the rest.
    auto* lists = new QWidget(this);
    const int setsWidth = fm.horizontalAdvance(QStringLiteral("SET:")) + Combo_sets->minimumWidth() +
                          cmd_goset->sizeHint().width() + 24;
    lists->setFixedWidth(qMax(2 * listWidth + Command12->width() + 40, setsWidth));
    auto* listColumn = new QVBoxLayout(lists);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->addWidget(new QLabel(QStringLiteral("Dblclick to Rename"), this));
    listColumn->addWidget(combogrup, 2);
    listColumn->addLayout(wells, 3);
    listColumn->addLayout(sets);
    listColumn->addWidget(Cmd_clear);
    auto* layoutFiles = new QHBoxLayout;
    layoutFiles->addWidget(cmd_import_layout);
    layoutFiles->addWidget(cmd_export_layout);
    listColumn->addLayout(layoutFiles);

    auto* row = new QHBoxLayout(this);
    row->addLayout(pictureColumn, 1);
    row->addWidget(lists, 0);
}

void GroupsPanel::Reload(int group)
{
    FillBlockLayouts();
    FillGroupList(group);
    FillWellLists();
}

void GroupsPanel::FillGroupList(int group)
{
    const GroupList list = bandora::FillGroupList(state_.project.setup, group);
    {
        const QSignalBlocker block(combogrup);
        combogrup->clear();
        combogrup->addItems(list.items);
        combogrup->setCurrentRow(list.selected);
    }
    group_ = list.items.isEmpty() ? 0 : GroupOfItem(list.items[list.selected]);
    picwell->setGroup(group_);
}

void GroupsPanel::FillWellLists()
{
    // The free list keeps its place, so wells can be moved one after the other.
    const int freeRow = lstchgrup->currentRow();
    const int assignedRow = lstgrup->currentRow();
    const auto fill = [this](QListWidget* list, int group, int row) {
        list->clear();
        for (int ch : ListedChannels(state_.project.setup, state_.project.plate, group))
            list->addItem(WellItemText(state_.project.plate, ch));
        if (list->count() > 0 && row >= 0)
            list->setCurrentRow(qMin(row, list->count() - 1));
    };
    fill(lstgrup, group_, assignedRow);
    fill(lstchgrup, -1, freeRow);
    picwell->redraw();
}

void GroupsPanel::FillBlockLayouts()
{
    const QStringList items = BlockLayoutItems(state_.project.plate);
    Combo_sets->clear();
    Combo_sets->addItems(items);
    if (!items.isEmpty())
        Combo_sets->setCurrentIndex(DefaultBlockLayout(items.size()));
}

void GroupsPanel::SelectGroupRow(int row)
{
    if (row < 0 || row >= combogrup->count())
        return;
    group_ = GroupOfItem(combogrup->item(row)->text());
    picwell->setGroup(group_);
    lstgrup->clear();
    for (int ch : ListedChannels(state_.project.setup, state_.project.plate, group_))
        lstgrup->addItem(WellItemText(state_.project.plate, ch));
}

void GroupsPanel::RenameSelectedGroup()
{
    QListWidgetItem* item = combogrup->currentItem();
    if (!item)
        return;
    const QString number = item->text().left(3);
    const QString answer = state_.services.op.prompt(
        QStringLiteral("Enter New Group (") + number + QStringLiteral(") Name"), item->text().mid(4));
    const int group = GroupOfItem(number);
    if (RenameGroup(state_.project.setup, group, answer))
        item->setText(GroupItemText(group, state_.project.setup.GroupName[group]));
}

void GroupsPanel::MoveSelectedWell(QListWidget* from, int group)
{
    if (from->count() == 0)
        return;
    const QListWidgetItem* item = from->currentItem() ? from->currentItem() : from->item(0);
    if (!MoveWellOfItem(state_.project.setup, state_.project.plate, item->text(), group))
        return;
    // A well moved into the spare slot at the end brings that group into use.
    FillGroupList(group_);
    FillWellLists();
}

void GroupsPanel::GoBlockLayout()
{
    if (!ApplyBlockLayout(state_.project.setup, state_.project.plate, Combo_sets->currentText()))
        return;
    lstgrup->clear();
    lstchgrup->clear();
    FillGroupList(group_);
    FillWellLists();
}

void GroupsPanel::ClearAll()
{
    if (state_.services.op.ask(QStringLiteral("Do you like to Clear Group lists?"), Buttons::YesNo) != Answer::Yes)
        return;
    ClearGroups(state_.project.setup);
    lstgrup->clear();
    lstchgrup->clear();
    FillGroupList(0);
    FillWellLists();
}

void GroupsPanel::ImportLayout()
{
    const QString path = chooseLayoutFile ? chooseLayoutFile(false) : QString();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        state_.services.op.inform(QStringLiteral("The plate layout %1 cannot be read: %2")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    const LayoutReading reading = ReadPlateLayout(file.read(kMaxLayoutBytes + 1), state_.project.plate);
    if (file.size() > kMaxLayoutBytes || !reading.Layout) {
        QStringList problems = file.size() > kMaxLayoutBytes
                                   ? QStringList{QStringLiteral("the file is far too large for a plate layout")}
                                   : reading.Problems;
        constexpr int kShown = 25;
        if (problems.size() > kShown) {
            const qsizetype more = problems.size() - kShown;
            problems = problems.mid(0, kShown);
            problems << QStringLiteral("... and %1 more").arg(more);
        }
        state_.services.op.inform(QStringLiteral("The plate layout %1 was not taken; the groups are as they were:\r\n")
                                      .arg(QDir::toNativeSeparators(path)) +
                                  problems.join(QStringLiteral("\r\n")));
        return;
    }
    // Shown on the picture first; the operator keeps it or goes back.
    const ProjectSetup before = state_.project.setup;
    ApplyPlateLayout(state_.project.setup, state_.project.plate, *reading.Layout);
    Reload(group_);
    const qsizetype wells = std::count_if(reading.Layout->WellGroup.begin(), reading.Layout->WellGroup.end(),
                                          [](int g) { return g >= 0; });
    const QString question = QStringLiteral("The plate picture shows the layout of %1: %2 groups, %3 wells. "
                                            "Keep it? (Save the project to store it.)")
                                 .arg(QDir::toNativeSeparators(path))
                                 .arg(reading.Layout->GroupNames.size())
                                 .arg(wells);
    if (state_.services.op.ask(question, Buttons::YesNo) != Answer::Yes) {
        state_.project.setup.ChannelGroup = before.ChannelGroup;
        state_.project.setup.GroupName = before.GroupName;
        state_.project.setup.GroupColumnNames = before.GroupColumnNames;
        state_.project.setup.GroupColumnValues = before.GroupColumnValues;
        Reload(group_);
    }
}

void GroupsPanel::ExportLayout()
{
    const QString path = chooseLayoutFile ? chooseLayoutFile(true) : QString();
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = PlateLayoutCsv(state_.project.setup, state_.project.plate);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        state_.services.op.inform(QStringLiteral("The plate layout %1 cannot be written: %2")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}

bool GroupsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (IsEnter(event)) {
        if (watched == combogrup)
            RenameSelectedGroup();
        else if (watched == lstchgrup)
            MoveSelectedWell(lstchgrup, group_);
        else if (watched == lstgrup)
            MoveSelectedWell(lstgrup, -1);
        else
            return QGroupBox::eventFilter(watched, event);
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace bandora
