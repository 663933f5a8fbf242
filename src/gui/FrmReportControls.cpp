// Construction of the report window's menu and controls. The behaviour lives
// in FrmReport.cpp; this file only decides what is where.

#include "FrmReport.h"
#include "WidgetHelpers.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bandora {

void FrmReport::BuildMenus()
{
    mn_advanced = Named(menuBar()->addMenu(QStringLiteral("Advanced")), "mn_advanced");
    mn_rawdata = Named(mn_advanced->addAction(QStringLiteral("Analyze Raw Data")), "mn_rawdata");
    mn_perwell = Named(mn_advanced->addAction(QStringLiteral("1 file/well Report")), "mn_perwell");
}

QGroupBox* FrmReport::BuildOutputFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Output format:")), "frm_output");
    auto* grid = new QGridLayout(frame);
    opt_rows = Named(new QRadioButton(QStringLiteral("Rows"), frame), "opt_rows");
    opt_list = Named(new QRadioButton(QStringLiteral("List"), frame), "opt_list");
    opt_array = Named(new QRadioButton(QStringLiteral("Array"), frame), "opt_array");
    layoutGroup_ = new QButtonGroup(frame);
    layoutGroup_->addButton(opt_rows, int(ReportLayout::Rows));
    layoutGroup_->addButton(opt_list, int(ReportLayout::List));
    layoutGroup_->addButton(opt_array, int(ReportLayout::Array));
    opt_rows->setChecked(true);

    opt_csv = Named(new QRadioButton(QStringLiteral("Excel [.csv]"), frame), "opt_csv");
    opt_txt = Named(new QRadioButton(QStringLiteral("Text [.txt]"), frame), "opt_txt");
    fileTypeGroup_ = new QButtonGroup(frame);
    fileTypeGroup_->addButton(opt_csv);
    fileTypeGroup_->addButton(opt_txt);
    opt_csv->setChecked(true);
    txt_spacer = Box("txt_spacer", frame, 3);

    grid->addWidget(opt_rows, 0, 0);
    grid->addWidget(opt_list, 1, 0);
    grid->addWidget(opt_array, 2, 0);
    grid->addWidget(opt_csv, 0, 1, 1, 2);
    grid->addWidget(opt_txt, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("spacer ="), frame), 2, 1, Qt::AlignRight);
    grid->addWidget(txt_spacer, 2, 2);
    grid->setColumnStretch(0, 1);
    return frame;
}

QGroupBox* FrmReport::BuildStatisticsFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Group Statistics:")), "frm_statistics");
    auto* column = new QVBoxLayout(frame);
    chk_average = Named(new QCheckBox(QStringLiteral("Average"), frame), "chk_average");
    chk_stderror = Named(new QCheckBox(QStringLiteral("Std Error"), frame), "chk_stderror");
    chk_stddev = Named(new QCheckBox(QStringLiteral("Std Dev"), frame), "chk_stddev");
    chk_median = Named(new QCheckBox(QStringLiteral("Median"), frame), "chk_median");
    chk_n = Named(new QCheckBox(QStringLiteral("N"), frame), "chk_n");
    // The mean is always written and no median is computed: both boxes are
    // shown as the reports have them, but cannot be changed.
    chk_average->setChecked(true);
    chk_average->setEnabled(false);
    chk_median->setEnabled(false);
    for (QCheckBox* box : {chk_average, chk_stderror, chk_stddev, chk_median, chk_n})
        column->addWidget(box);
    return frame;
}

