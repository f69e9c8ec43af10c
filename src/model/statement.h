#pragma once

#include "money/money.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

// The statement as data: what the form holds, checked and totalled by the rules of Calculate,
// titled and saved, without any window. Qt Core and the amounts only, so that many statements
// can be read, checked and totalled where no window exists.

// The statement's shape. Its boxes, array by array, in the order the form checks them and the
// saved format lists them: the income lines, the expense lines, the descriptions.
struct BoxArray {
    const char* name;
    int count;
    bool amounts; // amount boxes, rather than descriptions
};
inline constexpr BoxArray BoxArrays[] = {
    {"txtBox", 10, true}, {"txtBoxa", 7, true}, {"Text1", 6, false}};
inline constexpr const BoxArray& IncomeBoxes = BoxArrays[0];
inline constexpr const BoxArray& ExpenseBoxes = BoxArrays[1];
inline constexpr const BoxArray& DescriptionBoxes = BoxArrays[2];
inline constexpr int BoxCount = 23;
inline constexpr int Stations = 34;
inline constexpr int Months = 12;
// The most a box or the station list takes: the toolkit's limit for a line of text.
inline constexpr int MaxText = 32767;

// A box by its place in that order, and back: "txtBox(3)" is 3, "Text1(0)" is 17; -1 for a name
// the statement does not have.
QString boxName(int box);
int boxIndex(const QString& name);
bool isAmountBox(int box);
// The station list's entry for station n (1 to 34).
QString stationName(int n);

// The month after and the month before: December is followed by January.
inline int monthAfter(int month) { return month % Months + 1; }
inline int monthBefore(int month) { return (month + Months - 2) % Months + 1; }

struct Totals {
    qint64 income = 0;
    qint64 expenses = 0;
    qint64 balance = 0;
    bool operator==(const Totals&) const = default;
};

// Why Calculate cannot add up: the control at fault, and what the user is told.
struct EntryProblem {
    QString control; // "lstStations", "lstMonths", or an amount box: "txtBoxa(2)"
    QString prompt, title;
    bool operator==(const EntryProblem&) const = default;
};

class Statement {
public:
    // A statement whose texts are written in this locale, and read by its rules.
    explicit Statement(const QLocale& locale = QLocale());

    const QLocale& locale() const { return m_locale; }

    // The station picked from the list (1 to 34, 0 when none is) and the list's text: the entry
    // picked, or what was typed into it.
    int station() const { return m_station; }
    const QString& stationText() const { return m_stationText; }
    void setStation(int picked, const QString& text);
    // 1 to 12; 0 when none is picked.
    int month() const { return m_month; }
    void setMonth(int month);
    // The month as the list names it in the statement's language, or "".
    QString monthName() const;
    const QString& box(int box) const { return m_boxes[box]; }
    void setBox(int box, const QString& text);
    // What an amount box's text reads as, by the statement's locale; read once, when it is set.
    const money::Amount& amount(int box) const { return m_amounts[box]; }

    // Nothing entered at all: no station, no month, every box empty.
    bool isEmpty() const;

    // The check of Calculate: the station, the month, then every amount box in the form's order;
    // the first problem, if any.
    std::optional<EntryProblem> check() const;
    // The first amount box that cannot count as an amount, in that order.
    std::optional<EntryProblem> amountProblem() const;
    // Calculate: the check; where it passes, the totals in exact cents and every amount box
    // rewritten in the standard form (emptied where it counts zero).
    std::optional<EntryProblem> calculate();
    // The totals on show: those of the last Calculate, until the statement is emptied; an edit
    // leaves them on show, but no longer worked out from these entries.
    const std::optional<Totals>& totals() const { return m_totals; }
    // Whether the totals on show were worked out from exactly these entries. Any edit clears it.
    bool calculated() const { return m_calculated; }

    // The document's title: "FORM QM-415 Station 7 March", without the characters a file name
    // cannot hold.
    QString title() const;

    // The same entries written in another locale: every amount in that one's standard form, the
    // other texts as they are.
    Statement inLocale(const QLocale& locale) const;

    // The same station's statement of the month after this one (December: January): its balance
    // carried forward this one's end balance, every other box empty. Only where the totals on
    // show were worked out from these entries.
    std::optional<Statement> nextMonth() const;

    bool operator==(const Statement&) const = default;

private:
    QLocale m_locale;
    int m_station = 0;
    QString m_stationText;
    int m_month = 0;
    std::array<QString, BoxCount> m_boxes;
    std::array<money::Amount, BoxCount> m_amounts;
    std::optional<Totals> m_totals;
    bool m_calculated = false;
};
