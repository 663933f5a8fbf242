#include "FrmAbout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace bandora {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Frm_About"));
    setWindowTitle(QStringLiteral("About Bandora"));
    setModal(false);

    auto* title = new QLabel(QStringLiteral("Bandora Acquisition Software"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* version = new QLabel(QStringLiteral(BANDORA_VERSION_TEXT), this);
    version->setObjectName(QStringLiteral("Label_version"));
    version->setAlignment(Qt::AlignCenter);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The instrument's firmware-era text above stays as users know it; the
    // version of this build, as the package and --version name it, beside it.
    auto* package = new QLabel(QStringLiteral("Version " BANDORA_PACKAGE_VERSION), this);
    package->setObjectName(QStringLiteral("Label_package_version"));
    package->setAlignment(Qt::AlignCenter);
    package->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* text = new QLabel(
        QStringLiteral("Counts the locomotor activity of small organisms in the wells of a microplate "
                       "from the interruptions of 384 infrared beams, shows it live, records it per "
                       "experiment and turns recordings into reports per well and per group of wells."),
        this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(package);
    layout->addWidget(text);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

} // namespace bandora
