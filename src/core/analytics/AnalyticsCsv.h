#pragma once

// The tables of bandora-analyze: UTF-8, comma-separated, a header line, one
// row per item, times in minutes since the start and in ZT hours.
//
//   groups.csv       group,bin_start_min,zt_h,light,n,mean,sd,sem
//   wells.csv        well,group,bin_start_min,zt_h,light,value
//   rest.csv         well,group,day,phase,rest_min,bouts,mean_bout_min,latency_min
//   bouts.csv        well,group,start_min,length_min
//   periodogram.csv  subject,method,period_h,power,threshold,p_value
//   periods.csv      subject,method,peak_period_h,power,threshold,p_value,significant
//   qc.csv           well,group,status,since_min,reason
//
// light is 1 (light), 0 (dark) or empty without a light schedule; bins
// without a recorded minute have no row. A periods.csv row without a
// significant peak says "none" (with the highest power found); a subject
// that could not be analysed gives its reason in place of the peak.

#include "Analytics.h"

#include <QString>
#include <QStringList>

namespace bandora {

struct CsvTables {
    QString Name;  // file name
    QByteArray Text;
};

std::vector<CsvTables> AnalyticsTables(const MinuteSeries& series, const AnalyticsResult& result);

// Writes the tables into the folder; the files written, or the reason none could be.
struct CsvWriteResult {
    QStringList Files;
    QString Error;
};
CsvWriteResult WriteAnalyticsTables(const QString& folder, const MinuteSeries& series,
                                    const AnalyticsResult& result);

} // namespace bandora
