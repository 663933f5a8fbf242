// The setup window's number boxes as the operator types into them, key by
// key: nothing is rewritten while typing; the limits apply when the box is
// left, on Enter or on Save.

#include "SetupFixture.h"

#include "support/Files.h"

#include <QKeyEvent>
#include <QPushButton>

using namespace bandora;
using namespace bandora::test;

namespace {

// Empties the box as the operator does (select all, Backspace) and types
// the text key by key.
void Keys(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(box, &del);
    for (const QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, int(c.toUpper().unicode()), Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &key);
    }
}

} // namespace

TEST_F(SetupWindowTest, NumberBoxesAreCheckedWhenTheOperatorHasFinished)
{
    FrmSetup& w = Open();
    w.Cmdconfig->click();
    // Typed key by key, finished with Enter: nothing is rewritten meanwhile
    // (what each box takes is SettingsRules').
    Keys(w.Txtlapse, QStringLiteral("-3"));
    EXPECT_EQ(w.Txtlapse->text(), QStringLiteral("-3"));
    PressEnter(w.Txtlapse);
    EXPECT_EQ(w.Txtlapse->text(), QStringLiteral("2"));
    EXPECT_EQ(state.project.setup.Aq_lapse, 2);

    // A sample rate that is no number is refused with a message; the rate stays.
    Type(w.Txtsample, QStringLiteral("25"));
    Keys(w.Txtsample, QStringLiteral("abc"));
    Q_EMIT w.Txtsample->editingFinished();
    EXPECT_EQ(w.Txtsample->text(), QStringLiteral("25"));
    EXPECT_EQ(state.project.setup.Sample_Rate, 25);
    ASSERT_EQ(op.texts().size(), 1);
    EXPECT_TRUE(op.texts()[0].startsWith(QStringLiteral("Sample rate: \"abc\" is not a number")));

    // Save takes a box still being edited, checked as on leaving it.
    Keys(w.Txtlapse, QStringLiteral("300"));
    op.answers << Answer::Yes;
    w.Cmdsavepj->click();
    EXPECT_EQ(state.project.setup.Aq_lapse, 300);
    EXPECT_TRUE(ReadAll(QDir(state.project.folder).filePath(QStringLiteral("setup.dat"))).contains(",300,25,"));
}
