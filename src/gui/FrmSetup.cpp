#include "FrmSetup.h"

#include "ActionStatus.h"

#include "GroupsPanel.h"
#include "SetupHost.h"
#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/setup/ProjectActions.h"
#include "core/storage/RecordSyntax.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace bandora {

FrmSetup::FrmSetup(AppState& state, SetupHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), host_(host)
{
    setObjectName(QStringLiteral("Frm_setup"));
    setWindowTitle(QStringLiteral("<Bandora> Acquisition Software  --------> Setup"));
    setAttribute(Qt::WA_DeleteOnClose);

    Frameconfig = BuildConfigFrame();
    Frameout = BuildOutputFrame();
    frametool = BuildToolsFrame();
    Framegrup = new GroupsPanel(state_, this);

    // The four panels share one place; the panel buttons show one at a time.
    auto* panels = new QGridLayout;
    for (QGroupBox* frame : {Frameconfig, Frameout, static_cast<QGroupBox*>(Framegrup), frametool})
        panels->addWidget(frame, 0, 0);

    auto* body = new QHBoxLayout;
    body->addWidget(BuildButtonColumn(), 0);
    body->addLayout(panels, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(BuildProjectBar());
    column->addLayout(body, 1);
    status_ = new ActionStatus(this);
    column->addWidget(status_);

    ConnectSettings();
    connect(Cmdnewpj, &QPushButton::clicked, this, &FrmSetup::NewProjectClicked);
    connect(Cmdsavepj, &QPushButton::clicked, this, &FrmSetup::SaveProjectClicked);
    connect(Cmdrename, &QPushButton::clicked, this, &FrmSetup::RenameClicked);
    connect(cmdLoad, &QPushButton::clicked, this, &FrmSetup::LoadClicked);
    connect(List_project, &QListWidget::itemDoubleClicked, this, &FrmSetup::ProjectChosen);
    connect(Cmd_cancel, &QPushButton::clicked, frm_project, &QWidget::hide);
    connect(Command21, &QPushButton::clicked, this, &FrmSetup::GoMain);
    connect(Command24, &QPushButton::clicked, this, &FrmSetup::GoOffline);
    connect(Cmdconfig, &QPushButton::clicked, this, [this] { ShowPanel(Panel::Config); });
    connect(Cmdoutput, &QPushButton::clicked, this, [this] { ShowPanel(Panel::Output); });
    connect(Cmdgroups, &QPushButton::clicked, this, [this] { ShowPanel(Panel::Groups); });
    connect(Cmdtools, &QPushButton::clicked, this, [this] { ShowPanel(Panel::Tools); });

    WindowLoad();
}

QWidget* FrmSetup::BuildProjectBar()
{
    auto* bar = new QWidget(this);
    txtprj = Box("txtprj", bar);
    txtprj->setReadOnly(true);
    Txtfolder = Box("Txtfolder", bar);
    Txtfolder->setReadOnly(true);
    Txt_description = Box("Txt_description", bar);

    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("PROJECT:"), bar), 0, 0);
    grid->addWidget(txtprj, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Working Folder:"), bar), 0, 2);
    grid->addWidget(Txtfolder, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Description:"), bar), 1, 0);
    grid->addWidget(Txt_description, 1, 1, 1, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    return bar;
}

QWidget* FrmSetup::BuildButtonColumn()
{
    auto* box = new QWidget(this);
    Cmdnewpj = Button("Cmdnewpj", QStringLiteral("New..."), box);
    Cmdsavepj = Button("Cmdsavepj", QStringLiteral("Save..."), box);
    Cmdrename = Button("Cmdrename", QStringLiteral("Rename"), box);
    cmdLoad = Button("cmdLoad", QStringLiteral("Load..."), box);

    frm_project = new QGroupBox(QStringLiteral("SELECT PROJECT TO LOAD:"), box);
    frm_project->setObjectName(QStringLiteral("frm_project"));
    List_project = new QListWidget(frm_project);
    List_project->setObjectName(QStringLiteral("List_project"));
    Cmd_cancel = Button("Cmd_cancel", QStringLiteral("Cancel"), frm_project);
    auto* projectColumn = new QVBoxLayout(frm_project);
    projectColumn->addWidget(List_project, 1);
    projectColumn->addWidget(Cmd_cancel);

    Cmdconfig = Button("Cmdconfig", QStringLiteral("Config"), box);
    Cmdoutput = Button("Cmdoutput", QStringLiteral("Output"), box);
    Cmdgroups = Button("Cmdgroups", QStringLiteral("Groups"), box);
    Cmdtools = Button("Cmdtools", QStringLiteral("Tools "), box);
    Command21 = Button("Command21", QStringLiteral("Main"), box);
    Command24 = Button("Command24", QStringLiteral("OffLine"), box);

    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {Cmdnewpj, Cmdsavepj, Cmdrename, cmdLoad})
        column->addWidget(b);
    column->addWidget(frm_project, 1);
    column->addSpacing(12);
    for (QPushButton* b : {Cmdconfig, Cmdoutput, Cmdgroups, Cmdtools})
        column->addWidget(b);
    column->addStretch(1);
    column->addWidget(Command21);
    column->addWidget(Command24);
    box->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("SELECT PROJECT TO LOAD:")) + 30);
    return box;
}

