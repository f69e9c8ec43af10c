#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// Amounts of money: exact whole cents in a 64-bit integer, read from the text of a box by one
// rule (the user's locale) and written by the CLDR's rules for that locale (ICU's number
// formatter, given the exact decimal text), never through a double. Reader and writers take
// the locale's signs from the same place, so whatever this code writes reads back as the same
// amount, in every locale.
namespace money {

// Amounts and totals stay below one trillion in magnitude, so no sum of them can overflow.
inline constexpr qint64 LimitCents = 100'000'000'000'000; // 1,000,000,000,000.00

enum class Status {
    Empty,      // the text is exactly ""
    Number,     // an amount, in cents
    NotANumber, // anything the reading cannot take, blanks only included
    TooLarge,   // a number of magnitude 1,000,000,000,000 or more
};

struct Amount {
    Status status;
    qint64 cents; // 0 unless status is Number
    bool operator==(const Amount&) const = default;
};

// Reads an amount by the locale's rules: its decimal sign, digits and digit grouping, a sign
// before or after, a negative in parentheses, the currency symbol or its ISO code (CHF) before
// or after, an exponent (1e3) and blanks around. What a keyboard types serves for the
// locale's typographic signs (' for ’, a space for a no-break space, - for −), Latin digits
// serve everywhere, and direction marks are ignored. The value is rounded to the cent, half
// away from zero.
Amount read(QStringView text, const QLocale& locale = QLocale());

// 1,234.50 and -1,234.50: the locale's grouping (es_ES leaves 1234,50 ungrouped, en_IN writes
// 12,34,567.89), two decimals, its minus sign when negative.
QString standard(qint64 cents, const QLocale& locale = QLocale());
// The locale's currency form: $1,234.50, and its own form for a negative amount: ($1,234.50)
// where the locale puts it in parentheses, -1.234,50 € in de_DE.
QString currency(qint64 cents, const QLocale& locale = QLocale());
// The shortest plain text: no grouping, no symbol, no trailing zeros (12.5, 0, -3).
QString plain(qint64 cents, const QLocale& locale = QLocale());
// Whatever the locale, as a spreadsheet reads it: a point and two digits, no grouping, a minus
// sign when negative (-1234.50).
QString decimal(qint64 cents);

} // namespace money
