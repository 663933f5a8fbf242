#include "support/SimulatedInstrument.h"

#include "core/AppState.h"
#include "core/tools/FactoryCalibration.h"
#include "core/tools/FactoryRecord.h"

#include <gtest/gtest.h>

namespace bandora::test {
namespace {

TEST(FactoryCalibration, TheRecordCarriesOffsetSlopeAndDate)
{
    EXPECT_EQ(MakeFactoryRecord(25.0 - 100 * 0.219, 0.219, 3, 26), (FactoryRecordValues{0, 3, 26, 0, 31, 219, 0}));
    EXPECT_EQ(MakeFactoryRecord(-2.5, 0.219, 12, 5), (FactoryRecordValues{0, 12, 5, 1, 25, 219, 0}));
    // A slope above 0.255 spills into the high byte: 0.45 = 450 = 1 x 256 + 194.
    EXPECT_EQ(MakeFactoryRecord(0.25, 0.45, 1, 0), (FactoryRecordValues{0, 1, 0, 0, 2, 194, 1})) << "2.5 tenths to even";
}

struct FactoryRig {
    explicit FactoryRig(double ambient = 22.4)
        : rig([&] {
              sim::SimOptions o = FastSimOptions();
              // The virtual instrument's own record (offset 0.5, slope
              // 0.219) turns this room into a raw reading of 100.
              o.model.ambient = ambient;
              return o;
          }())
    {
        EXPECT_TRUE(rig.Open());
        app.instrument.link = rig.link.get();
        rig.clock.set(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
    }
    SimulatedInstrument rig;
    TestEventPump events;
    AppState app{rig.AppDir(), rig.op, rig.clock, events};
    FactoryCalibration window{app.services, app.instrument, app.run};
};

TEST(FactoryCalibration, ACalibrationWritesTheRecordThatTheNextStartReads)
{
    FactoryRig f;
    f.app.instrument.factory = FactoryCal{true, 1, 25, 0, 0.0, 0.219};
    EXPECT_EQ(f.window.Load(), "OK Last Factory Calibration 01/25 [mm/yy]");
    EXPECT_EQ(f.window.PollTemperature(), "21.9");
    EXPECT_EQ(f.window.LastRaw(), 100);

    EXPECT_EQ(f.window.Calibrate("25.0"), "OK Last Factory Calibration 03/26 [mm/yy]");
    EXPECT_TRUE(f.rig.op.texts().isEmpty()) << f.rig.op.texts().join('|').toStdString();
    EXPECT_NEAR(f.app.instrument.factory.Offset, 3.1, 1e-9);
    EXPECT_EQ(f.rig.sim->Memory()[4], 31) << "the offset reached the instrument";
}

TEST(FactoryCalibration, AnInvalidRecordAtStartStaysUncalibratedUntilTheNextStart)
{
    FactoryRig f;
    f.app.instrument.factory = FactoryCal{false, 0, 0, 0, 4.0, 0.3};
    EXPECT_EQ(f.window.Load(), "NON Calibrated");
    EXPECT_DOUBLE_EQ(f.app.instrument.factory.Offset, 0.0);
    EXPECT_DOUBLE_EQ(f.app.instrument.factory.Slope, 0.219);
    EXPECT_EQ(f.window.Calibrate("25.0"), "OK Last Factory Calibration 03/26 [mm/yy]");
    EXPECT_FALSE(f.app.instrument.factory.Valid) << "only the start-up read decides validity";
    EXPECT_EQ(f.window.Load(), "NON Calibrated");
    EXPECT_DOUBLE_EQ(f.app.instrument.factory.Offset, 0.0);
}

TEST(FactoryCalibration, ReferencesOutsideFourToFiftyAreRefusedWithoutAWrite)
{
    for (const char* bad : {"3.9", "50.1", "abc", ""}) {
        FactoryRig f;
        const auto before = f.rig.sim->Memory();
        EXPECT_TRUE(f.window.Calibrate(bad).isEmpty()) << bad;
        EXPECT_EQ(f.rig.op.texts(),
                  QStringList{"invalid Calibration Parameter: value must be between 4°C and 50°C"});
        EXPECT_EQ(f.rig.sim->Memory(), before);
    }
    // The limits themselves are taken (with the room near them, so the new
    // offset stays one the next start accepts).
    const std::pair<double, const char*> limits[] = {{4.5, "4.0"}, {50.3, "50.0"}};
    for (const auto& [room, reference] : limits) {
        FactoryRig f(room);
        EXPECT_EQ(f.window.Calibrate(reference), "OK Last Factory Calibration 03/26 [mm/yy]") << reference;
        EXPECT_TRUE(f.rig.op.texts().isEmpty()) << f.rig.op.texts().join('|').toStdString();
    }
}

TEST(FactoryCalibration, ARecordThatDoesNotCheckOutIsPutBackOrTheMemoryIsSpelledOut)
{
    // A cell that echoes the write but keeps its byte: the record read back
    // is not the one written, so the previous one goes back, checked.
    FactoryRig stuck;
    stuck.app.instrument.factory = FactoryCal{true, 1, 25, 0, 0.5, 0.219};
    stuck.rig.sim->SetStuckMemory(0x84);
    EXPECT_EQ(stuck.window.Calibrate("25.0"), "NON Calibrated");
    EXPECT_EQ(stuck.rig.op.texts(),
              QStringList{"The factory record read back from the instrument is not the one written.\r\n"
                          "The previous record was written back and checked: the instrument keeps its last "
                          "calibration."});
    EXPECT_EQ(stuck.rig.sim->Memory(), sim::FactoryMemory::kDefault);
    EXPECT_DOUBLE_EQ(stuck.app.instrument.factory.Offset, 0.5);
}

TEST(FactoryCalibration, AFailedWriteLeavesTheCalibrationInMemoryAlone)
{
    FactoryRig f;
    f.app.instrument.factory = FactoryCal{true, 1, 25, 0, 0.5, 0.219};
    sim::FaultOptions unplug;
    unplug.silenceAfter = 1 + 16 + 9 * 3; // the reading, the record as it was and three addresses
    f.rig.sim->SetFaults(unplug);
    EXPECT_EQ(f.window.Calibrate("25.0"), "NON Calibrated");
    // The previous record cannot go back either: the message says what the
    // memory holds, as far as the echoes tell.
    EXPECT_EQ(f.rig.op.texts(),
              QStringList{"Ops...Data Writing ERROR: reg(131)... Check COM and Try again\r\n"
                          "The previous record could not be written back: the instrument's memory (0x80 to 0x86) "
                          "now holds ?? 03 1A ?? 05 DB 00 (?? not known)."});
    EXPECT_DOUBLE_EQ(f.app.instrument.factory.Offset, 0.5);
    EXPECT_EQ(f.app.instrument.factory.Month, 1);
    const auto memory = f.rig.sim->Memory();
    EXPECT_EQ(memory[1], 3) << "the addresses before the failure keep their new values";
    EXPECT_EQ(memory[2], 26);

    // A reading that fails writes nothing: its offset would be made up.
    f.rig.op.clear();
    EXPECT_TRUE(f.window.Calibrate("25.0").isEmpty());
    EXPECT_EQ(f.rig.op.texts(), QStringList{"COM Error"});
}

} // namespace
} // namespace bandora::test
