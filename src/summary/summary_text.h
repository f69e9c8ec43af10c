#pragma once

#include "model/summary.h"
#include "paper/printing.h"
#include "paper/table_file.h"

#include <QStringList>

// The summary in words, the same in the window, on paper, in a CSV file and on standard error.
namespace summary_text {

// What messages call the summary, and how the user prints it again.
inline const printing::Document Document{QStringLiteral("summary"), QStringLiteral("press Ctrl+P")};

// Amounts in the user's currency form ($1,234.50), or as a spreadsheet reads them (1234.50).
enum class Amounts { Currency, Decimal };

// The columns: station, month, file name, balance carried forward, income total, expense total,
// end-of-month balance, what is wrong. The four amounts are columns 3 to 6.
QStringList header();
inline constexpr int FirstAmount = 3, LastAmount = 6;
QStringList row(const SummaryRow& row, Amounts amounts);
// The totals of the statements that add up.
QStringList totals(const Summary& summary, Amounts amounts);

// The whole summary as a table to save or print: a row for each file, then the totals.
table_file::Table table(const Summary& summary, Amounts amounts);

// What is wrong with a statement, in the user's words.
QString problem(const SummaryProblem& problem);
// Every problem one line: "FILE: reason", a station missing as "MONTH: reason".
QStringList problemLines(const Summary& summary);

QString stationOf(int station);
QString monthOf(int month);

} // namespace summary_text
