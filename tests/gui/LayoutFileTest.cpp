// The groups panel's Import and Export of a plate layout: a bad file changes
// nothing and says every problem; a good one is shown before it is kept.

#include "SetupFixture.h"

#include "core/setup/GroupRules.h"
#include "support/Files.h"

#include <QPushButton>

using namespace bandora;
using namespace bandora::test;

TEST_F(SetupWindowTest, ImportedLayoutIsShownThenKeptOrTakenBack)
{
    ClearGroups(state.project.setup);
    FrmSetup& w = Open();
    GroupsPanel& g = *w.Framegrup;
    const QString file = QDir(app).filePath(QStringLiteral("layout.csv"));
    g.chooseLayoutFile = [&file](bool) { return file; };
    const ProjectSetup before = state.project.setup;

    // Every bad line is told at once (PlateLayoutCsv.EveryBadLineIs...); nothing changes.
    WriteAll(file, "well,group\r\nA1,wt\r\nQ9,wt\r\nA1,mut\r\n");
    g.cmd_import_layout->click();
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(state.project.setup.ChannelGroup, before.ChannelGroup);

    // A good file: the picture and the lists show it while the question is
    // asked; "No" takes it back, "Yes" keeps it.
    WriteAll(file, "well,group,genotype\r\nA1,wt,N2\r\nB1,wt,N2\r\nC1,mut,CB\r\n");
    QStringList listedWhileAsked;
    op.beforeAnswer = [&] { listedWhileAsked = Items(g.combogrup); };
    op.answers.enqueue(Answer::No);
    g.cmd_import_layout->click();
    EXPECT_EQ(listedWhileAsked, (QStringList{"000_wt", "001_mut", "002_Free"}));
    EXPECT_EQ(state.project.setup.ChannelGroup, before.ChannelGroup);
    EXPECT_EQ(Items(g.combogrup), QStringList{"000_Free"});

    op.beforeAnswer = nullptr;
    op.answers.enqueue(Answer::Yes);
    g.cmd_import_layout->click();

    // Export writes what was kept, every well of the plate in order.
    const QString out = QDir(app).filePath(QStringLiteral("out.csv"));
    g.chooseLayoutFile = [&out](bool) { return out; };
    g.cmd_export_layout->click();
    EXPECT_TRUE(ReadAll(out).startsWith("well,group,genotype\r\nA1,000_wt,N2\r\nB1,000_wt,N2\r\nC1,001_mut,CB\r\nD1,,\r\n"));
}
