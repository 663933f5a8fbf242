#include "SerialInstrumentSteps.h"

#include "core/AppState.h"
#include "core/link/FindInstrument.h"
#include "core/link/InstrumentLink.h"
#include "core/tools/FactoryRecord.h"
#include "sim/VirtualInstrument.h"

#include <cstdio>

namespace bandora {

SerialInstrumentSteps::SerialInstrumentSteps(AppState& state, bool simulate)
    : link_(std::make_unique<InstrumentLink>(state.project.appDir, state.services.clock, &state.services.events)),
      simulate_(simulate)
{
    state.instrument.link = link_.get();
}

SerialInstrumentSteps::~SerialInstrumentSteps()
{
    link_->ClosePort();
    simulated_.reset(); // stops the virtual instrument and removes its port link
}

void SerialInstrumentSteps::StartSimulation(AppState& state)
{
    // A virtual instrument at real speed: replies paced at the line speed,
    // organisms moving in real time in the wells of the project's plate, its
    // factory record kept in the application folder.
    sim::SimOptions options;
    options.memoryFile = sim::DefaultMemoryFile(state.project.appDir);
    options.model.doorCycle = doorCycle_;
    auto instrument = std::make_unique<sim::VirtualInstrument>(options, state.project.plate);
    QString problem;
    if (!instrument->Start(&problem)
        || !instrument->LinkPort(state.project.appDir, state.project.config.Serial_COM, &problem)) {
        std::fprintf(stderr, "bandora: --simulate: %s; looking for a real instrument\n", qPrintable(problem));
        return;
    }
    if (!problem.isEmpty())
        std::fprintf(stderr, "bandora: --simulate: %s\n", qPrintable(problem));
    std::fprintf(stderr, "bandora: virtual instrument on %s as COM%d\n", qPrintable(instrument->DevicePath()),
                 int(state.project.config.Serial_COM));
    simulated_ = std::move(instrument);
}

void SerialInstrumentSteps::FindInstrument(AppState& state, const std::function<void(const QString&)>& splashText)
{
    if (simulate_ && !simulated_)
        StartSimulation(state);
    bandora::FindInstrument(state.project, state.instrument, state.services, *link_, splashText);
}

void SerialInstrumentSteps::ReadFactoryCalibration(AppState& state)
{
    bandora::ReadFactoryCalibration(state.instrument, state.services.events, *link_);
}

void SerialInstrumentSteps::ClosePort(AppState&) { link_->ClosePort(); }

} // namespace bandora
