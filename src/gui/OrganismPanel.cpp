#include "OrganismPanel.h"

#include "FrmMain.h"
#include "core/AppState.h"
#include "core/common/Operator.h"
#include "core/display/OrganismSettings.h"
#include "core/tools/ToolEntries.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace bandora {

OrganismPanel::OrganismPanel(FrmMain& window, AppState& state) : QObject(&window), w_(window), state_(state)
{
    connect(w_.Cmb_organism, &QComboBox::activated, this, &OrganismPanel::ChooseOrganism);
    connect(w_.txt_snr_umbral, &QLineEdit::editingFinished, this, &OrganismPanel::CheckFactor);
    label_ = w_.lbl_umbral;
    label_->installEventFilter(this);
    label_->setCursor(Qt::PointingHandCursor);
}

bool OrganismPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The label's own pointer: it gets events while the window is taken down.
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease) {
        ToggleBox();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void OrganismPanel::Fill()
{
    static const QString kSizeClasses[] = {QStringLiteral("size <100um"), QStringLiteral("size 0.1-1mm"),
                                           QStringLiteral("size >1mm")};
    const int organism = state_.project.setup.Calibration().Organism();
    if (organism >= 0 && organism < w_.Cmb_organism->count()) {
        w_.Cmb_organism->setCurrentIndex(organism);
    } else {
        // Older projects name the organism by its size class.
        w_.Cmb_organism->setCurrentIndex(-1);
        w_.Cmb_organism->setPlaceholderText(organism >= 7 && organism <= 9 ? kSizeClasses[organism - 7] : QString());
    }
    ApplyOrganism();
    const int snrx10 = state_.project.setup.Calibration().Snrx10();
    if (snrx10 > 0)
        w_.txt_snr_umbral->setText(QString::number(snrx10 / 10.0, 'f', 1));
}

void OrganismPanel::ChooseOrganism(int index)
{
    state_.project.setup.Calibration().Organism() = qint16(index);
    ApplyOrganism();
}

void OrganismPanel::ApplyOrganism()
{
    const OrganismSettings s = OrganismSettings::Apply(state_.project.setup.Calibration().Organism(),
                                                       SnrThreshold_, w_.txt_snr_umbral->text());
    SnrThreshold_ = s.SnrThreshold;
    if (s.boxText)
        w_.txt_snr_umbral->setText(*s.boxText);
    if (s.boxVisible)
        ShowBox(*s.boxVisible);
}

void OrganismPanel::ShowBox(bool visible)
{
    w_.txt_snr_umbral->setVisible(visible);
    w_.lbl_umbral->setText(visible ? OrganismSettings::ShownLabel() : OrganismSettings::HiddenLabel());
}

void OrganismPanel::ToggleBox() { ShowBox(w_.lbl_umbral->text() == OrganismSettings::HiddenLabel()); }

void OrganismPanel::CheckFactor()
{
    // The message box takes the focus from the box; that must not check it again.
    if (checking_)
        return;
    checking_ = true;
    const EntryRule rule = entries::SignalToNoise();
    const EntryResult r = CheckEntry(rule, w_.txt_snr_umbral->text());
    if (!r.valid)
        state_.services.op.inform(rule.message);
    w_.txt_snr_umbral->setText(r.shown);
    SnrThreshold_ = r.value;
    state_.project.setup.Calibration().Snrx10() = r.stored;
    checking_ = false;
}

} // namespace bandora
