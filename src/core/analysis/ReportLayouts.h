#pragma once

// The text of a report in its three layouts. Every line ends in CR LF and
// the text is in the workstation's 8-bit code page, as the other text files
// of an experiment; fields are joined by the separator of the options, so one
// writer makes the spreadsheet file and the blank-separated text file.
//
//   every layout   "DATE:" sp "<date>" / "FILE:" sp "<folder>" / empty line
//   Rows, List     the group sections (mean; standard error, standard
//                  deviation and wells per group when chosen), the samples
//                  and temperature per bin, the wells, the channels
//   Array          ARRAY OUTPUT FORMAT, then per bin the 16 x 24 grid of the
//                  channel totals, numbered down the columns ("-" for a
//                  channel in no well), whatever the plate
//
// Only the bins 1..n that hold records are written, in every section.

#include "ReportBinning.h"
#include "ReportOptions.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace bandora {

struct ReportHead {
    QString Date;   // when the report was made
    QString Folder; // the experiment folder as the operator named it
};

enum class WriteOutcome { Written, Stopped, Failed };

// Writes the report into out. keepGoing is asked between groups, wells and
// channels; when it answers false the writing stops (Stopped).
WriteOutcome WriteReportText(QIODevice& out, const ReportTables& tables, const ExperimentSettings& settings,
                             const ReportOptions& options, const ReportHead& head,
                             const std::function<bool()>& keepGoing = {});

// The whole text, for callers that keep it in memory.
QByteArray ReportText(const ReportTables& tables, const ExperimentSettings& settings, const ReportOptions& options,
                      const ReportHead& head);

} // namespace bandora
