#include "summary_text.h"

#include "statement/statement_layout.h"

#include <QFileInfo>
#include <QLocale>

namespace summary_text {
namespace {

QString amount(qint64 cents, Amounts amounts)
{
    return amounts == Amounts::Currency ? money::currency(cents) : money::decimal(cents);
}

} // namespace

QStringList header()
{
    return {QStringLiteral("Station"),         QStringLiteral("Month"),
            QStringLiteral("File"),            QStringLiteral("Balance carried forward"),
            QStringLiteral("Income total"),    QStringLiteral("Expense total"),
            QStringLiteral("End-of-month balance"), QStringLiteral("What is wrong")};
}

QString stationOf(int station) { return station ? stationName(station) : QString(); }

QString monthOf(int month)
{
    return month ? QLocale().standaloneMonthName(month, QLocale::LongFormat) : QString();
}

QStringList row(const SummaryRow& r, Amounts amounts)
{
    QStringList cells{stationOf(r.station), monthOf(r.month), QFileInfo(r.file).fileName()};
    if (r.totals)
        cells << amount(r.carried, amounts) << amount(r.totals->income, amounts)
              << amount(r.totals->expenses, amounts) << amount(r.totals->balance, amounts);
    else
        cells << QString() << QString() << QString() << QString();
    QStringList wrong;
    for (const SummaryProblem& p : r.problems)
        wrong << problem(p);
    return cells << wrong.join(QStringLiteral("; "));
}

QStringList totals(const Summary& summary, Amounts amounts)
{
    const auto counted = std::count_if(summary.rows.begin(), summary.rows.end(),
                                       [](const SummaryRow& r) { return r.counted(); });
    return {QStringLiteral("Total"),
            QString(),
            QStringLiteral("%1 of %2 statements add up").arg(counted).arg(summary.rows.size()),
            amount(summary.carried, amounts),
            amount(summary.totals.income, amounts),
            amount(summary.totals.expenses, amounts),
            amount(summary.totals.balance, amounts),
            QString()};
}

table_file::Table table(const Summary& summary, Amounts amounts)
{
    table_file::Table table{QStringLiteral("Summary of Statements"), header(), {},
                            totals(summary, amounts), {}};
    for (const SummaryRow& r : summary.rows)
        table.rows.push_back(row(r, amounts));
    for (int column = FirstAmount; column <= LastAmount; ++column)
        table.figures << column;
    return table;
}

QString problem(const SummaryProblem& p)
{
    using Kind = SummaryProblem::Kind;
    switch (p.kind) {
    case Kind::Refused:
        return QStringLiteral("refused: ") + p.text;
    case Kind::NoStation:
        return QStringLiteral("no station is picked");
    case Kind::NoMonth:
        return QStringLiteral("no month is picked");
    case Kind::Check:
        return QStringLiteral("\"%1\": %2").arg(describedControl(p.box), p.text);
    case Kind::Continuity:
        return QStringLiteral("the balance carried forward is %1 %2 than the end balance of %3")
            .arg(money::currency(p.cents < 0 ? -p.cents : p.cents),
                 p.cents < 0 ? QStringLiteral("less") : QStringLiteral("more"), monthOf(p.month));
    case Kind::Duplicate:
        return QStringLiteral("the same station and month as %1").arg(QFileInfo(p.text).fileName());
    }
    return {};
}

QStringList problemLines(const Summary& summary)
{
    QStringList lines;
    for (const SummaryRow& r : summary.rows)
        for (const SummaryProblem& p : r.problems)
            lines << r.file + QStringLiteral(": ") + problem(p);
    for (const auto& [station, month] : summary.missing)
        lines << monthOf(month) + QStringLiteral(": no statement from ") + stationName(station);
    return lines;
}

} // namespace summary_text
