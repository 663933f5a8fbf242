// Construction of the main window's menus and controls. The behaviour lives
// in FrmMain.cpp; this file only decides what is where.

#include "FrmMain.h"

#include "ChannelSelectors.h"
#include "OrganismPanel.h"
#include "PictureBox.h"
#include "PlateMapPanel.h"
#include "RunBar.h"
#include "ToolPanels.h"
#include "WidgetHelpers.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace bandora {

namespace {

// A scroll area that asks for the height of what it holds, again whenever
// that changes, so the room below it goes to the plate map; only a screen too
// low for both makes it scroll.
class FittingScroll final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        QSize hint = QScrollArea::sizeHint();
        if (widget())
            hint.setHeight(widget()->sizeHint().height() + 2 * frameWidth());
        return hint;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

} // namespace

void FrmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* settings = bar->addMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("mnsettings"));
    mn_commports = settings->addMenu(QStringLiteral("COM Ports"));
    mn_commports->setObjectName(QStringLiteral("mn_commports"));
    for (int n = 1; n <= 15; ++n) {
        QAction* com = mn_commports->addAction(QStringLiteral("COM%1").arg(n));
        com->setObjectName(QStringLiteral("mncom1"));
        com->setProperty("index", n);
        com->setCheckable(true);
        mncom1 << com;
    }

    QMenu* advanced = bar->addMenu(QStringLiteral("Advanced"));
    advanced->setObjectName(QStringLiteral("mnadvanced"));
    mn_manualcal = advanced->addMenu(QStringLiteral("Manual_Calibration"));
    mn_manualcal->setObjectName(QStringLiteral("mn_manualcal"));
    mncal_on = Named(mn_manualcal->addAction(QStringLiteral("ON")), "mncal_on");
    mncal_off = Named(mn_manualcal->addAction(QStringLiteral("OFF")), "mncal_off");
    mncal_on->setCheckable(true);
    mncal_off->setCheckable(true);
    mn_factory = Named(advanced->addAction(QStringLiteral("Factory Settings")), "mn_factory");
    mnstatustest = Named(advanced->addAction(QStringLiteral("Test DEVICE")), "mnstatustest");

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnhelp"));
    mncontent = Named(help->addAction(QStringLiteral("Content")), "mncontent");
    mnabout = Named(help->addAction(QStringLiteral("About")), "mnabout");

    mnexit = Named(bar->addAction(QStringLiteral("Exit")), "mnexit");
}

void FrmMain::BuildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    runBar_ = new RunBar(central);
    layout->addWidget(runBar_);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addWidget(BuildDisplayArea(), 1);
    body->addWidget(BuildToolColumn(), 0);
    layout->addLayout(body, 1);
    setCentralWidget(central);
    SizeToFont();
}

