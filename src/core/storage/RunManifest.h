#pragma once

// run.json in an experiment folder: how a recorded run was made. It is
// written when the run starts and completed when it ends, so a folder whose
// manifest is still marked incomplete is a run that ended without its stop
// (a crash, a power cut). Nothing needs it: reports and analyses read the
// binary records and the project files, and older experiments have none.
//
//   format "bandora-run", formatVersion 1, complete (false until the end)
//   program.version, experiment {name, folder, project, projectName}
//   plate, groups [{number, name, wells ["A1", ...], columns {name: value}}]
//   detection {method, intervalTicks, blankTicks, binary, autoCalibrate,
//              autoZero, snr, thresholds [384]}
//   buffer {rtBufferTicks, sampleRate, lapseMinutes}
//   light {enabled, onHour, offHour, pulses, pulseOnTenths, pulseOffTenths}
//   temperature {enabled, setpointC}, port (COM number)
//   calibration {run, beamsSettled}          (beamsSettled absent when not run)
//   start {local, utc}, end {local, utc}     (end absent until complete)
//   stopReason, recordsWritten, tickRate (ticks per second of run time)
//   recordingFailures [{from, to, buffersLost, reason}] (times local)

#include "RunStopReason.h"

#include "ProjectSetup.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace bandora {


// "lapse end", "operator stop", ...: the text stored in run.json.
QString StopReasonText(RunStopReason reason);
std::optional<RunStopReason> StopReasonFromText(const QString& text);

// A spell of buffer cycles whose records could not be stored.
struct RecordingFailure {
    QDateTime From;
    QDateTime To;
    qint64 BuffersLost = 0;
    QString Reason;
};

// A well the live plate map flagged: no count since `Since`.
struct StillWell {
    QString Well; // "C7"
    QDateTime Since;
};

struct ManifestGroup {
    int Number = 0;
    QString Name;
    QStringList Wells;              // well labels in well order
    QMap<QString, QString> Columns; // extra layout columns (genotype, dose, ...)
};

struct RunManifest {
    QString ProgramVersion;
    QString ExperimentName;
    QString ExperimentFolder;
    int ProjectNumber = 0;
    QString ProjectName;
    QString Plate;
    std::vector<ManifestGroup> Groups;

    int DetectionMethod = 1;
    int DetectionIntervalTicks = 30;
    int BlankTicks = 300;
    bool BinaryAcquisition = true;
    bool AutoCalibrate = false;
    bool AutoZero = false;
    double Snr = 1.8;
    std::vector<double> Thresholds; // per channel 0..383

    int RtBufferTicks = 500;
    int SampleRate = 99;
    int LapseMinutes = 30;

    bool LightEnabled = false;
    int LightOnHour = 9;
    int LightOffHour = 21;
    int LightPulses = 0;
    int PulseOnTenths = 0;
    int PulseOffTenths = 0;
    bool TemperatureEnabled = false;
    double TemperatureSetpoint = 20.0;

    int Port = 0;
    bool CalibrationRun = false;
    std::optional<bool> BeamsSettled;

    QDateTime Start; // local time of the machine
    bool Complete = false;
    QDateTime End;
    std::optional<RunStopReason> StopReason;
    qint64 RecordsWritten = 0;
    double TickRate = 0.0;
    std::vector<RecordingFailure> Failures;
    std::vector<StillWell> StillWells; // flagged when the run stopped
};

QString RunManifestPath(const QString& experimentFolder);

// Writes run.json whole (a new file replaces the old one only once it is
// complete on disk). False with the reason when it cannot be written.
bool WriteRunManifest(const QString& experimentFolder, const RunManifest& manifest, QString* error = nullptr);

// What a reader finds in an experiment folder.
enum class ManifestState { Absent, Complete, Incomplete, Unreadable };

struct ManifestReading {
    ManifestState State = ManifestState::Absent;
    RunManifest Manifest; // filled when Complete or Incomplete
};

ManifestReading ReadRunManifest(const QString& experimentFolder);

// One line for the operator: how a complete run ended, or that the run did
// not end properly (or its manifest cannot be read); empty without one.
QString ManifestNotice(const ManifestReading& reading);
// The same for the report, which only speaks of a run that did not end
// properly or a manifest it cannot read.
QString ManifestWarning(const ManifestReading& reading);

} // namespace bandora
