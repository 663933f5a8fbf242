#include "FrmFactory.h"

#include "core/AppState.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bandora {

FrmFactory::FrmFactory(AppState& state, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Window), state_(state), main_(mainWindow),
      calibration_(state.services, state.instrument, state.run)
{
    setObjectName(QStringLiteral("Frm_Factory"));
    setWindowTitle(QStringLiteral("<Bandora> Factory Settings"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    txt_current_temp = new QLineEdit(this);
    txt_current_temp->setObjectName(QStringLiteral("txt_current_temp"));
    txt_current_temp->setReadOnly(true);
    txt_set_temp = new QLineEdit(this);
    txt_set_temp->setObjectName(QStringLiteral("txt_set_temp"));
    form->addRow(QStringLiteral("Current temperature (°C):"), txt_current_temp);
    form->addRow(QStringLiteral("Reference temperature (°C):"), txt_set_temp);
    layout->addLayout(form);
    Cmd_temp = new QPushButton(QStringLiteral("Calibrate Temperature"), this);
    Cmd_temp->setObjectName(QStringLiteral("Cmd_temp"));
    layout->addWidget(Cmd_temp);
    txt_mensaje = new QLabel(this);
    txt_mensaje->setObjectName(QStringLiteral("txt_mensaje"));
    txt_mensaje->setFrameShape(QFrame::Panel);
    txt_mensaje->setFrameShadow(QFrame::Sunken);
    layout->addWidget(txt_mensaje);

    Timer_temp.setObjectName(QStringLiteral("Timer_temp"));
    Timer_temp.setInterval(FactoryCalibration::kPollMs);
    connect(&Timer_temp, &QTimer::timeout, this, &FrmFactory::PollTemperature);
    connect(Cmd_temp, &QPushButton::clicked, this, &FrmFactory::Calibrate);
    connect(txt_set_temp, &QLineEdit::returnPressed, this, &FrmFactory::Calibrate);

    // Window load.
    txt_mensaje->setText(calibration_.Load());
    txt_set_temp->setText(FactoryCalibration::ReferenceStart());
    txt_current_temp->setText(QStringLiteral("0.0"));
}

FrmFactory::~FrmFactory() = default;

FrmFactory* FrmFactory::Open(AppState& state, QWidget& mainWindow)
{
    if (!FactoryCalibration(state.services, state.instrument, state.run).MayOpen())
        return nullptr;
    auto* window = new FrmFactory(state, mainWindow);
    mainWindow.hide();
    window->show();
    window->Timer_temp.start();
    return window;
}

void FrmFactory::PollTemperature()
{
    txt_current_temp->setText(calibration_.PollTemperature());
}

void FrmFactory::Calibrate()
{
    // The poll must not talk to the instrument between the writes (a message
    // box of a failed write runs its own event loop).
    Timer_temp.stop();
    calibrating_ = true;
    const QString status = calibration_.Calibrate(txt_set_temp->text());
    calibrating_ = false;
    if (!status.isEmpty())
        txt_mensaje->setText(status);
    Timer_temp.start();
}

void FrmFactory::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !calibrating_ && !Timer_temp.isActive())
        Timer_temp.start();
    QWidget::changeEvent(event);
}

void FrmFactory::closeEvent(QCloseEvent* event)
{
    Timer_temp.stop();
    main_.show();
    event->accept();
}

} // namespace bandora
