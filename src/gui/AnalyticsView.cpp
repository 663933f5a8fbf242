#include "AnalyticsView.h"

#include "ChartView.h"
#include "WidgetHelpers.h"
#include "core/common/Operator.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace bandora {

namespace {

// The subject list holds the groups first (data -1 - group), then the wells.
int GroupOfItem(int data) { return data < 0 ? -1 - data : -1; }

QSpinBox* Spin(const char* name, int lo, int hi, int value, QWidget* parent)
{
    auto* s = Named(new QSpinBox(parent), name);
    s->setRange(lo, hi);
    s->setValue(value);
    return s;
}

QDoubleSpinBox* DoubleSpin(const char* name, double lo, double hi, double value, int decimals, double step, QWidget* parent)
{
    auto* s = Named(new QDoubleSpinBox(parent), name);
    s->setDecimals(decimals);
    s->setRange(lo, hi);
    s->setSingleStep(step);
    s->setValue(value);
    return s;
}

QTableWidget* Table(const char* name, const QStringList& headers, QWidget* parent)
{
    auto* t = Named(new QTableWidget(0, int(headers.size()), parent), name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void SetRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

} // namespace

AnalyticsView::AnalyticsView(QString appDir, Operator& op, QWidget* parent)
    : QWidget(parent, Qt::Window), appDir_(std::move(appDir)), op_(op)
{
    setObjectName(QStringLiteral("AnalyticsView"));
    BuildControls();
    resize(1280, 720);
}

void AnalyticsView::BuildControls()
{
    const AnalyticsOptions d;
    auto* column = new QVBoxLayout(this);
    auto* settings = new QHBoxLayout;
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    spnBin = Spin("spnBin", 1, 1440, d.BinMinutes, this);
    spnRest = Spin("spnRest", 1, 1440, d.RestMinutes, this);
    spnPeriodMin = DoubleSpin("spnPeriodMin", 1, 240, d.PeriodMinHours, 1, 1, this);
    spnPeriodMax = DoubleSpin("spnPeriodMax", 1, 240, d.PeriodMaxHours, 1, 1, this);
    spnPeriodStep = DoubleSpin("spnPeriodStep", 0.01, 24, d.PeriodStepHours, 2, 0.05, this);
    spnAlpha = DoubleSpin("spnAlpha", 0.0001, 0.5, d.Alpha, 4, 0.01, this);
    spnActogramPeriod = DoubleSpin("spnActogramPeriod", 1, 240, d.ActogramPeriodHours, 1, 0.5, this);
    chkExclude = new QCheckBox(QStringLiteral("Leave inactive and noisy wells out of groups"), this);
    chkExclude->setObjectName(QStringLiteral("chkExclude"));
    cmdApply = new QPushButton(QStringLiteral("Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    settings->addWidget(label(QStringLiteral("Bin (min):")));
    settings->addWidget(spnBin);
    settings->addWidget(label(QStringLiteral("Rest bout (min):")));
    settings->addWidget(spnRest);
    settings->addWidget(label(QStringLiteral("Periods (h):")));
    settings->addWidget(spnPeriodMin);
    settings->addWidget(label(QStringLiteral("to")));
    settings->addWidget(spnPeriodMax);
    settings->addWidget(label(QStringLiteral("step")));
    settings->addWidget(spnPeriodStep);
    settings->addWidget(label(QStringLiteral("alpha")));
    settings->addWidget(spnAlpha);
    settings->addWidget(label(QStringLiteral("Actogram period (h):")));
    settings->addWidget(spnActogramPeriod);
    settings->addStretch(1);
    column->addLayout(settings);

    auto* second = new QHBoxLayout;
    cmbSubject = new QComboBox(this);
    cmbSubject->setObjectName(QStringLiteral("cmbSubject"));
    cmbSubject->setMinimumContentsLength(18);
    cmdExportPng = new QPushButton(QStringLiteral("Save picture as PNG..."), this);
    cmdExportPng->setObjectName(QStringLiteral("cmdExportPng"));
    cmdExportSvg = new QPushButton(QStringLiteral("Save picture as SVG..."), this);
    cmdExportSvg->setObjectName(QStringLiteral("cmdExportSvg"));
    second->addWidget(chkExclude);
    second->addWidget(cmdApply);
    second->addSpacing(20);
    second->addWidget(label(QStringLiteral("Group or well:")));
    second->addWidget(cmbSubject);
    second->addStretch(1);
    second->addWidget(cmdExportPng);
    second->addWidget(cmdExportSvg);
    column->addLayout(second);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    column->addWidget(lblSummary);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabsAnalytics"));
    chartCurves = new ChartView(tabs);
    chartCurves->setObjectName(QStringLiteral("chartCurves"));
    chartActogram = new ChartView(tabs);
    chartActogram->setObjectName(QStringLiteral("chartActogram"));
    chartPeriodogram = new ChartView(tabs);
    chartPeriodogram->setObjectName(QStringLiteral("chartPeriodogram"));
    tblRest = Table("tblRest", {QStringLiteral("Well"), QStringLiteral("Day"), QStringLiteral("Phase"),
                                QStringLiteral("Rest (min)"), QStringLiteral("Bouts"), QStringLiteral("Mean bout (min)"),
                                QStringLiteral("Latency (min)")},
                    tabs);
    tblStatus = Table("tblStatus", {QStringLiteral("Well"), QStringLiteral("Group"), QStringLiteral("Status"),
                                    QStringLiteral("Since (min)"), QStringLiteral("Reason")},
                      tabs);
    tabs->addTab(chartCurves, QStringLiteral("Activity curves"));
    tabs->addTab(chartActogram, QStringLiteral("Actogram"));
    tabs->addTab(chartPeriodogram, QStringLiteral("Periodogram"));
    tabs->addTab(tblRest, QStringLiteral("Rest"));
    tabs->addTab(tblStatus, QStringLiteral("Well status"));
    column->addWidget(tabs, 1);

    connect(cmdApply, &QPushButton::clicked, this, &AnalyticsView::Apply);
    connect(cmbSubject, &QComboBox::currentIndexChanged, this, &AnalyticsView::SubjectChosen);
    connect(cmdExportPng, &QPushButton::clicked, this, [this] { ExportWithDialog(QStringLiteral("png")); });
    connect(cmdExportSvg, &QPushButton::clicked, this, [this] { ExportWithDialog(QStringLiteral("svg")); });
    connect(tabs, &QTabWidget::currentChanged, this, [this] {
        const bool picture = CurrentChart() != nullptr;
        cmdExportPng->setEnabled(picture);
        cmdExportSvg->setEnabled(picture);
    });
}

AnalyticsOptions AnalyticsView::OptionsShown() const
{
    AnalyticsOptions o;
    o.BinMinutes = spnBin->value();
    o.RestMinutes = spnRest->value();
    o.PeriodMinHours = spnPeriodMin->value();
    o.PeriodMaxHours = spnPeriodMax->value();
    o.PeriodStepHours = spnPeriodStep->value();
    o.Alpha = spnAlpha->value();
    o.ActogramPeriodHours = spnActogramPeriod->value();
    o.ExcludeInactive = chkExclude->isChecked();
    return o;
}

bool AnalyticsView::Open(const QString& folder)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SeriesLoad load = LoadMinuteSeries(folder, appDir_, op_);
    QApplication::restoreOverrideCursor();
    if (!load.Ok) {
        op_.inform(load.Error);
        return false;
    }
    // The pictures draw from the series and results they were given.
    for (ChartView* chart : {chartCurves, chartActogram, chartPeriodogram})
        chart->SetPainting({});
    series_ = std::move(load.Series);
    result_.reset();
    setWindowTitle(QStringLiteral("Analytics - %1").arg(QDir::toNativeSeparators(folder)));
    Apply();
    return result_.has_value();
}

void AnalyticsView::Apply()
{
    if (!series_)
        return;
    const AnalyticsOptions o = OptionsShown();
    if (const QString problem = o.Problem(); !problem.isEmpty()) {
        op_.inform(problem);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    result_ = RunAnalytics(*series_, o);
    QApplication::restoreOverrideCursor();
    const MinuteSeries& s = *series_;
    const AnalyticsResult& r = *result_;
    chartCurves->SetPainting([&s, &r](QPainter& p, const QRectF& a) { charts::DrawCurves(p, a, s, r); });
    FillStatus();
    ShowSummary();
    FillSubjects();
}

void AnalyticsView::FillSubjects()
{
    const MinuteSeries& s = *series_;
    const int previous = cmbSubject->currentIndex() >= 0 ? cmbSubject->currentData().toInt() : -1;
    {
        const QSignalBlocker block(cmbSubject);
        cmbSubject->clear();
        for (int g = 0; g < s.Groups(); ++g)
            if (!result_->GroupWells[size_t(g)].empty())
                cmbSubject->addItem(QStringLiteral("Group %1").arg(s.GroupLabel(g)), -1 - g);
        for (int w = 0; w < s.Wells(); ++w)
            if (s.WellInfo[size_t(w)].HasBeam)
                cmbSubject->addItem(QStringLiteral("Well %1").arg(s.WellInfo[size_t(w)].Label), w);
        const int at = cmbSubject->findData(previous);
        cmbSubject->setCurrentIndex(at >= 0 ? at : 0);
    }
    SubjectChosen();
}

void AnalyticsView::SubjectChosen()
{
    if (!series_ || !result_ || cmbSubject->currentIndex() < 0)
        return;
    const MinuteSeries& s = *series_;
    const AnalyticsResult& r = *result_;
    const int data = cmbSubject->currentData().toInt();
    const int group = GroupOfItem(data);
    const SubjectPeriodograms* sp = nullptr;
    std::vector<int> wells;
    if (group >= 0) {
        actogram_ = GroupActogram(s, r, group);
        sp = &r.GroupPeriodograms[size_t(group)];
        wells = r.GroupWells[size_t(group)];
    } else {
        actogram_ = WellActogram(s, r.Options, data);
        sp = &r.WellPeriodograms[size_t(data)];
        wells = {data};
    }
    const Actogram* a = &*actogram_;
    chartActogram->SetPainting([a](QPainter& p, const QRectF& area) { charts::DrawActogram(p, area, *a); });
    chartPeriodogram->SetPainting([&r, sp](QPainter& p, const QRectF& area) {
        const QRectF left(area.left(), area.top(), area.width() / 2, area.height());
        const QRectF right(area.center().x(), area.top(), area.width() / 2, area.height());
        charts::DrawPeriodogram(p, left, r.Periods, *sp, PeriodMethod::ChiSquare);
        charts::DrawPeriodogram(p, right, r.Periods, *sp, PeriodMethod::LombScargle);
    });
    FillRest(wells);
}

void AnalyticsView::FillRest(const std::vector<int>& wells)
{
    const MinuteSeries& s = *series_;
    int rows = 0;
    for (int w : wells)
        rows += int(result_->Rest[size_t(w)].Phases.size());
    tblRest->setRowCount(rows);
    int row = 0;
    for (int w : wells)
        for (const RestPhase& ph : result_->Rest[size_t(w)].Phases)
            SetRow(tblRest, row++,
                   {s.WellInfo[size_t(w)].Label, QString::number(ph.Day), PhaseName(ph.Phase),
                    QString::number(ph.RestMinutes), QString::number(ph.Bouts),
                    QString::number(ph.MeanBoutMinutes(), 'f', 1),
                    ph.LatencyMinutes >= 0 ? QString::number(ph.LatencyMinutes) : QStringLiteral("-")});
    tblRest->resizeColumnsToContents();
}

void AnalyticsView::FillStatus()
{
    const MinuteSeries& s = *series_;
    tblStatus->setRowCount(s.Wells());
    for (int w = 0; w < s.Wells(); ++w) {
        const WellStatus& st = result_->Status[size_t(w)];
        SetRow(tblStatus, w,
               {s.WellInfo[size_t(w)].Label, s.GroupLabel(s.WellInfo[size_t(w)].Group), WellStateName(st.State),
                st.SinceMinute >= 0 ? QString::number(st.SinceMinute) : QString(), st.Reason});
    }
    tblStatus->resizeColumnsToContents();
}

void AnalyticsView::ShowSummary()
{
    const MinuteSeries& s = *series_;
    const AnalyticsResult& r = *result_;
    QString text = QStringLiteral("%1 records, resolution %2 min, %3 h recorded. ")
                       .arg(s.Records)
                       .arg(s.Resolution)
                       .arg(double(s.Samples * s.Resolution) / 60.0, 0, 'f', 1);
    text += s.Light.On ? QStringLiteral("Light %1:00-%2:00, ZT0 %3 min before the start. ")
                             .arg(s.Light.OnHour)
                             .arg(s.Light.OffHour)
                             .arg(s.StartZtMinutes)
                       : QStringLiteral("No light schedule: ZT0 is the start. ");
    int inactive = 0, noisy = 0;
    for (const WellStatus& st : r.Status) {
        inactive += st.State == WellState::Inactive;
        noisy += st.State == WellState::Noisy;
    }
    text += QStringLiteral("%1 inactive and %2 noisy wells").arg(inactive).arg(noisy);
    if (r.Excluded.empty()) {
        text += r.Options.ExcludeInactive ? QStringLiteral("; none left out.") : QStringLiteral(", kept in the groups.");
    } else {
        QStringList left;
        for (const GroupExclusion& e : r.Excluded)
            left << s.WellInfo[size_t(e.Well)].Label;
        text += QStringLiteral("; left out of the groups: %1.").arg(left.join(QStringLiteral(", ")));
    }
    lblSummary->setText(text);
}

ChartView* AnalyticsView::CurrentChart() const { return qobject_cast<ChartView*>(tabs->currentWidget()); }

QString AnalyticsView::ExportPicture(const QString& path)
{
    ChartView* chart = CurrentChart();
    if (!chart || !chart->painting())
        return QStringLiteral("This tab holds no picture");
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return charts::SaveSvg(path, chart->size(), tabs->tabText(tabs->currentIndex()), chart->painting());
    return charts::SavePng(path, chart->size(), chart->painting());
}

void AnalyticsView::ExportWithDialog(const QString& suffix)
{
    const QString name = QStringLiteral("%1_%2.%3")
                             .arg(series_ ? QFileInfo(series_->Folder).fileName() : QStringLiteral("analytics"),
                                  tabs->tabText(tabs->currentIndex()).toLower().replace(QLatin1Char(' '), QLatin1Char('_')),
                                  suffix);
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save picture"),
                                                      QDir(QDir::homePath()).filePath(name),
                                                      suffix.toUpper() + QStringLiteral(" (*.") + suffix + QLatin1Char(')'));
    if (path.isEmpty())
        return;
    if (const QString error = ExportPicture(path); !error.isEmpty())
        op_.inform(QStringLiteral("The picture was not saved: %1").arg(error));
}

} // namespace bandora
