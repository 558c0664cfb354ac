#pragma once

#include "editors/SenderCurves.h"

#include <QDialog>

#include <memory>

class QChart;
class QLineSeries;
class QValueAxis;

namespace Ui {
class frmChart;
}

namespace orvane {

// X-Y chart of one sender curve: resistance against reading, in the units
// the curve is stored in. Created once, then shown and hidden.
class frmChart : public QDialog
{
    Q_OBJECT
public:
    explicit frmChart(QWidget *parent = nullptr);
    ~frmChart() override;

    // Loads the 32 points; a point with a value no axis can hold (infinite
    // or not a number) is left out rather than breaking the scale.
    void showCurve(const CurveChartTable &table, const QString &title, const QString &readingTitle);

    const QLineSeries &series() const { return *m_series; }
    const QValueAxis &resistanceAxis() const { return *m_xAxis; }
    const QValueAxis &readingAxis() const { return *m_yAxis; }

private:
    std::unique_ptr<Ui::frmChart> m_ui;
    QChart *m_chart = nullptr;
    QLineSeries *m_series = nullptr;
    QValueAxis *m_xAxis = nullptr;
    QValueAxis *m_yAxis = nullptr;
};

} // namespace orvane
