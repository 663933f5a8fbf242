#pragma once

#include <QWidget>

class QLabel;

namespace bandora {

// The splash window shown while the program starts: the program's name, its
// version and one line telling what the start-up is doing.
class FrmInit : public QWidget {
    Q_OBJECT
public:
    explicit FrmInit(QWidget* parent = nullptr);

    // Sets the progress line (LblNews) and redraws it at once: the start-up
    // may block the window thread right after, while it waits for the
    // instrument.
    void ShowNews(const QString& text);

Q_SIGNALS:
    void newsShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* LblNews;
    QLabel* Label_version;
};

} // namespace bandora
