#pragma once

// "Export to ASCII...": the raw signals of one well's beams over the page on
// show, as a text file another program can read (CR LF line ends):
//
//   "<project name>"
//   "<experiment folder>"
//   <empty line>
//   Well: B3 Page[1/2] [#0k-27.5k]
//   <empty line>
//   B3.0 B3.1                       one column per beam that has a channel
//   2011 1987                       a line per recorded tick: slot by slot,
//   ...                             ticks 0..499, every value followed by a blank
//
// The page spans 55 buffer cycles of 500 samples, so page p runs from sample
// 27.5k x (p-1) to 27.5k x p; a page of fewer real-time files has fewer lines.
//
// The same command in the Group Activity view writes the series it plots:
//
//   "<project name>"
//   "<experiment folder>"
//   <empty line>
//   Well: B3 Group: 001_control [events per 30 min]
//   <empty line>
//   Time[min] B3 001_control
//   30 12 10                        a line per recorded 30-minute bin: its end,
//   ...                             the well's events, its group's mean

#include "GroupActivity.h"
#include "OfflineExperiment.h"
#include "RealTimeStore.h"

#include <QByteArray>
#include <QString>

namespace bandora {

struct SignalExportRequest {
    QString ProjectName;
    QString ExperimentFolder;
    QString WellText;  // row letter and column number shown, "B3"
    QString PageText;  // the page box, "1/2"
    int Page = 1;
    QVector<WellBeam> Beams;
};

// The page's span in thousands of samples: "0k-27.5k" for page 1.
QString PageSpanText(int page);

// The whole text of the file.
QByteArray SignalExportText(const SignalExportRequest& request, const RealTimeStore& store);

// Writes the text to path (replacing the file). Throws RecordError when the
// file cannot be written whole.
void WriteSignalExport(const QString& path, const SignalExportRequest& request, const RealTimeStore& store);

struct ActivityExportRequest {
    QString ProjectName;
    QString ExperimentFolder;
    QString WellText;   // "B3"
    QString GroupEntry; // "001_control" or "999_Free"
};

QByteArray ActivityExportText(const ActivityExportRequest& request, const GroupActivity& activity);

// Writes the text to path (replacing the file). Throws RecordError.
void WriteActivityExport(const QString& path, const ActivityExportRequest& request, const GroupActivity& activity);

} // namespace bandora
