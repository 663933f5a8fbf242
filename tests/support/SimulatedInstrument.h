#pragma once

// A virtual instrument on a pseudo-terminal, linked as ports/COMn of a fresh
// application folder, with a link of the program on that port. Header-only:
// programs that include it link the virtual instrument library.

#include "support/ScriptedOperator.h"
#include "support/TestClock.h"

#include "core/link/InstrumentLink.h"
#include "core/storage/PlateFiles.h"
#include "sim/VirtualInstrument.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace bandora::test {

// Fast, repeatable defaults for tests: no line pacing, a fixed model step.
inline sim::SimOptions FastSimOptions()
{
    sim::SimOptions o;
    o.pacing = false;
    o.stepMs = 30.0;
    return o;
}

class SimulatedInstrument {
public:
    explicit SimulatedInstrument(const sim::SimOptions& options = FastSimOptions(), int port = 4,
                                 const PlateFormat& plate = BuiltInPlate("w96f"))
        : sim(std::make_unique<sim::VirtualInstrument>(options, plate)),
          link(std::make_unique<InstrumentLink>(dir.path(), clock))
    {
        QString error;
        EXPECT_TRUE(sim->Start(&error) && sim->LinkPort(dir.path(), port, &error)) << error.toStdString();
        link->SetPortNumber(port);
    }

    bool Open() { return link->Open(); }
    QString AppDir() const { return dir.path(); }

    QTemporaryDir dir;
    TestClock clock;
    ScriptedOperator op;
    std::unique_ptr<sim::VirtualInstrument> sim;
    std::unique_ptr<InstrumentLink> link;
};

} // namespace bandora::test
