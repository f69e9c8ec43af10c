#pragma once

#include "statement_file.h"

#include <map>
#include <variant>
#include <vector>

// Many saved statements at once, as the organisation reads them: each checked and totalled by
// the rules of Calculate (totals are never read from a file), each station's balance followed
// from month to month, the same station and month sent twice, the stations that sent nothing,
// and the totals of the statements that add up. Qt Core only, so that it runs without a window.

// One file as it was read: the statement it holds, or why it was refused.
struct SummaryInput {
    QString file;
    std::variant<statement_file::Saved, QString> read;
};

// One thing wrong with a statement. Words are for whoever shows it: `box` and `text` say what
// to put in them.
struct SummaryProblem {
    enum class Kind {
        Refused,    // text: the reason the file was refused
        NoStation,  // none picked
        NoMonth,    // none picked
        Check,      // box: the amount box at fault; text: Calculate's message
        Continuity, // cents: carried forward less the end balance of `month`, the month before
        Duplicate,  // text: the other file of the same station and month
    };
    Kind kind;
    QString text = {};
    QString box = {};
    qint64 cents = 0;
    int month = 0;
    bool operator==(const SummaryProblem&) const = default;
};

struct SummaryRow {
    QString file;
    int station = 0; // 0 where the file names none, or was refused
    int month = 0;
    qint64 carried = 0;            // the balance carried forward, where the statement adds up
    std::optional<Totals> totals;  // where the statement adds up
    std::vector<SummaryProblem> problems;
    // Counted in the summary's totals: it adds up, and no other file is of its station and month.
    bool counted() const;
};

struct Summary {
    std::vector<SummaryRow> rows; // one for each file, in the order given
    // The statements counted, added up.
    qint64 carried = 0;
    Totals totals;
    // The months summarised, as one run of consecutive months: it starts after the longest run
    // of months no statement names (at January where every month is named), so that December
    // comes before January where a year turns within the run.
    std::vector<int> months;
    // The end balance of each station (1 to 34) in each month, of the statements counted.
    std::map<std::pair<int, int>, qint64> endBalances;
    // The stations from which no file names a month summarised, as (station, month).
    std::vector<std::pair<int, int>> missing;

    // The end balances of a month's statements counted, added up.
    qint64 monthTotal(int month) const;
    // Every statement adds up, follows on from the month before, is the only one of its station
    // and month, and no station is missing from any month summarised.
    bool allWell() const;
};

Summary summarise(const std::vector<SummaryInput>& inputs);
