#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <unicode/numberformatter.h>

#include <array>
#include <optional>

// What the reader and the writers know of one locale, all taken from ICU's data for it, so
// that what is written and what is read cannot drift apart. Built once per locale and kept.
namespace money::detail {

// The sizes of the digit groups: the one next to the decimal sign, and the others.
struct Grouping {
    int least = 0;
    int higher = 0;
};

// The decimal sign and the grouping of one kind of form, in the form fold() leaves them.
// Some locales write money with other signs than plain numbers (de_AT groups 1 234,50 but
// writes 1.234,50 €), so the standard and the currency forms each have their own.
struct Separators {
    QString decimal;
    QString group;
    std::optional<Grouping> grouping; // none where the form is not grouped
};

struct LocaleRules {
    explicit LocaleRules(const QLocale& locale);

    icu::number::LocalizedNumberFormatter standard; // grouped, two decimals
    icu::number::LocalizedNumberFormatter currency; // the locale's currency, two decimals
    bool parenthesisedNegative = false;             // ($150.00) rather than -$150.00
    icu::number::LocalizedNumberFormatter plain;    // ungrouped, no trailing zeros

    // The reader's signs, in the form fold() leaves them.
    Separators number;
    Separators monetary;
    QStringList negative;
    QStringList positive;
    QStringList currencySymbols;     // longest first, so that "ZAR" is not taken for "R"
    std::array<char32_t, 10> digits; // the locale's own digits, 0 to 9
};

// The rules of the locale, built on first use and then kept for the thread's life.
const LocaleRules& rulesFor(const QLocale& locale);

// The text as the reader compares it: the locale's digits and any other decimal digits as
// 0-9, every blank (no-break and narrow ones included) as a space, ’ as ', − as -, and
// direction marks dropped. What a keyboard types and what the formatter writes fold alike.
QString fold(QStringView text, const LocaleRules& rules);

} // namespace money::detail
