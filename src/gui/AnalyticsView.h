#pragma once

// The analytics view of the offline window: for one recorded experiment the
// group activity curves, the double-plotted actogram, the periodograms, the
// rest table and the well status table, with the settings of the analyses;
// each picture can be saved as PNG or SVG. The numbers are those of
// bandora-analyze (one engine in core/analytics).

#include "core/analytics/Analytics.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace bandora {

class ChartView;
class Operator;

class AnalyticsView : public QWidget {
    Q_OBJECT
public:
    AnalyticsView(QString appDir, Operator& op, QWidget* parent = nullptr);

    // Reads the experiment and runs the analyses with the settings shown;
    // false (with the reason told) when it has nothing to analyse.
    bool Open(const QString& folder);
    // Runs the analyses again with the settings shown (a wrong setting is
    // told and changes nothing).
    void Apply();
    // Shows the subject of the list (a group or a well) in every view.
    void SubjectChosen();
    // Saves the picture of the tab on show; empty, or why it failed.
    QString ExportPicture(const QString& path);

    const MinuteSeries* Series() const { return series_ ? &*series_ : nullptr; }
    const AnalyticsResult* Result() const { return result_ ? &*result_ : nullptr; }
    ChartView* CurrentChart() const;

    QSpinBox* spnBin = nullptr;
    QSpinBox* spnRest = nullptr;
    QDoubleSpinBox* spnPeriodMin = nullptr;
    QDoubleSpinBox* spnPeriodMax = nullptr;
    QDoubleSpinBox* spnPeriodStep = nullptr;
    QDoubleSpinBox* spnAlpha = nullptr;
    QDoubleSpinBox* spnActogramPeriod = nullptr;
    QCheckBox* chkExclude = nullptr;
    QPushButton* cmdApply = nullptr;
    QComboBox* cmbSubject = nullptr;
    QTabWidget* tabs = nullptr;
    ChartView* chartCurves = nullptr;
    ChartView* chartActogram = nullptr;
    ChartView* chartPeriodogram = nullptr;
    QTableWidget* tblRest = nullptr;
    QTableWidget* tblStatus = nullptr;
    QLabel* lblSummary = nullptr;
    QPushButton* cmdExportPng = nullptr;
    QPushButton* cmdExportSvg = nullptr;

private:
    void BuildControls();
    AnalyticsOptions OptionsShown() const;
    void FillSubjects();
    void FillStatus();
    void FillRest(const std::vector<int>& wells);
    void ShowSummary();
    void ExportWithDialog(const QString& suffix);

    QString appDir_;
    Operator& op_;
    std::optional<MinuteSeries> series_;
    std::optional<AnalyticsResult> result_;
    std::optional<Actogram> actogram_;
};

} // namespace bandora
