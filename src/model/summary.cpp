#include "summary.h"

#include "amounts.h"

#include <algorithm>
#include <array>

namespace {
using Kind = SummaryProblem::Kind;

// The row of one file: refused, or checked and totalled as Calculate would.
SummaryRow rowOf(const SummaryInput& input)
{
    SummaryRow row{input.file, 0, 0, 0, std::nullopt, {}};
    if (const auto* why = std::get_if<QString>(&input.read)) {
        row.problems.push_back({Kind::Refused, *why});
        return row;
    }
    Statement statement = std::get<statement_file::Saved>(input.read).statement;
    row.station = statement.station();
    row.month = statement.month();
    if (row.station == 0)
        row.problems.push_back({Kind::NoStation});
    if (row.month == 0)
        row.problems.push_back({Kind::NoMonth});
    if (const auto problem = statement.amountProblem())
        row.problems.push_back({Kind::Check, problem->prompt, problem->control});
    if (row.problems.empty()) {
        statement.calculate();
        row.totals = statement.totals();
        row.carried = amounts::counted(statement.amount(0));
    }
    return row;
}

// The months named, as one run: after the longest run of months none names.
std::vector<int> runOfMonths(const std::vector<SummaryRow>& rows)
{
    std::array<bool, Months + 1> named{};
    for (const SummaryRow& row : rows)
        named[row.month] = row.month != 0;
    int start = 1, longest = 0;
    for (int first = 1; first <= Months; ++first) {
        if (named[first] || !named[monthBefore(first)])
            continue; // a run of months none names is measured from its first
        int length = 0;
        while (length < Months && !named[(first - 1 + length) % Months + 1])
            ++length;
        if (length > longest) {
            longest = length;
            start = (first - 1 + length) % Months + 1;
        }
    }
    std::vector<int> run;
    for (int i = 0; i < Months; ++i) {
        const int month = (start - 1 + i) % Months + 1;
        if (named[month])
            run.push_back(month);
    }
    return run;
}

} // namespace

bool SummaryRow::counted() const
{
    return totals && std::none_of(problems.begin(), problems.end(), [](const SummaryProblem& p) {
               return p.kind == Kind::Duplicate;
           });
}

qint64 Summary::monthTotal(int month) const
{
    qint64 total = 0;
    for (const auto& [at, balance] : endBalances)
        if (at.second == month)
            total += balance;
    return total;
}

bool Summary::allWell() const
{
    return missing.empty() && std::all_of(rows.begin(), rows.end(), [](const SummaryRow& r) {
               return r.problems.empty();
           });
}

Summary summarise(const std::vector<SummaryInput>& inputs)
{
    Summary summary;
    for (const SummaryInput& input : inputs)
        summary.rows.push_back(rowOf(input));
    std::vector<SummaryRow>& rows = summary.rows;

    // The same station and month in two files: each names the other, and neither counts.
    std::map<std::pair<int, int>, std::vector<size_t>> of;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].station != 0 && rows[i].month != 0)
            of[{rows[i].station, rows[i].month}].push_back(i);
    for (const auto& [at, files] : of)
        if (files.size() > 1)
            for (size_t i : files)
                for (size_t other : files)
                    if (other != i)
                        rows[i].problems.push_back({Kind::Duplicate, rows[other].file});

    summary.months = runOfMonths(rows);
    for (const SummaryRow& row : rows) {
        if (!row.counted())
            continue;
        summary.carried += row.carried;
        summary.totals.income += row.totals->income;
        summary.totals.expenses += row.totals->expenses;
        summary.totals.balance += row.totals->balance;
        summary.endBalances[{row.station, row.month}] = row.totals->balance;
    }
    // Each balance carried forward is the station's end balance of the month before, where the
    // run holds that month and the station's statement of it counts.
    for (SummaryRow& row : rows) {
        const auto at = std::find(summary.months.begin(), summary.months.end(), row.month);
        if (!row.counted() || at == summary.months.begin() ||
            *std::prev(at) != monthBefore(row.month))
            continue;
        const int before = *std::prev(at);
        const auto end = summary.endBalances.find({row.station, before});
        if (end != summary.endBalances.end() && end->second != row.carried)
            row.problems.push_back({Kind::Continuity, {}, {}, row.carried - end->second, before});
    }
    for (int month : summary.months)
        for (int station = 1; station <= Stations; ++station)
            if (!of.count({station, month}))
                summary.missing.push_back({station, month});
    return summary;
}