QGroupBox* FrmReport::BuildRawFrame()
{
    frm_raw = Named(new QGroupBox(QStringLiteral("Raw data processing:")), "frm_raw");
    auto* grid = new QGridLayout(frm_raw);
    combo_method = Named(new QComboBox(frm_raw), "combo_method");
    combo_method->addItems({QStringLiteral("0_Threshold+Binary (Old Method.w/filters)"),
                            QStringLiteral("1_Threshold Avrg (Default.Agar&Liquid)"),
                            QStringLiteral("2_uOrganism (Motility Index)")});
    combo_organism = Named(new QComboBox(frm_raw), "combo_organism");
    combo_organism->addItems({QStringLiteral("C elegans(>L4)"), QStringLiteral("Zebrafish(Larvae)")});
    txt_threshold = Box("txt_threshold", frm_raw, 5);
    txt_threshold->setText(QStringLiteral("1.8"));
    txt_lapse = Box("txt_lapse", frm_raw, 5);
    txt_lapse->setText(QStringLiteral("24"));
    chk_replace = Named(new QCheckBox(QStringLiteral("Replace old data"), frm_raw), "chk_replace");
    cmd_run = Named(new QPushButton(QStringLiteral("Run"), frm_raw), "cmd_run");
    cmd_stop = Named(new QPushButton(QStringLiteral("STOP"), frm_raw), "cmd_stop");
    lbl_status = Named(new QLabel(QStringLiteral("Block xx/xx"), frm_raw), "lbl_status");
    lbl_status->setMinimumWidth(lbl_status->fontMetrics().horizontalAdvance(QStringLiteral("Block 00000/00000")));
    lbl_status->hide();

    grid->addWidget(new QLabel(QStringLiteral("Re-Calculate from Real time Data:"), frm_raw), 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Method:"), frm_raw), 1, 0);
    grid->addWidget(combo_method, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Organism:"), frm_raw), 2, 0);
    grid->addWidget(combo_organism, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Threshold:"), frm_raw), 2, 2, Qt::AlignRight);
    grid->addWidget(txt_threshold, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Lapse (hours):"), frm_raw), 3, 0);
    grid->addWidget(txt_lapse, 3, 1, Qt::AlignLeft);
    grid->addWidget(chk_replace, 3, 2, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd_run);
    buttons->addWidget(cmd_stop);
    buttons->addSpacing(12);
    buttons->addWidget(lbl_status);
    buttons->addStretch(1);
    grid->addLayout(buttons, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    frm_raw->hide();
    return frm_raw;
}

void FrmReport::BuildControls()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);

    auto* folderRow = new QHBoxLayout;
    txt_folder = Named(new QLineEdit(central), "txt_folder");
    txt_folder->setMinimumWidth(txt_folder->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);
    folderRow->addWidget(new QLabel(QStringLiteral("Experiment folder:"), central));
    folderRow->addWidget(txt_folder, 1);
    column->addLayout(folderRow);
    // What the run manifest says of a run that did not end properly.
    lbl_run = Named(new QLabel(central), "lbl_run");
    lbl_run->setWordWrap(true);
    lbl_run->setStyleSheet(QStringLiteral("color: #b00000"));
    lbl_run->hide();
    column->addWidget(lbl_run);

    auto* binRow = new QHBoxLayout;
    combo_bin = Named(new QComboBox(central), "combo_bin");
    combo_bin->setEditable(true);
    combo_bin->addItems({QStringLiteral("5"), QStringLiteral("15"), QStringLiteral("30"), QStringLiteral("60"),
                         QStringLiteral("120"), QStringLiteral("180"), QStringLiteral("240"), QStringLiteral("360"),
                         QStringLiteral("480"), QStringLiteral("720"), QStringLiteral("1440")});
    combo_bin->setCurrentIndex(2);
    combo_bin->setMinimumContentsLength(5);
    binRow->addWidget(new QLabel(QStringLiteral("Bin size (min):"), central));
    binRow->addWidget(combo_bin);
    binRow->addStretch(1);
    column->addLayout(binRow);

    auto* frames = new QHBoxLayout;
    frames->addWidget(BuildOutputFrame(), 1);
    frames->addWidget(BuildStatisticsFrame());
    column->addLayout(frames);

    auto* buttonRow = new QHBoxLayout;
    progress = Named(new QProgressBar(central), "progress");
    progress->setRange(0, 100);
    progress->setTextVisible(true);
    // Kept in the layout while hidden, so the buttons do not jump about.
    QSizePolicy keep = progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress->setSizePolicy(keep);
    progress->hide();
    cmd_generate = Named(new QPushButton(QStringLiteral("Generate..."), central), "cmd_generate");
    cmd_cancel = Named(new QPushButton(QStringLiteral("Cancel"), central), "cmd_cancel");
    cmd_generate->setDefault(true);
    buttonRow->addWidget(progress, 1);
    buttonRow->addWidget(cmd_generate);
    buttonRow->addWidget(cmd_cancel);
    column->addLayout(buttonRow);

    auto* exportRow = new QHBoxLayout;
    cmd_dam = Named(new QPushButton(QStringLiteral("DAM files"), central), "cmd_dam");
    cmd_dam->setToolTip(QStringLiteral("Monitor files of 32 wells and metadata.csv for damr, ShinyR-DAM and "
                                       "VANESSA-DAM, into the folder \"dam\" of the experiment"));
    cmd_long = Named(new QPushButton(QStringLiteral("Long table"), central), "cmd_long");
    cmd_long->setToolTip(QStringLiteral("One CSV row per well and bin for pandas, R and spreadsheets"));
    exportRow->addWidget(new QLabel(QStringLiteral("Export for analysis tools:"), central));
    exportRow->addStretch(1);
    exportRow->addWidget(cmd_dam);
    exportRow->addWidget(cmd_long);
    column->addLayout(exportRow);

    column->addWidget(BuildRawFrame());
    column->addStretch(1);
    setCentralWidget(central);
}

} // namespace bandora
