#include "core/storage/PlateDerivation.h"
#include "core/storage/PlateFiles.h"
#include "support/Files.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace bandora;
using bandora::test::ReadAll;

namespace {

PlateFormat ReadShipped(const QString& name)
{
    PlateFormat plate;
    const auto error = LoadPlateNoFallback(name, plate, QStringLiteral(BANDORA_DATA_DIR));
    EXPECT_FALSE(error.has_value()) << name.toStdString() << ": " << error.value_or(QString()).toStdString();
    return plate;
}

} // namespace

// The files in data/ are what bandora-plategen writes; a change to the
// derivation or to the files alone shows up here.
TEST(PlateDerivation, ShippedFilesAreTheirDerivationByteForByte)
{
    QTemporaryDir dir;
    WriteShippedPlateFiles(dir.path());
    const QStringList names = ShippedPlateNames();
    EXPECT_EQ(names, (QStringList{"w384", "w96f", "w96u", "w48", "w24", "w6", "w96flat"}));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray shipped = ReadAll(QDir(BANDORA_DATA_DIR).filePath(name + ".dat"));
        ASSERT_FALSE(shipped.isEmpty());
        EXPECT_EQ(shipped, PlateFileBytes(name, *ShippedPlate(name)));
        EXPECT_EQ(shipped, ReadAll(QDir(dir.path()).filePath(name + ".dat")));
        EXPECT_EQ(shipped.count("\r\n"), 4 + 384);
    }
    EXPECT_FALSE(ShippedPlate(QStringLiteral("w12")).has_value());
}

// Read back through the program's own reader, every plate has as many beams
// per well as the first line of its texts promises ("[1-3microbeams/well]"),
// every well of its grid has beams, and the beams of a well are numbered
// 0, 1, ... in channel order.
TEST(PlateDerivation, BeamsPerWellAgreeWithThePlateDescriptions)
{
    const QRegularExpression promise(QStringLiteral("\\[(\\d+)(?:-(\\d+))?microbeams?/well\\]"));
    for (const QString& name : ShippedPlateNames()) {
        SCOPED_TRACE(name.toStdString());
        const PlateFormat plate = ReadShipped(name);
        const QString description = KnownPlateTexts(name).value(0);
        EXPECT_TRUE(ReadAll(QDir(BANDORA_DATA_DIR).filePath(name + ".dat"))
                        .contains("\r\n\"" + description.toLatin1() + "\"\r\n"));
        const auto m = promise.match(description);
        ASSERT_TRUE(m.hasMatch()) << description.toStdString();
        const int fewest = m.captured(1).toInt();
        const int most = m.captured(2).isEmpty() ? fewest : m.captured(2).toInt();

        const int wells = plate.Rows * plate.Columns;
        EXPECT_EQ(plate.MaxWell, wells - 1);
        EXPECT_EQ(plate.MaxBeam, most - 1);
        QVector<int> beams(wells, 0);
        for (int ch = 0; ch < kChannels; ++ch) {
            const int w = plate.ChannelWell[ch];
            if (w < 0)
                continue;
            ASSERT_LT(w, wells);
            EXPECT_EQ(plate.ChannelBeam[ch], beams[w]) << "channel " << ch;
            EXPECT_EQ(plate.WellBeamChannel(w, beams[w]), ch);
            ++beams[w];
        }
        const auto [lo, hi] = std::minmax_element(beams.cbegin(), beams.cend());
        EXPECT_EQ(*lo, fewest);
        EXPECT_EQ(*hi, most);
    }
}

TEST(PlateDerivation, FootprintsGiveTheHandComputedMaps)
{
    // A 96-well plate sits on the 384 grid with each well over a 2 x 2 block
    // of beams, 2.25 mm from its centre in both directions.
    const PlateFormat flat = *ShippedPlate(QStringLiteral("w96flat"));
    const int wellChannels[][4] = {{0, 1, 16, 17}, {2, 3, 18, 19}, {32, 33, 48, 49}};
    const int wellsChecked[] = {0, 1, 8};
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(flat.WellBeamChannel(wellsChecked[i], b), wellChannels[i][b]);

    // 48-well A1 at (18.16, 10.08) mm, disc radius 3.715 mm: the beams of grid
    // columns 1 and 2 of grid row 0 lie 1.88 and 3.16 mm from its centre, the
    // one below grid column 1 lies 3.74 mm away, just outside.
    const PlateFormat w48 = *ShippedPlate(QStringLiteral("w48"));
    EXPECT_EQ(w48.ChannelWell[16], 0);
    EXPECT_EQ(w48.ChannelWell[32], 0);
    EXPECT_EQ(w48.ChannelWell[17], -1);
    EXPECT_EQ(w48.ChannelBeam[32], 1);

    // Every derived plate keeps its beams clear of the disc edges, so the map
    // does not hang on the last digit of a footprint number.
    for (const char* name : {"w48", "w24", "w6", "w96flat"}) {
        const auto fp = ShippedFootprint(name);
        ASSERT_TRUE(fp.has_value()) << name;
        EXPECT_GT(NearestBeamToAnEdgeMm(*fp), 0.02) << name;
        EXPECT_LT(fp->BottomDiameterMm, fp->PitchMm) << name;
    }
}
