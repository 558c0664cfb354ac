#include "editors/ui/frmChart.h"
#include "ui_frmChart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kMarkerSize = 5;

void setAxisRange(QValueAxis *axis, double low, double high)
{
    if (low > high) { // no point to show
        low = 0;
        high = 1;
    }
    if (low == high) {
        low -= 1;
        high += 1;
    }
    axis->setRange(low, high);
    axis->applyNiceNumbers();
}

} // namespace

frmChart::frmChart(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmChart>())
{
    m_ui->setupUi(this);
    m_chart = new QChart;
    m_series = new QLineSeries(m_chart);
    m_series->setPointsVisible(true);
    m_series->setMarkerSize(kMarkerSize);
    m_chart->addSeries(m_series);
    m_xAxis = new QValueAxis(m_chart);
    m_yAxis = new QValueAxis(m_chart);
    m_xAxis->setTitleText(tr("Resistance (ohms)"));
    m_xAxis->setLabelFormat(QStringLiteral("%g"));
    m_yAxis->setLabelFormat(QStringLiteral("%g"));
    m_chart->addAxis(m_xAxis, Qt::AlignBottom);
    m_chart->addAxis(m_yAxis, Qt::AlignLeft);
    m_series->attachAxis(m_xAxis);
    m_series->attachAxis(m_yAxis);
    // One curve needs no legend.
    m_chart->legend()->setVisible(false);
    m_ui->MSChart1->setChart(m_chart);
    m_ui->MSChart1->setRenderHint(QPainter::Antialiasing);
}

frmChart::~frmChart() = default;

void frmChart::showCurve(const CurveChartTable &table,
                         const QString &title,
                         const QString &readingTitle)
{
    QList<QPointF> points;
    double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = HUGE_VAL, yHigh = -HUGE_VAL;
    for (const auto &[ohms, reading] : table) {
        if (!std::isfinite(ohms) || !std::isfinite(reading))
            continue;
        points.append(QPointF(ohms, reading));
        xLow = std::min(xLow, double(ohms));
        xHigh = std::max(xHigh, double(ohms));
        yLow = std::min(yLow, double(reading));
        yHigh = std::max(yHigh, double(reading));
    }
    // Points are joined in their stored order, unsorted, so a misplaced point shows.
    m_series->replace(points);
    setAxisRange(m_xAxis, xLow, xHigh);
    setAxisRange(m_yAxis, yLow, yHigh);
    m_yAxis->setTitleText(readingTitle);
    m_chart->setTitle(title);
}

} // namespace orvane
