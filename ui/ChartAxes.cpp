#include "ui/ChartAxes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace lumbrel {

namespace {
constexpr qint64 kHour = 3600 * 1000LL;
constexpr qint64 kDay = 24 * kHour;
}  // namespace

QValueAxis* ValueAxis(double low, double high, const QString& title, const QString& format, bool nice) {
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    if (nice)
        axis->applyNiceNumbers();
    axis->setLabelFormat(format);
    axis->setTitleText(title);
    return axis;
}

void TickEvery(QValueAxis* axis, double step) {
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
}

int WholeStep(double span, int ticks) {
    for (int decade = 1;; decade *= 10)
        for (const int step : {decade, 2 * decade, 5 * decade})
            if (span <= static_cast<double>(step) * std::max(1, ticks) || step >= 1'000'000'000 / 5)
                return step;
}

QString DateFormat(qint64 firstMs, qint64 lastMs) {
    constexpr qint64 kMonths10 = 300 * kDay;
    return lastMs - firstMs > kMonths10 ? QCoreApplication::translate("lumbrel::ProgressWindow", "dd MMM yyyy") : QCoreApplication::translate("lumbrel::ProgressWindow", "dd MMM");
}

QDateTimeAxis* TimeAxis(qint64 first, qint64 last, const QString& title) {
    const qint64 margin = std::max((last - first) / 20, kHour / 2);
    first -= margin;
    last += margin;
    auto* x = new QDateTimeAxis;
    const qint64 span = last - first;
    if (span < 2 * kDay) {
        const bool oneDay =
            QDateTime::fromMSecsSinceEpoch(first).date() == QDateTime::fromMSecsSinceEpoch(last).date();
        x->setFormat(oneDay ? QStringLiteral("hh:mm") : QCoreApplication::translate("lumbrel::ProgressWindow", "dd MMM hh:mm"));
        x->setTickCount(5);
        x->setTitleText(oneDay
                            ? QCoreApplication::translate("lumbrel::ProgressWindow", "%1 (time of day, %2)")
                                  .arg(title, QLocale().toString(QDateTime::fromMSecsSinceEpoch(first).date(),
                                                                 QLocale::ShortFormat))
                            : title);
    } else {
        x->setFormat(DateFormat(first, last));
        x->setTickCount(static_cast<int>(std::clamp<qint64>(span / kDay + 1, 2, 7)));
        x->setTitleText(title);
    }
    x->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    return x;
}

QDateTimeAxis* DayAxis(qint64 first, qint64 last, const QString& title) {
    if (last - first < kDay) {
        first -= kDay;
        last += kDay;
    }
    auto* x = new QDateTimeAxis;
    x->setFormat(DateFormat(first, last));
    // One label a day at most, so that no date repeats.
    x->setTickCount(static_cast<int>(std::clamp<qint64>((last - first) / kDay + 1, 2, 7)));
    x->setTitleText(title);
    x->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    return x;
}

void Attach(QChart* chart, QAbstractSeries* series, std::initializer_list<QAbstractAxis*> axes) {
    chart->addSeries(series);
    for (QAbstractAxis* axis : axes)
        series->attachAxis(axis);
}

QChart* FreshChart(QChartView* view) {
    QChart* old = view->chart();
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    view->setChart(chart);
    delete old;
    return chart;
}

}  // namespace lumbrel
