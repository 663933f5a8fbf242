#include "core/setup/PlatePicture.h"
#include "core/setup/WellDrag.h"

#include "core/storage/PlateFiles.h"
#include "core/storage/ProjectSetup.h"

#include <gtest/gtest.h>

using namespace bandora;

TEST(PlatePicture, WellsAndBeamDotsLineUp)
{
    const PlateFormat w96f = BuiltInPlate(QStringLiteral("w96f"));
    EXPECT_EQ(PictureView(w96f), QRectF(QPointF(-50, -100), QPointF(2400, 1600)));
    // Every beam dot of a plate channel lies in the box of its own well, and
    // every well in the picture, for the shipped plates (w384, w96f and w96u
    // are the built-in maps written out).
    QVector<QPair<QString, PlateFormat>> plates;
    for (const QString& name : ListPlateFiles(QStringLiteral(BANDORA_DATA_DIR))) {
        PlateFormat plate;
        ASSERT_FALSE(LoadPlateNoFallback(name, plate, QStringLiteral(BANDORA_DATA_DIR))) << name.toStdString();
        plates.append({name, plate});
    }
    EXPECT_GE(plates.size(), 7);
    for (const auto& [nameText, plate] : plates) {
        const std::string name = nameText.toStdString();
        const QRectF view = PictureView(plate);
        EXPECT_TRUE(view.contains(WellBox(plate, {0, 0})) && view.contains(WellBox(plate, {plate.Columns - 1, plate.Rows - 1})))
            << name;
        for (int ch = 0; ch < kChannels; ++ch) {
            const int well = plate.ChannelWell[ch];
            if (well < 0)
                continue;
            const WellCell cell{well / plate.Rows, well % plate.Rows};
            EXPECT_TRUE(WellBox(plate, cell).contains(BeamDot(ch))) << name << " channel " << ch;
            EXPECT_EQ(CellAt(plate, BeamDot(ch)), cell) << name << " channel " << ch;
        }
    }
    // Labels go between the rows of beams.
    EXPECT_DOUBLE_EQ(LabelCentreY(BuiltInPlate(QStringLiteral("w384")), 3), 325);
    EXPECT_DOUBLE_EQ(LabelCentreY(w96f, 1), 200);
    PlateFormat fourBeams = w96f;
    fourBeams.RowOffset = 0; // two rows of beams in the middle of each well
    EXPECT_DOUBLE_EQ(LabelCentreY(fourBeams, 0), 100);

    // Before the first well counts as the first, past the last as the last.
    EXPECT_EQ(CellAt(w96f, QPointF(-500, -500)), (WellCell{0, 0}));
    EXPECT_EQ(CellAt(w96f, QPointF(2399, 1599)), (WellCell{11, 7}));
    EXPECT_EQ(CellAt(w96f, QPointF(5000, 5000)), (WellCell{11, 7}));
    PlateFormat flat = w96f;
    flat.ColumnPitch = 0; // a damaged plate file
    EXPECT_EQ(CellAt(flat, QPointF(700, 700)).column, 0);
}

TEST(PlatePicture, AClickLeavesOtherGroupsAloneADragTakesThem)
{
    const PlateFormat w384 = BuiltInPlate(QStringLiteral("w384"));
    ProjectSetup p;
    for (int ch = 0; ch < kChannelTable; ++ch)
        p.ChannelGroup[ch] = -1;
    p.ChannelGroup[0] = 2;
    p.ChannelGroup[1] = 2;

    WellDrag drag;
    drag.Press(p, w384, {0, 0}, 5, true);
    EXPECT_TRUE(drag.Active());
    EXPECT_FALSE(drag.Release(p, w384, {0, 0}));
    EXPECT_EQ(p.ChannelGroup[0], 2);

    // Dragged from the lower right to the upper left: both corners count.
    drag.Press(p, w384, {1, 1}, 5, true);
    EXPECT_TRUE(drag.Move({0, 0}));
    EXPECT_FALSE(drag.Move({0, 0}));
    EXPECT_TRUE(drag.Dragged());
    EXPECT_TRUE(drag.Release(p, w384, {0, 0}));
    for (int ch : {0, 1, 16, 17})
        EXPECT_EQ(p.ChannelGroup[ch], 5) << ch;
    EXPECT_EQ(p.ChannelGroup[2], -1);
    EXPECT_FALSE(drag.Active());

    // Back over the start cell the drag is still a drag: one-cell rectangle.
    p.ChannelGroup[2] = 2;
    drag.Press(p, w384, {0, 2}, 7, true);
    drag.Move({1, 2});
    EXPECT_TRUE(drag.Release(p, w384, {0, 2}));
    EXPECT_EQ(p.ChannelGroup[2], 7);
    EXPECT_EQ(p.ChannelGroup[18], -1);

    // Right button frees on press and over the dragged rectangle.
    drag.Press(p, w384, {0, 0}, 5, false);
    EXPECT_EQ(p.ChannelGroup[0], -1);
    drag.Move({0, 2});
    drag.Release(p, w384, {0, 2});
    EXPECT_EQ(p.ChannelGroup[1], -1);
    EXPECT_EQ(p.ChannelGroup[2], -1);
}
