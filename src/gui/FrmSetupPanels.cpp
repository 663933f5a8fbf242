// The settings panels of the setup window: "Acquisition setup" (Frameconfig),
// "File Output" (Frameout) and "Tools" (frametool), and the rules of their
// controls. Every control writes the project in memory at once.

#include "FrmSetup.h"

#include "GroupsPanel.h"
#include "SetupHost.h"
#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/setup/SettingsRules.h"
#include "core/storage/PlateFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace bandora {

namespace {

QLineEdit* NumberBox(const char* name, QWidget* parent)
{
    auto* box = Named(new QLineEdit(parent), name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    return box;
}

// A box with its unit after it, as one row of a form.
QWidget* WithUnit(QWidget* box, const QString& unit, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    if (!unit.isEmpty())
        layout->addWidget(new QLabel(unit, row));
    layout->addStretch(1);
    return row;
}

QLabel* Note(const QString& text, QWidget* parent)
{
    auto* note = new QLabel(text, parent);
    note->setWordWrap(true);
    QFont f = note->font();
    f.setItalic(true);
    note->setFont(f);
    return note;
}

void SetBoxText(QLineEdit* box, const QString& text)
{
    const QSignalBlocker block(box);
    box->setText(text);
}

} // namespace

QGroupBox* FrmSetup::BuildConfigFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Acquisition setup"), this), "Frameconfig");
    Combo_aqmode = Named(new QComboBox(frame), "Combo_aqmode");
    Txtlapse = NumberBox("Txtlapse", frame);
    Txtsample = NumberBox("Txtsample", frame);
    Txtbuffer = NumberBox("Txtbuffer", frame);
    Txt_dspinterval = NumberBox("Txt_dspinterval", frame);
    ComboDSP = Named(new QComboBox(frame), "ComboDSP");
    Combowell = Named(new QComboBox(frame), "Combowell");
    Combowell->setMinimumWidth(Combowell->fontMetrics().horizontalAdvance(QStringLiteral("w96flat")) + 40);
    cmdlod = Named(new QPushButton(QStringLiteral("Apply"), frame), "cmdlod");

    auto* well = new QWidget(frame);
    auto* wellRow = new QHBoxLayout(well);
    wellRow->setContentsMargins(0, 0, 0, 0);
    wellRow->addWidget(Combowell);
    wellRow->addWidget(cmdlod);
    wellRow->addStretch(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Acq Mode:"), WithUnit(Combo_aqmode, QString(), frame));
    form->addRow(QStringLiteral("Acq. Lapse:"), WithUnit(Txtlapse, QStringLiteral("min"), frame));
    form->addRow(QStringLiteral("Sample rate:"), WithUnit(Txtsample, QStringLiteral("/sec"), frame));
    form->addRow(QStringLiteral("RT Buffer:"), WithUnit(Txtbuffer, QStringLiteral("bytes"), frame));
    form->addRow(QStringLiteral("DSP Interval:"), WithUnit(Txt_dspinterval, QString(), frame));
    form->addRow(QStringLiteral("DSP Method:"), WithUnit(ComboDSP, QString(), frame));
    form->addRow(QStringLiteral("Well Format:"), well);

    auto* column = new QVBoxLayout(frame);
    column->addLayout(form);
    column->addSpacing(16);
    column->addWidget(Note(QStringLiteral("*Please select the appropriate configuration for your experiment"), frame));
    column->addStretch(1);
    return frame;
}

QGroupBox* FrmSetup::BuildOutputFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("File Output"), this), "Frameout");
    Combosavecount = Named(new QComboBox(frame), "Combosavecount");
    Combosavereal = Named(new QComboBox(frame), "Combosavereal");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Save Counts/minute"), WithUnit(Combosavecount, QString(), frame));
    form->addRow(QStringLiteral("Save Real-time data:"), WithUnit(Combosavereal, QString(), frame));
    auto* column = new QVBoxLayout(frame);
    column->addLayout(form);
    column->addStretch(1);
    return frame;
}

QGroupBox* FrmSetup::BuildToolsFrame()
{
    auto* frame = Named(new QGroupBox(QStringLiteral("Tools"), this), "frametool");
    chkcalib = Named(new QCheckBox(QStringLiteral("Calibration Control"), frame), "chkcalib");
    chklight = Named(new QCheckBox(QStringLiteral("Light Control*"), frame), "chklight");
    chktemp = Named(new QCheckBox(QStringLiteral("Temperature Control*"), frame), "chktemp");
    Chk_mn4 = Named(new QCheckBox(QStringLiteral("Menu 4"), frame), "Chk_mn4");
    Chk_mn5 = Named(new QCheckBox(QStringLiteral("Menu 5"), frame), "Chk_mn5");
    Chk_mn6 = Named(new QCheckBox(QStringLiteral("Menu 6"), frame), "Chk_mn6");
    auto* column = new QVBoxLayout(frame);
    for (QCheckBox* box : {chkcalib, chklight, chktemp, Chk_mn4, Chk_mn5, Chk_mn6})
        column->addWidget(box);
    column->addSpacing(16);
    column->addWidget(Note(QStringLiteral("*Available only in some Hardware versions!"), frame));
    column->addStretch(1);
    return frame;
}

