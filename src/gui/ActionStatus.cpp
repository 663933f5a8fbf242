#include "ActionStatus.h"

#include "DesktopOpener.h"
#include "QtOperator.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

#include <cstdio>

namespace bandora {

namespace {

DesktopOpener& SystemOpener()
{
    static SystemDesktopOpener opener;
    return opener;
}

} // namespace

ActionStatus::ActionStatus(QWidget* parent, DesktopOpener* opener)
    : QWidget(parent), opener_(opener ? opener : &SystemOpener())
{
    setObjectName(QStringLiteral("action_status"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    lbl_actionstatus = new QLabel(this);
    lbl_actionstatus->setObjectName(QStringLiteral("lbl_actionstatus"));
    lbl_actionstatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmd_openfolder = new QPushButton(QStringLiteral("Open folder"), this);
    cmd_openfolder->setObjectName(QStringLiteral("cmd_openfolder"));
    cmd_openfolder->hide();
    row->addWidget(lbl_actionstatus, 1);
    row->addWidget(cmd_openfolder);
    connect(cmd_openfolder, &QPushButton::clicked, this, [this] { Open(folder_); });
}

ActionStatus& ActionStatus::Of(QMainWindow& window, DesktopOpener* opener)
{
    if (auto* existing = window.statusBar()->findChild<ActionStatus*>(QStringLiteral("action_status"))) {
        if (opener)
            existing->opener_ = opener;
        return *existing;
    }
    auto* line = new ActionStatus(window.statusBar(), opener);
    window.statusBar()->addWidget(line, 1);
    return *line;
}

void ActionStatus::Done(const QString& what, const QString& path)
{
    Show(QStringLiteral("%1: %2").arg(what, QDir::toNativeSeparators(path)), path, false);
}

void ActionStatus::Problem(const QString& text, const QString& path) { Show(text, path, true); }

void ActionStatus::Show(const QString& text, const QString& path, bool problem)
{
    lbl_actionstatus->setText(text);
    lbl_actionstatus->setStyleSheet(problem ? QStringLiteral("color: #c00000; font-weight: bold;") : QString());
    const QFileInfo info(path);
    folder_ = path.isEmpty() ? QString() : (info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    cmd_openfolder->setVisible(!folder_.isEmpty());
    const QByteArray line = QtOperator::EchoLine(text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

bool ActionStatus::Open(const QString& path)
{
    if (opener_->open(path))
        return true;
    Problem(QStringLiteral("Nothing on this desktop opens %1: open it from its folder.").arg(QDir::toNativeSeparators(path)),
            path);
    return false;
}

} // namespace bandora
