#pragma once

#include <QWidget>

class QLabel;
class QMainWindow;
class QPushButton;

namespace bandora {

class DesktopOpener;

// The line at the bottom of a window that says what the last action did:
// "Report written: C:\...\p00001\05122026_1000\rep_....csv", with a button
// that opens the folder it went to. It stays until the next action, never
// asks for a click, and is echoed on standard error as the message boxes are.
// When the desktop cannot open a file it says so here, with the path, in red.
class ActionStatus final : public QWidget {
    Q_OBJECT
public:
    // Files and folders are opened through `opener`; without one, through
    // the workstation's desktop.
    explicit ActionStatus(QWidget* parent = nullptr, DesktopOpener* opener = nullptr);

    // The line in the window's status bar, made there on first use.
    static ActionStatus& Of(QMainWindow& window, DesktopOpener* opener = nullptr);

    // `what` is done and wrote `path` (a file or a folder): the line names
    // it and the button opens the folder it is in (or the folder itself).
    void Done(const QString& what, const QString& path);
    // Something went wrong; the line shows it in red, with the button for
    // `path` when one is given.
    void Problem(const QString& text, const QString& path = QString());

    // Hands the file or folder to the desktop; when nothing opens it, the
    // line says so with the path. False then.
    bool Open(const QString& path);

    // The folder the button opens; empty when it is hidden.
    QString Folder() const { return folder_; }

    QLabel* lbl_actionstatus = nullptr;
    QPushButton* cmd_openfolder = nullptr;

private:
    void Show(const QString& text, const QString& path, bool problem);

    DesktopOpener* opener_;
    QString folder_;
};

} // namespace bandora
