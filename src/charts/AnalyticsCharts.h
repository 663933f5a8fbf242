#pragma once

// The pictures of the analytics, painted with QPainter on whatever device
// the caller holds: the analytics view's images, PNG, SVG and PDF files.
//
//   curves       mean activity per bin of each group, a band of +- SEM, dark shaded
//   actogram     double-plotted: row d shows day d and day d + 1, bars scaled to
//                the largest bin, dark shaded
//   periodogram  power over the periods with the threshold dashed and the peak marked

#include "core/analytics/Analytics.h"

#include <QColor>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace bandora::charts {

// The colour of group g on every picture.
QColor GroupColour(int group);

// groups: the groups to draw (all when empty).
void DrawCurves(QPainter& p, const QRectF& area, const MinuteSeries& series, const AnalyticsResult& result,
                const std::vector<int>& groups = {});
void DrawActogram(QPainter& p, const QRectF& area, const Actogram& actogram);
void DrawPeriodogram(QPainter& p, const QRectF& area, const std::vector<double>& periods,
                     const SubjectPeriodograms& subject, PeriodMethod method);

using Painting = std::function<void(QPainter&, const QRectF&)>;

// Files of one picture; each returns an empty text or why it failed.
QString SavePng(const QString& path, QSize size, const Painting& paint);
QString SaveSvg(const QString& path, QSize size, const QString& title, const Painting& paint);

// The lab-book summary: the settings, the curves, the group actograms, the
// group periodograms and the well status table with every exclusion.
QString SaveSummaryPdf(const QString& path, const MinuteSeries& series, const AnalyticsResult& result);

} // namespace bandora::charts
