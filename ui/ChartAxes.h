#pragma once
// The axes of the progress and drill charts, made one way: value axes with their
// range, labels and title, ticks at whole steps from 0 that keep a scale readable, and
// time axes whose labels never repeat a date. UI thread only.
#include <QString>

#include <initializer_list>

class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QChartView;
class QDateTimeAxis;
class QValueAxis;

namespace lumbrel {

// Over [low, high], labels in `format` ("%d", "%.1f"); nice: widened to round numbers.
QValueAxis* ValueAxis(double low, double high, const QString& title,
                      const QString& format = QStringLiteral("%d"), bool nice = false);
// A tick at every multiple of step, from 0.
void TickEvery(QValueAxis* axis, double step);
// The smallest of 1, 2, 5, 10, 20, 50, 100... that cuts span into at most `ticks` steps.
int WholeStep(double span, int ticks);

// Day and month; the year too once the history spans most of one.
QString DateFormat(qint64 firstMs, qint64 lastMs);
// From first to last (ms since the epoch) with room around the points. Within two days
// it shows the time of day, so that the sessions of one day stand apart; across more
// days, the dates, never one more than there are days, so that no date label repeats.
QDateTimeAxis* TimeAxis(qint64 first, qint64 last, const QString& title);
// Whole days from first to last, at least a day either side of a single one.
QDateTimeAxis* DayAxis(qint64 first, qint64 last, const QString& title);

// Adds the series to the chart, on axes already added to it.
void Attach(QChart* chart, QAbstractSeries* series, std::initializer_list<QAbstractAxis*> axes);
// Replaces the chart of a view, so that nothing of the last drawing remains.
QChart* FreshChart(QChartView* view);

}  // namespace lumbrel
