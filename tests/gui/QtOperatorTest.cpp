#include "gui/QtOperator.h"
#include "support/Files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace bandora;
using namespace bandora::test;

namespace {

// Presses the button with the given caption on the next modal dialog, as the
// operator would.
void PressWhenShown(const QString& caption)
{
    QTimer::singleShot(0, [caption] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
            if (b->text().remove(QLatin1Char('&')) == caption) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no button " << caption.toStdString();
        modal->close();
    });
}

} // namespace

TEST(QtOperator, AnswersAreTheButtonsPressedAndEveryTextIsOneLineOnTheEcho)
{
    const QTemporaryDir dir;
    const QString echoPath = dir.filePath(QStringLiteral("echo"));
    std::FILE* echo = std::fopen(qPrintable(echoPath), "w");
    ASSERT_NE(echo, nullptr);
    QtOperator op(echo);

    PressWhenShown(QStringLiteral("No"));
    EXPECT_EQ(op.ask(QStringLiteral("Update values to project 3_larvae before Exit?"), Buttons::YesNo), Answer::No);
    PressWhenShown(QStringLiteral("Cancel"));
    EXPECT_EQ(op.ask(QStringLiteral("WARNING:\r\nLOW DISK SPACE\r\nPROCEED?"), Buttons::YesNoCancel),
              Answer::Cancel);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("9"));
        dialog->accept();
    });
    EXPECT_EQ(op.prompt(QStringLiteral("COM(4) PORT ERROR.")), QStringLiteral("9"));
    QTimer::singleShot(0, [] {
        EXPECT_EQ(QApplication::activeModalWidget()->windowTitle(), QStringLiteral("Saving <8> with a new name"));
        QApplication::activeModalWidget()->close();
    });
    EXPECT_EQ(op.promptTitled(QStringLiteral("Type a name"), QStringLiteral("Saving <8> with a new name"),
                              QStringLiteral("kept?")),
              QString());

    std::fclose(echo);
    EXPECT_EQ(ReadAll(echoPath), QByteArray("Update values to project 3_larvae before Exit?\n"
                                         "WARNING: | LOW DISK SPACE | PROCEED?\n"
                                         "COM(4) PORT ERROR.\n"
                                         "Type a name\n"));
}