void FrmSetup::WindowLoad()
{
    ShowProjectTitle();
    FillPlateList();
    FillSettings();
    frm_project->hide();
    Framegrup->Reload(0);
    ShowPanel(Panel::Groups);
}

void FrmSetup::ShowProjectTitle()
{
    txtprj->setText(ProjectTitle(state_.project));
    Txtfolder->setText(QDir::toNativeSeparators(state_.project.folder));
}

void FrmSetup::SetDescription(const QString& text) { Txt_description->setText(text); }

QString FrmSetup::Description() const { return SafeFieldText(Txt_description->text()); }

void FrmSetup::ShowPanel(Panel panel)
{
    struct Entry {
        Panel panel;
        QPushButton* button;
        QWidget* frame;
        QString caption;
    };
    const Entry entries[] = {{Panel::Config, Cmdconfig, Frameconfig, QStringLiteral("Config")},
                             {Panel::Output, Cmdoutput, Frameout, QStringLiteral("Output")},
                             {Panel::Groups, Cmdgroups, Framegrup, QStringLiteral("Groups")},
                             {Panel::Tools, Cmdtools, frametool, QStringLiteral("Tools ")}};
    for (const Entry& e : entries) {
        const bool active = e.panel == panel;
        e.frame->setVisible(active);
        e.button->setText(active ? QLatin1Char('>') + e.caption : e.caption);
    }
}

// ---------------------------------------------------------------- projects

void FrmSetup::NewProjectClicked()
{
    CommitNumberBoxes();
    NewProject(state_.project, state_.services);
    ShowProjectTitle();
}

void FrmSetup::SaveProjectClicked()
{
    CommitNumberBoxes();
    if (SaveProjectAction(state_.project, state_.services) == ProjectActionResult::Done)
        status_->Done(QStringLiteral("Project saved in"), state_.project.folder);
    ShowProjectTitle();
}

void FrmSetup::RenameClicked()
{
    RenameProject(state_.project, state_.services);
    ShowProjectTitle();
}

void FrmSetup::LoadClicked()
{
    CommitNumberBoxes();
    if (!PrepareProjectLoad(state_.project, state_.services))
        return;
    List_project->clear();
    List_project->addItems(ProjectEntries(state_.project.appDir));
    frm_project->show();
}

void FrmSetup::ProjectChosen()
{
    const QListWidgetItem* item = List_project->currentItem();
    if (!item)
        return;
    if (LoadProjectEntry(state_.project, state_.services, item->text()))
        WindowLoad();
}

// ---------------------------------------------------------------- navigation

void FrmSetup::GoMain()
{
    CommitNumberBoxes();
    host_.setMainDescription(Description());
    host_.showMainWindow();
    hide();
}

void FrmSetup::GoOffline()
{
    CommitNumberBoxes();
    host_.setMainDescription(Description());
    host_.showOfflineWindow();
    hide();
}

void FrmSetup::closeEvent(QCloseEvent* event)
{
    CommitNumberBoxes();
    host_.setMainDescription(Description());
    host_.showMainWindow();
    event->accept();
}

} // namespace bandora
