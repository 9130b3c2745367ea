#include "statistics/statistics_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

namespace statistics {

namespace {

double chartValue(const Tally& t, Measure m) {
    const std::int64_t v = measureOf(t, m);
    return m == Measure::Value || m == Measure::Cost ? double(v) / 100.0 : double(v);
}

QChart* themed(QChart* chart, const QString& title, const ChartLook& look) {
    chart->setTitle(title);
    chart->setBackgroundBrush(look.background);
    QFont titleFont = look.font;
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(look.text);
    chart->legend()->setFont(look.font);
    chart->legend()->setLabelColor(look.text);
    chart->setAnimationOptions(QChart::NoAnimation);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(look.font);
        axis->setLabelsColor(look.text);
        axis->setTitleFont(look.font);
        axis->setTitleBrush(look.text);
    }
    return chart;
}

}  // namespace

QString measureCaption(Measure m) {
    switch (m) {
        case Measure::Stamps: return QStringLiteral("Stamps");
        case Measure::Copies: return QStringLiteral("Copies");
        case Measure::Value: return QStringLiteral("Market Value");
        case Measure::Cost: return QStringLiteral("Purchase Price");
    }
    return {};
}

QChart* breakdownChart(const std::vector<GroupTally>& slices, Measure measure, ChartKind kind,
                       const QString& title, const ChartLook& look) {
    auto* chart = new QChart;
    if (kind == ChartKind::Pie) {
        auto* series = new QPieSeries(chart);
        for (const GroupTally& g : slices) {
            QPieSlice* slice = series->append(QString::fromStdString(g.name),
                                              chartValue(g.tally, measure));
            slice->setLabelFont(look.font);
            slice->setLabelColor(look.text);
        }
        chart->addSeries(series);
        chart->legend()->setAlignment(Qt::AlignRight);
        return themed(chart, title, look);
    }
    auto* set = new QBarSet(measureCaption(measure));
    QStringList categories;
    for (const GroupTally& g : slices) {
        *set << chartValue(g.tally, measure);
        categories << QString::fromStdString(g.name);
    }
    auto* series = new QBarSeries(chart);
    series->append(set);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis(chart);
    x->append(categories);
    x->setLabelsAngle(-60);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis(chart);
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    y->applyNiceNumbers();
    chart->legend()->setVisible(false);
    return themed(chart, title, look);
}

QChart* purchasesChart(const Purchases& purchases, const ChartLook& look) {
    auto* chart = new QChart;
    auto* cost = new QLineSeries(chart);
    cost->setName(QStringLiteral("Purchase Price"));
    auto* value = new QLineSeries(chart);
    value->setName(QStringLiteral("Market Value"));
    double highest = 0;
    for (const PurchasePoint& p : purchases.points) {
        const QDate date(p.date / 10000, p.date / 100 % 100, p.date % 100);
        if (!date.isValid()) continue;
        const qreal at = qreal(QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch());
        cost->append(at, double(p.costCents) / 100.0);
        value->append(at, double(p.valueCents) / 100.0);
        highest = std::max({highest, double(p.costCents) / 100.0, double(p.valueCents) / 100.0});
    }
    chart->addSeries(cost);
    chart->addSeries(value);
    auto* x = new QDateTimeAxis(chart);
    x->setFormat(QStringLiteral("yyyy"));
    x->setTitleText(QStringLiteral("Purchase Date"));
    chart->addAxis(x, Qt::AlignBottom);
    auto* y = new QValueAxis(chart);
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(0, highest > 0 ? highest : 1);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* s : {cost, value}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    y->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignBottom);
    return themed(chart, QStringLiteral("Accumulated by Purchase Date"), look);
}

}  // namespace statistics
