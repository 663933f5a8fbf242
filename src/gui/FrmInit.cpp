#include "FrmInit.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace bandora {

// Not kept on top: a message of the project load must be able to come
// over the splash, or the start-up would seem to hang behind it.
FrmInit::FrmInit(QWidget* parent) : QWidget(parent, Qt::SplashScreen)
{
    setObjectName(QStringLiteral("Frm_Init"));
    setWindowTitle(QStringLiteral("Bandora"));

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    frame->setStyleSheet(QStringLiteral("QFrame { background: #0b2a4a; } QLabel { color: white; }"));

    auto* title = new QLabel(QStringLiteral("Bandora"), frame);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 3.0);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* subtitle = new QLabel(QStringLiteral("Acquisition Software\nLocomotor activity in microplates, 384 infrared beams"), frame);
    QFont mid = subtitle->font();
    mid.setPointSizeF(mid.pointSizeF() * 1.2);
    subtitle->setFont(mid);
    subtitle->setAlignment(Qt::AlignCenter);

    Label_version = new QLabel(QStringLiteral(BANDORA_VERSION_TEXT), frame);
    Label_version->setObjectName(QStringLiteral("Label_version"));
    Label_version->setAlignment(Qt::AlignCenter);

    LblNews = new QLabel(QStringLiteral("STARTING..........."), frame);
    LblNews->setObjectName(QStringLiteral("LblNews"));
    LblNews->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LblNews->setStyleSheet(QStringLiteral("QLabel { color: #ffe080; }"));
    LblNews->setMinimumHeight(LblNews->fontMetrics().height() * 2);
    LblNews->setWordWrap(true);

    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(28, 24, 28, 18);
    inner->setSpacing(10);
    inner->addStretch(1);
    inner->addWidget(title);
    inner->addWidget(subtitle);
    inner->addStretch(1);
    inner->addWidget(Label_version);
    inner->addWidget(LblNews);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    // Wide enough for the longest progress line ("... Opening Communication
    // Port [15]") on one line.
    const int width = qMax(560, LblNews->fontMetrics().horizontalAdvance(
                                    QStringLiteral("STARTING........... Opening Communication Port [15]")) + 80);
    resize(width, width * 11 / 20);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FrmInit::ShowNews(const QString& text)
{
    LblNews->setText(text);
    if (isVisible())
        LblNews->repaint();
    Q_EMIT newsShown(text);
}

void FrmInit::closeEvent(QCloseEvent* event)
{
    // The start-up hides the splash itself when it is done.
    event->ignore();
}

} // namespace bandora
