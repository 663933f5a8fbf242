#include "../core/analysis/ReportFixture.h"

#include "gui/AnalyticsView.h"
#include "gui/ChartView.h"
#include "support/ScriptedOperator.h"
#include "support/WidgetInput.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace bandora;
using namespace bandora::test;

TEST(AnalyticsView, ShowsTheSubjectsPicturesAndSavesThemAsPngAndSvg)
{
    ExperimentFixture f;
    f.SmallPlate();
    QByteArray counts;
    for (int m = 0; m < 240; ++m)
        counts += CountsBytes({{m, {{16, qint16(m % 4)}, {32, 1}}}});
    f.WriteCounts(counts);
    ScriptedOperator op;
    AnalyticsView view(f.appDir, op);
    view.resize(1200, 700);
    ASSERT_TRUE(view.Open(f.folder));
    // Groups with wells first, then every well with a beam.
    EXPECT_EQ(Items(view.cmbSubject), (QStringList{"Group 000_Control", "Group 002_Single", "Well A1", "Well B1", "Well A2",
                                     "Well B2", "Well A3"}));

    const QString png = f.file(QStringLiteral("../curves.png"));
    const QString svg = f.file(QStringLiteral("../actogram.svg"));
    view.tabs->setCurrentWidget(view.chartCurves);
    EXPECT_TRUE(view.ExportPicture(png).isEmpty());
    EXPECT_FALSE(QImage(png).isNull());
    view.tabs->setCurrentWidget(view.chartActogram);
    EXPECT_TRUE(view.ExportPicture(svg).isEmpty());
    EXPECT_TRUE(ReadAll(svg).contains("<svg"));
    view.tabs->setCurrentWidget(view.tblRest); // a table is no picture
    EXPECT_FALSE(view.ExportPicture(png).isEmpty());

    // A period range upside down is told and the analyses stay as they were.
    view.spnPeriodMin->setValue(30);
    view.spnPeriodMax->setValue(20);
    view.Apply();
    EXPECT_EQ(op.texts(), QStringList{QStringLiteral("The periods must run from at least 1 h up to at most 240 h")});
    EXPECT_DOUBLE_EQ(view.Result()->Options.PeriodMaxHours, 32.0);
}
