#pragma once

// A recorded experiment made without an instrument, for demonstrations,
// screenshots and benchmarks of the offline window and the reports: the
// experiment folder with its copy of the project files and subproj.dat, and
// the activity and real-time files written by the same recorder a run uses.
//
// Every beam holds a steady level near full light with receiver noise; the
// organism of a well interrupts its beams now and then, more often in some
// groups than in others and in waves of a few hours, so the activity plots
// have something to show. The counts of a record are the interruptions that
// really happened in its buffer cycle.

#include "core/storage/BinaryRecordFile.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QString>

#include <vector>

namespace bandora {

struct DemoRecording {
    QString ProjectFolder;          // must exist
    QString FolderName;             // ddmmyyyy_hhmm
    QString Name = QStringLiteral("demo");
    QString Description;
    int BufferCycles = 60;          // records of each file
    double SecondsPerCycle = 15.0;  // how long one buffer cycle of 500 ticks took
    bool SaveReal = true;           // write real-time files too
    unsigned Seed = 1;
    // Larvae are active by day: with the project's light schedule on, the
    // organisms move about a seventh as much while the light is off (the
    // clock time counts from the start the folder name spells).
    bool DayNight = false;
    // This many wells, spread over the plate, stop moving on the second day
    // (the first at 24 h + 3 h, the next three hours later, and so on).
    int StoppingWells = 0;
};

// The wells that stop moving in a demonstration with `count` of them, and
// the minute each stops.
struct StoppingWell {
    int Well;
    double Minute;
};
std::vector<StoppingWell> DemoStoppingWells(int count, int wells);

// Writes the experiment. Fails (with the reason) when a file cannot be written.
AppendResult RecordDemoExperiment(const DemoRecording& demo, const ProjectSetup& project, const PlateFormat& plate);

} // namespace bandora
