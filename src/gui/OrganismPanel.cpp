#include "OrganismPanel.h"

#include "WidgetHelpers.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/display/OrganismSettings.h"
#include "core/tools/ToolEntries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace bandora {

OrganismPanel::OrganismPanel(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Calibration:"), parent), state_(state)
{
    setObjectName(QStringLiteral("frm_mn1"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setVerticalSpacing(4);

    Cmb_organism = Named(new QComboBox(this), "Cmb_organism");
    Cmb_organism->addItems({QStringLiteral("C elegans(>L4)"), QStringLiteral("Zebrafish(Larvae)"),
                            QStringLiteral("Customized")});
    lbl_umbral = Named(new QLabel(QStringLiteral(">>>>"), this), "lbl_umbral");
    txt_snr_umbral = Box("txt_snr_umbral", this, 5);
    txt_snr_umbral->setText(QStringLiteral("1.7"));
    mnCalibra = Named(new QCheckBox(QStringLiteral("Auto   Calibration"), this), "mnCalibra");
    mnZero = Named(new QCheckBox(QStringLiteral("Auto   Zero"), this), "mnZero");
    cmd_calibra = Button("cmd_calibra", QStringLiteral("Fast CALIB"), this);
    Cmd_autozero = Button("Cmd_autozero", QStringLiteral("Fast ZERO"), this);
    Cmd_readblank = Button("Cmd_readblank", QStringLiteral("Read Blank"), this);

    grid->addWidget(new QLabel(QStringLiteral("Organism:"), this), 0, 0);
    grid->addWidget(Cmb_organism, 0, 1, 1, 2);
    grid->addWidget(lbl_umbral, 1, 0);
    grid->addWidget(txt_snr_umbral, 1, 1);
    grid->addWidget(mnCalibra, 2, 0, 1, 2);
    grid->addWidget(cmd_calibra, 2, 2);
    grid->addWidget(mnZero, 3, 0, 1, 2);
    grid->addWidget(Cmd_autozero, 3, 2);
    grid->addWidget(Cmd_readblank, 4, 2);

    connect(Cmb_organism, &QComboBox::activated, this, &OrganismPanel::ChooseOrganism);
    connect(txt_snr_umbral, &QLineEdit::editingFinished, this, &OrganismPanel::CheckFactor);
    connect(mnCalibra, &QCheckBox::toggled, this, &OrganismPanel::OnAutoCalibrationToggled);
    connect(mnZero, &QCheckBox::toggled, this, &OrganismPanel::OnAutoZeroToggled);
    connect(cmd_calibra, &QPushButton::clicked, this, &OrganismPanel::fastCalibrationPressed);
    connect(Cmd_autozero, &QPushButton::clicked, this, &OrganismPanel::fastZeroPressed);
    connect(Cmd_readblank, &QPushButton::clicked, this, &OrganismPanel::readBlankPressed);
    lbl_umbral->installEventFilter(this);
    lbl_umbral->setCursor(Qt::PointingHandCursor);
}

bool OrganismPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbl_umbral && event->type() == QEvent::MouseButtonRelease) {
        ToggleBox();
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

void OrganismPanel::Fill()
{
    static const QString kSizeClasses[] = {QStringLiteral("size <100um"), QStringLiteral("size 0.1-1mm"),
                                           QStringLiteral("size >1mm")};
    const int organism = state_.project.setup.Calibration().Organism();
    if (organism >= 0 && organism < Cmb_organism->count()) {
        Cmb_organism->setCurrentIndex(organism);
    } else {
        // Older projects name the organism by its size class.
        Cmb_organism->setCurrentIndex(-1);
        Cmb_organism->setPlaceholderText(organism >= 7 && organism <= 9 ? kSizeClasses[organism - 7] : QString());
    }
    ApplyOrganism();
    const int snrx10 = state_.project.setup.Calibration().Snrx10();
    if (snrx10 > 0)
        txt_snr_umbral->setText(QString::number(snrx10 / 10.0, 'f', 1));
}

void OrganismPanel::ChooseOrganism(int index)
{
    state_.project.setup.Calibration().Organism() = qint16(index);
    ApplyOrganism();
}

void OrganismPanel::ApplyOrganism()
{
    const OrganismSettings s = OrganismSettings::Apply(state_.project.setup.Calibration().Organism(),
                                                       SnrThreshold_, txt_snr_umbral->text());
    SnrThreshold_ = s.SnrThreshold;
    if (s.boxText)
        txt_snr_umbral->setText(*s.boxText);
    if (s.boxVisible)
        ShowBox(*s.boxVisible);
}

void OrganismPanel::ShowBox(bool visible)
{
    txt_snr_umbral->setVisible(visible);
    lbl_umbral->setText(visible ? OrganismSettings::ShownLabel() : OrganismSettings::HiddenLabel());
}

void OrganismPanel::ToggleBox() { ShowBox(lbl_umbral->text() == OrganismSettings::HiddenLabel()); }

void OrganismPanel::CheckFactor()
{
    // The message box takes the focus from the box; that must not check it again.
    if (checking_)
        return;
    checking_ = true;
    const EntryRule rule = entries::SignalToNoise();
    const EntryResult r = CheckEntry(rule, txt_snr_umbral->text());
    if (!r.valid)
        state_.services.op.inform(rule.message);
    txt_snr_umbral->setText(r.shown);
    SnrThreshold_ = r.value;
    state_.project.setup.Calibration().Snrx10() = r.stored;
    checking_ = false;
}

QString OrganismPanel::FactorText() const { return txt_snr_umbral->text(); }

void OrganismPanel::ShowRunning(bool running)
{
    Cmb_organism->setEnabled(!running);
    txt_snr_umbral->setEnabled(!running);
}

void OrganismPanel::FillCalibrationSwitches()
{
    const auto calibration = state_.project.setup.Calibration();
    mnCalibra->setChecked(calibration.AutoCalibrate() != 0);
    mnZero->setChecked(calibration.AutoZero() != 0);
}

void OrganismPanel::SetManualCalibration(bool on)
{
    Cmd_readblank->setVisible(on);
    if (!on) {
        mnCalibra->setChecked(true);
        mnZero->setChecked(true);
    }
    mnCalibra->setEnabled(on);
    mnZero->setEnabled(on);
}

void OrganismPanel::OnAutoCalibrationToggled(bool checked)
{
    state_.project.setup.Calibration().AutoCalibrate() = checked ? 1 : 0;
    state_.run.AutoCalibrate = checked;
    cmd_calibra->setEnabled(!checked);
}

void OrganismPanel::OnAutoZeroToggled(bool checked)
{
    state_.project.setup.Calibration().AutoZero() = checked ? 1 : 0;
    state_.run.AutoZero = checked;
    Cmd_autozero->setEnabled(!checked);
}

} // namespace bandora
