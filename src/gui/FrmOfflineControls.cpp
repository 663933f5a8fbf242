#include "FrmOffline.h"

#include "OfflineHost.h"
#include "PictureBox.h"
#include "WidgetHelpers.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

// The layout of the offline window: the browser, its information and the
// group and well lists down the left; the view buttons, the analysis choice
// and the way back along the top; the well choice and the page above the plot.

namespace bandora {

namespace {

// Paints an entry as usual and, right-aligned in a quieter colour, the note
// its Qt::UserRole holds: the date and time an experiment folder's name spells.
class NoteDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QString note = index.data(Qt::UserRole).toString();
        if (note.isEmpty())
            return;
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : QColor(90, 90, 90));
        painter->drawText(option.rect.adjusted(4, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, note);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString note = index.data(Qt::UserRole).toString();
        if (!note.isEmpty())
            size.rwidth() += option.fontMetrics.horizontalAdvance(note) + 24;
        return size;
    }
};

} // namespace

void FrmOffline::BuildControls()
{
    mnFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnFile->setObjectName(QStringLiteral("mnFile"));
    mnExportBmp = mnFile->addAction(QStringLiteral("Export to BMP..."));
    mnExportBmp->setObjectName(QStringLiteral("mnExportBmp"));
    mnExportAscii = mnFile->addAction(QStringLiteral("Export to ASCII..."));
    mnExportAscii->setObjectName(QStringLiteral("mnExportAscii"));
    QMenu* advanced = menuBar()->addMenu(QStringLiteral("&Advanced"));
    mnAdvancedCalculation = advanced->addAction(QStringLiteral("Advanced_calculation"));
    mnAdvancedCalculation->setObjectName(QStringLiteral("Advanced_calculation"));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->addWidget(BuildViewBar());
    auto* body = new QHBoxLayout;
    body->addWidget(BuildBrowserColumn(), 0);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildWellBar());
    picPlot = new PictureBox(central);
    picPlot->setObjectName(QStringLiteral("picPlot"));
    picPlot->setMinimumSize(640, 360);
    picPlot->setContextMenuPolicy(Qt::CustomContextMenu);
    picPlot->setToolTip(QStringLiteral("Right-click to export the plot or the signals"));
    right->addWidget(picPlot, 1);
    body->addLayout(right, 1);
    column->addLayout(body, 1);
    setCentralWidget(central);

    plotMenu = new QMenu(this);
    plotMenu->setObjectName(QStringLiteral("plotMenu"));
    plotMenu->addAction(mnExportBmp);
    plotMenu->addAction(mnExportAscii);
}

QWidget* FrmOffline::BuildViewBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    cmdChannel = Button("cmdChannel", QStringLiteral("Channel Signal"), bar);
    cmdGroup = Button("cmdGroup", QStringLiteral("[Group Activity]"), bar);
    cmdAnalyze = Button("cmdAnalyze", QStringLiteral("Analyze"), bar);
    cmbMode = new QComboBox(bar);
    cmbMode->setObjectName(QStringLiteral("cmbMode"));
    cmbMode->setToolTip(QStringLiteral("Mode:0 counts at most one event per 30 samples; "
                                       "Mode:1 counts every passage below the level"));
    txtThreshold = new QLineEdit(bar);
    txtThreshold->setObjectName(QStringLiteral("txtThreshold"));
    txtThreshold->setMaximumWidth(60);
    txtThreshold->setToolTip(QStringLiteral("Sensitivity of the analysis, 1.1 to 6.0"));
    cmdReport = Button("cmdReport", QStringLiteral("Report"), bar);
    cmdAnalytics = Button("cmdAnalytics", QStringLiteral("Analytics..."), bar);
    cmdAnalytics->setToolTip(QStringLiteral("Activity curves, actograms, rest, periodograms and well status"));
    cmdMain = Button("cmdMain", QStringLiteral("Main"), bar);
    cmdSetup = Button("cmdSetup", QStringLiteral("Setup"), bar);
    for (QPushButton* b : {cmdChannel, cmdGroup})
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("[Channel Signal]")) + 24);
    row->addWidget(cmdChannel);
    row->addWidget(cmdGroup);
    row->addSpacing(16);
    row->addWidget(cmdAnalyze);
    row->addWidget(cmbMode);
    row->addWidget(Caption(QStringLiteral("Threshold:"), bar));
    row->addWidget(txtThreshold);
    row->addSpacing(16);
    row->addWidget(cmdReport);
    row->addWidget(cmdAnalytics);
    row->addStretch(1);
    row->addWidget(cmdMain);
    row->addWidget(cmdSetup);
    return bar;
}