QWidget* FrmMain::BuildDisplayArea()
{
    auto* area = new QWidget(this);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    // The sweeping signal of the selected channel.
    Framereal = Named(new QGroupBox(QStringLiteral("Real-time signal"), area), "Framereal");
    auto* realLayout = new QVBoxLayout(Framereal);
    realLayout->setContentsMargins(6, 4, 6, 6);
    Picreal = Named(new PictureBox(Framereal), "Picreal");
    Picreal->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    realLayout->addWidget(Picreal, 1);
    auto* zoomRow = new QHBoxLayout;
    Cmdzoom_minus = Button("Cmdzoom_minus", QStringLiteral("-"), Framereal);
    Cmdzoom_plus = Button("Cmdzoom_plus", QStringLiteral("+"), Framereal);
    txtzoom = Box("txtzoom", Framereal, 3);
    txtzoom->setText(QStringLiteral("0"));
    txtzoom->setReadOnly(true);
    txtzoom->setAlignment(Qt::AlignCenter);
    for (QPushButton* b : {Cmdzoom_minus, Cmdzoom_plus})
        MarkSquare(b);
    zoomRow->addWidget(new QLabel(QStringLiteral("Zoom:"), Framereal));
    zoomRow->addWidget(Cmdzoom_minus);
    zoomRow->addWidget(txtzoom);
    zoomRow->addWidget(Cmdzoom_plus);
    zoomRow->addStretch(1);
    realLayout->addLayout(zoomRow);
    column->addWidget(Framereal, 3);

    // The activity bars of channel, well and group beside the channel choice.
    auto* lower = new QHBoxLayout;
    lower->setSpacing(8);
    auto* activity = new QGroupBox(QStringLiteral("Activity"), area);
    auto* activityLayout = new QVBoxLayout(activity);
    activityLayout->setContentsMargins(6, 4, 6, 6);
    Picact = Named(new PictureBox(activity), "Picact");
    Picact->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    activityLayout->addWidget(Picact);
    lower->addWidget(activity, 3);

    selectors_ = new ChannelSelectors(state_, area);
    lower->addWidget(selectors_, 1);
    column->addLayout(lower, 2);

    // How far the programmed lapse has run.
    auto* progress = new QHBoxLayout;
    progress->addWidget(new QLabel(QStringLiteral("Progress:"), area));
    picturetime = Named(new PictureBox(area), "picturetime");
    picturetime->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    progress->addWidget(picturetime, 1);
    column->addLayout(progress);
    return area;
}

QWidget* FrmMain::BuildToolColumn()
{
    auto* tools = new QWidget;
    auto* column = new QVBoxLayout(tools);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    organism_ = new OrganismPanel(state_, tools);
    toolPanels_ = new ToolPanels(state_, tools_, tools);
    column->addWidget(organism_);
    column->addWidget(toolPanels_);

    frm_autotext = Named(new QFrame(tools), "frm_autotext");
    frm_autotext->setFrameShape(QFrame::StyledPanel);
    new QVBoxLayout(frm_autotext);
    frm_autotext->hide();
    column->addWidget(frm_autotext);
    column->addStretch(1);

    // On a low screen the three tool frames may not all fit: they scroll
    // rather than squeeze the plots.
    toolScroll_ = new FittingScroll(this);
    toolScroll_->setObjectName(QStringLiteral("tool_scroll"));
    toolScroll_->setWidget(tools);
    toolScroll_->setWidgetResizable(true);
    toolScroll_->setFrameShape(QFrame::NoFrame);
    toolScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    toolScroll_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

    // The wells at a glance under the tool frames: the map keeps the room
    // its wells need to be read, and the tool frames scroll when the rest
    // is too low for them.
    auto* right = new QWidget(this);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(6);
    frm_platemap = new PlateMapPanel(state_, right);
    rightColumn->addWidget(toolScroll_, 0);
    rightColumn->addWidget(frm_platemap, 1);
    return right;
}

void FrmMain::SizeToFont()
{
    FitToFont(this);
    const QFontMetrics m = fontMetrics();
    runBar_->FitToFont(m);
    selectors_->FitToFont(m);
    picturetime->setFixedHeight(m.height() + 4);
    // Nested layouts keep the sizes they worked out before; they all work
    // them out again for the new lettering.
    for (QWidget* w : findChildren<QWidget*>())
        w->updateGeometry();
    for (QLayout* l : findChildren<QLayout*>())
        l->invalidate();
    // The tool column is as wide as its widest panel needs, never squeezed.
    // (Asked of the panels themselves: the column's own layout may still
    // hold their sizes from before the lettering changed.)
    const int widest = std::max({organism_->sizeHint().width(), toolPanels_->WidestFrame(),
                                 frm_autotext->sizeHint().width()});
    const int columnWidth = widest + toolScroll_->verticalScrollBar()->sizeHint().width() + 4;
    toolScroll_->setFixedWidth(columnWidth);
    frm_platemap->setMaximumWidth(columnWidth);
}

} // namespace bandora