void FrmSetup::ConnectSettings()
{
    ProjectSetup& p = state_.project.setup;
    connect(Combo_aqmode, &QComboBox::activated, this, [&p](int index) { p.Aq_mode = static_cast<qint16>(index); });
    connect(ComboDSP, &QComboBox::activated, this, [&p](int index) { p.DSP_Method = static_cast<qint16>(index); });

    // The number boxes are checked when the operator has finished with them;
    // the project actions and the navigation check them again first, since a
    // button reached by keyboard does not always take the focus.
    for (QLineEdit* box : {Txtlapse, Txtsample, Txtbuffer, Txt_dspinterval})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { CommitNumberBox(box); });

    // Counts are always saved: the list goes back to "YES" whatever is chosen.
    connect(Combosavecount, &QComboBox::activated, this, [this, &p] {
        Combosavecount->setCurrentIndex(1);
        p.Save_counts = 1;
    });
    connect(Combosavereal, &QComboBox::activated, this,
            [this, &p] { p.Save_real = Combosavereal->currentText() == QLatin1String("YES") ? 1 : 0; });

    connect(chkcalib, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(1, on); });
    connect(chklight, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(2, on); });
    connect(chktemp, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(3, on); });
    connect(Chk_mn4, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(4, on); });
    connect(Chk_mn5, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(5, on); });
    connect(Chk_mn6, &QCheckBox::clicked, this, [this](bool on) { ToolClicked(6, on); });

    connect(cmdlod, &QPushButton::clicked, this, &FrmSetup::ApplyPlateClicked);
}

void FrmSetup::CommitNumberBox(QLineEdit* box)
{
    ProjectSetup& p = state_.project.setup;
    const auto apply = [&](const BoxEntry& e, qint16& field) {
        field = e.value;
        // The box shows what is kept before a message can take the focus
        // from it (and end its editing once more).
        if (e.shown && box->text() != *e.shown)
            SetBoxText(box, *e.shown);
        if (e.message)
            state_.services.op.inform(*e.message);
    };
    if (box == Txtlapse) {
        apply(LapseEntry(box->text()), p.Aq_lapse);
    } else if (box == Txtsample) {
        apply(SampleRateEntry(box->text(), p.Sample_Rate), p.Sample_Rate);
    } else if (box == Txt_dspinterval) {
        apply(DspIntervalEntry(box->text(), p.RT_Buffer), p.DSP_Interval);
    } else if (box == Txtbuffer) {
        apply(BufferEntry(box->text()), p.RT_Buffer);
        // A shorter buffer cycle may no longer hold the detector window.
        if (p.DSP_Interval > MaxDspInterval(p.RT_Buffer)) {
            p.DSP_Interval = MaxDspInterval(p.RT_Buffer);
            SetBoxText(Txt_dspinterval, QString::number(p.DSP_Interval));
        }
    }
}

void FrmSetup::CommitNumberBoxes()
{
    // The buffer first: the detector window is checked against it.
    for (QLineEdit* box : {Txtlapse, Txtsample, Txtbuffer, Txt_dspinterval})
        CommitNumberBox(box);
}

void FrmSetup::FillSettings()
{
    const ProjectSetup& p = state_.project.setup;
    const auto fillList = [](QComboBox* box, const QStringList& items, int index) {
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    };
    fillList(Combo_aqmode, AcquisitionModeItems(), p.Aq_mode);
    fillList(ComboDSP, DspMethodItems(), p.DSP_Method);
    fillList(Combosavecount, YesNoItems(), p.Save_counts != 0 ? 1 : 0);
    fillList(Combosavereal, YesNoItems(), p.Save_real != 0 ? 1 : 0);
    SetBoxText(Txtlapse, QString::number(p.Aq_lapse));
    SetBoxText(Txtsample, QString::number(p.Sample_Rate));
    SetBoxText(Txtbuffer, QString::number(p.RT_Buffer));
    SetBoxText(Txt_dspinterval, QString::number(p.DSP_Interval));

    // Calibration control is always on.
    state_.project.setup.Menu1 = 1;
    chkcalib->setChecked(true);
    chkcalib->setEnabled(false);
    host_.showToolFrame(1, true);
    chklight->setChecked(p.Menu2 != 0);
    chktemp->setChecked(p.Menu3 != 0);
    Chk_mn4->setChecked(p.Menu4 != 0);
    Chk_mn5->setChecked(p.Menu5 != 0);
    Chk_mn6->setChecked(p.Menu6 != 0);
}

void FrmSetup::TickCalibrationControl()
{
    chkcalib->setChecked(true);
    state_.project.setup.Menu1 = 1;
}

void FrmSetup::ToolClicked(int tool, bool checked)
{
    state_.project.setup.Menu(tool) = checked ? 1 : 0;
    if (tool <= 3)
        host_.showToolFrame(tool, checked);
}

void FrmSetup::FillPlateList()
{
    Combowell->clear();
    Combowell->addItems(ListPlateFiles(state_.project.appDir));
    Combowell->setCurrentIndex(Combowell->findText(state_.project.setup.Plate_format));
}

void FrmSetup::ApplyPlateClicked()
{
    switch (ApplyPlate(Combowell->currentText(), state_.project.setup, state_.project.plate, state_.project.appDir,
                       state_.services.op)) {
    case ApplyPlateResult::Applied:
        WindowLoad();
        break;
    case ApplyPlateResult::Declined:
    case ApplyPlateResult::Malformed:
        Combowell->setCurrentIndex(Combowell->findText(state_.project.setup.Plate_format));
        break;
    case ApplyPlateResult::SelectionError:
        break;
    }
}

} // namespace bandora