QWidget* FrmOffline::BuildBrowserColumn()
{
    auto* box = new QWidget(this);
    box->setMaximumWidth(320);
    auto* col = new QVBoxLayout(box);
    col->setContentsMargins(0, 0, 0, 0);
    col->addWidget(Caption(QStringLiteral("Projects and experiments (double-click to open):"), box));
    lstBrowser = new QListWidget(box);
    lstBrowser->setObjectName(QStringLiteral("lstBrowser"));
    // Several experiments can be chosen for a join.
    lstBrowser->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBrowser->installEventFilter(this);
    lstBrowser->setItemDelegate(new NoteDelegate(lstBrowser));
    col->addWidget(lstBrowser, 3);
    auto* buttons = new QHBoxLayout;
    cmdBack = Button("cmdBack", QStringLiteral("<Back>"), box);
    cmdJoin = Button("cmdJoin", QStringLiteral("Join..."), box);
    cmdJoin->setToolTip(QStringLiteral("Join the selected experiments of this project into a new one"));
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdJoin);
    col->addLayout(buttons);
    txtInfo = new QPlainTextEdit(box);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    col->addWidget(txtInfo, 2);
    col->addWidget(Caption(QStringLiteral("Groups:"), box));
    lstGroups = new QListWidget(box);
    lstGroups->setObjectName(QStringLiteral("lstGroups"));
    col->addWidget(lstGroups, 1);
    col->addWidget(Caption(QStringLiteral("Wells of the group (double-click to show):"), box));
    lstWells = new QListWidget(box);
    lstWells->setObjectName(QStringLiteral("lstWells"));
    lstWells->setFlow(QListView::LeftToRight);
    lstWells->setWrapping(true);
    lstWells->installEventFilter(this);
    col->addWidget(lstWells, 1);
    return box;
}

QWidget* FrmOffline::BuildWellBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    cmbRow = new QComboBox(bar);
    cmbRow->setObjectName(QStringLiteral("cmbRow"));
    cmbColumn = new QComboBox(bar);
    cmbColumn->setObjectName(QStringLiteral("cmbColumn"));
    txtBeam = new QLineEdit(QStringLiteral("0"), bar);
    txtBeam->setObjectName(QStringLiteral("txtBeam"));
    txtBeam->setMaximumWidth(40);
    lblChannel = new QLabel(bar);
    lblChannel->setObjectName(QStringLiteral("lblChannel"));
    lblChannel->setMinimumWidth(40);
    txtPage = new QLineEdit(bar);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setReadOnly(true);
    txtPage->setMaximumWidth(70);
    scrPage = new QScrollBar(Qt::Horizontal, bar);
    scrPage->setObjectName(QStringLiteral("scrPage"));
    scrPage->setMinimumWidth(160);
    scrPage->setPageStep(1);
    picProgress = new PictureBox(bar);
    picProgress->setObjectName(QStringLiteral("picProgress"));
    picProgress->setFixedSize(120, 14);
    row->addWidget(Caption(QStringLiteral("Well: row"), bar));
    row->addWidget(cmbRow);
    row->addWidget(Caption(QStringLiteral("column"), bar));
    row->addWidget(cmbColumn);
    row->addWidget(Caption(QStringLiteral("beam"), bar));
    row->addWidget(txtBeam);
    row->addWidget(Caption(QStringLiteral("channel:"), bar));
    row->addWidget(lblChannel);
    row->addStretch(1);
    row->addWidget(Caption(QStringLiteral("Page:"), bar));
    row->addWidget(txtPage);
    row->addWidget(scrPage);
    row->addWidget(picProgress);
    return bar;
}

void FrmOffline::ConnectControls()
{
    connect(lstBrowser, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { BrowserClicked(lstBrowser->row(item)); });
    connect(lstBrowser, &QListWidget::itemDoubleClicked, this, [this] { BrowserOpen(); });
    connect(cmdBack, &QPushButton::clicked, this, &FrmOffline::Back);
    connect(cmdJoin, &QPushButton::clicked, this, &FrmOffline::Join);
    connect(cmdChannel, &QPushButton::clicked, this, &FrmOffline::ShowChannelSignal);
    connect(cmdAnalyze, &QPushButton::clicked, this, &FrmOffline::ShowAnalysis);
    connect(cmdGroup, &QPushButton::clicked, this, &FrmOffline::ShowGroupActivity);
    connect(cmdReport, &QPushButton::clicked, this, &FrmOffline::OpenReport);
    connect(cmdAnalytics, &QPushButton::clicked, this, &FrmOffline::OpenAnalytics);
    connect(mnAdvancedCalculation, &QAction::triggered, this, &FrmOffline::OpenReport);
    connect(cmdMain, &QPushButton::clicked, this, [this] {
        host_.showMainWindow();
        hide();
    });
    connect(cmdSetup, &QPushButton::clicked, this, [this] {
        host_.showSetupWindow();
        hide();
    });
    connect(scrPage, &QScrollBar::valueChanged, this, &FrmOffline::PageChanged);
    connect(lstGroups, &QListWidget::itemClicked, this, &FrmOffline::GroupChosen);
    connect(lstWells, &QListWidget::itemDoubleClicked, this, &FrmOffline::WellChosen);
    auto wellMoved = [this] {
        SelectWellFromLists();
        // The plot on show follows the well.
        if (view_ == View::GroupActivity)
            ShowGroupActivity();
        else if (view_ == View::Analyze)
            ShowAnalysis();
        else if (view_ == View::ChannelSignal)
            Redraw();
    };
    connect(cmbRow, &QComboBox::currentIndexChanged, this, wellMoved);
    connect(cmbColumn, &QComboBox::currentIndexChanged, this, wellMoved);
    connect(txtBeam, &QLineEdit::editingFinished, this, wellMoved);
    connect(mnExportAscii, &QAction::triggered, this, &FrmOffline::ExportAscii);
    connect(mnExportBmp, &QAction::triggered, this, &FrmOffline::ExportBmp);
    connect(picPlot, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { plotMenu->popup(picPlot->mapToGlobal(at)); });
    connect(picPlot, &PictureBox::resized, this, &FrmOffline::Redraw);
}

} // namespace bandora
