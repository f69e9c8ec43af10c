#include "money.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

namespace money {
namespace {

// Digit strings longer than this cannot be below the limit, so they never reach an integer.
constexpr int MaxCentDigits = 15;
constexpr int ExponentCap = 100000;

// The signs a user may type: the locale's own (which can be more than one character) and the
// plain ones of every keyboard.
struct Sign {
    QString text;
    bool negative;
};

std::array<Sign, 5> signsOf(const QLocale& locale)
{
    return {{{locale.negativeSign(), true},
             {locale.positiveSign(), false},
             {QStringLiteral("-"), true},
             {QStringLiteral("\u2212"), true},
             {QStringLiteral("+"), false}}};
}

// The sizes of the locale's digit groups: the one next to the decimal sign, and the others.
struct Grouping {
    int least = 3;
    int higher = 3;
    bool used = true;
};

Grouping groupingOf(const QLocale& locale)
{
    const QStringList groups =
        locale.toString(qlonglong(1234567890)).split(locale.groupSeparator(), Qt::SkipEmptyParts);
    if (locale.groupSeparator().isEmpty() || groups.size() < 3)
        return {0, 0, false};
    return {int(groups.at(groups.size() - 1).size()), int(groups.at(groups.size() - 2).size()),
            true};
}

// The parts of a number as typed, without sign and symbol.
struct Digits {
    QString digits;   // integer and fraction digits, as ASCII
    int fraction = 0; // how many of them follow the decimal sign
    int exponent = 0;
};

class CoreParser {
public:
    CoreParser(QStringView text, const QLocale& locale) : m_text(text), m_locale(locale) {}

    std::optional<Digits> parse()
    {
        Digits d;
        if (!integerPart(d))
            return std::nullopt;
        const QString point = m_locale.decimalPoint();
        if (m_text.mid(m_pos).startsWith(point)) {
            m_pos += point.size();
            while (digitAt(m_pos)) {
                d.digits += QChar(u'0' + m_text[m_pos].digitValue());
                ++d.fraction;
                ++m_pos;
            }
        }
        if (d.digits.isEmpty())
            return std::nullopt;
        if (m_pos < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
            if (!exponent(d))
                return std::nullopt;
        }
        if (m_pos != m_text.size())
            return std::nullopt;
        return d;
    }

private:
    bool digitAt(qsizetype i) const { return i < m_text.size() && m_text[i].isDigit(); }

    // The length of a group separator at i, or 0. Where the locale groups with a blank, any
    // blank serves, since that is what a keyboard types.
    qsizetype separatorAt(qsizetype i) const
    {
        const QString sep = m_locale.groupSeparator();
        if (sep.isEmpty() || i >= m_text.size())
            return 0;
        if (m_text.mid(i).startsWith(sep))
            return sep.size();
        if (sep.size() == 1 && sep[0].isSpace() && m_text[i].isSpace())
            return 1;
        return 0;
    }

    bool integerPart(Digits& d)
    {
        std::vector<int> groups{0};
        while (m_pos < m_text.size()) {
            if (digitAt(m_pos)) {
                d.digits += QChar(u'0' + m_text[m_pos].digitValue());
                ++groups.back();
                ++m_pos;
            } else if (const qsizetype len = separatorAt(m_pos);
                       len && groups.back() > 0 && digitAt(m_pos + len)) {
                groups.push_back(0);
                m_pos += len;
            } else {
                break;
            }
        }
        return groups.size() == 1 || validGroups(groups);
    }

    // 1,234,567 is grouped; 1,2 and 12,34 are not, and reading them as 12 or 1234 would
    // count an amount the user did not mean.
    bool validGroups(const std::vector<int>& groups) const
    {
        const Grouping g = groupingOf(m_locale);
        if (!g.used || groups.back() != g.least)
            return false;
        for (size_t i = 1; i + 1 < groups.size(); ++i)
            if (groups[i] != g.higher)
                return false;
        return groups.front() >= 1 && groups.front() <= g.higher;
    }

    bool exponent(Digits& d)
    {
        ++m_pos;
        bool negative = false;
        if (m_pos < m_text.size() && (m_text[m_pos] == u'+' || m_text[m_pos] == u'-')) {
            negative = m_text[m_pos] == u'-';
            ++m_pos;
        }
        if (!digitAt(m_pos))
            return false;
        int value = 0;
        while (digitAt(m_pos)) {
            value = std::min(ExponentCap, value * 10 + m_text[m_pos].digitValue());
            ++m_pos;
        }
        d.exponent = negative ? -value : value;
        return true;
    }

    QStringView m_text;
    const QLocale& m_locale;
    qsizetype m_pos = 0;
};

// The digits scaled to whole cents and rounded half away from zero.
Amount toCents(const Digits& d, bool negative)
{
    QStringView digits(d.digits);
    while (!digits.isEmpty() && digits.front() == u'0')
        digits = digits.mid(1);
    // cents = digits x 10^shift
    const qint64 shift = qint64(d.exponent) + 2 - d.fraction;
    qint64 magnitude = 0;
    if (!digits.isEmpty()) {
        const qint64 kept = qint64(digits.size()) + shift;
        if (kept > MaxCentDigits)
            return {Status::TooLarge, 0};
        if (kept >= 0) {
            for (qint64 i = 0; i < kept; ++i)
                magnitude = magnitude * 10 + (i < digits.size() ? digits[i].unicode() - u'0' : 0);
            if (kept < digits.size() && digits[kept] >= u'5')
                ++magnitude;
        }
    }
    if (magnitude >= LimitCents)
        return {Status::TooLarge, 0};
    return {Status::Number, negative ? -magnitude : magnitude};
}

// Removes one sign or one currency symbol from the front (or the back) of the text.
bool takeAffix(QStringView& t, bool front, const QLocale& locale, bool& sign, bool& negative,
               bool& symbol)
{
    const QString currencySymbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol && !currencySymbol.isEmpty() &&
        (front ? t.startsWith(currencySymbol) : t.endsWith(currencySymbol))) {
        t = front ? t.mid(currencySymbol.size()) : t.chopped(currencySymbol.size());
        symbol = true;
        return true;
    }
    if (sign)
        return false;
    for (const Sign& s : signsOf(locale)) {
        if (!s.text.isEmpty() && (front ? t.startsWith(s.text) : t.endsWith(s.text))) {
            t = front ? t.mid(s.text.size()) : t.chopped(s.text.size());
            negative = s.negative;
            sign = true;
            return true;
        }
    }
    return false;
}

QString groupedWhole(qint64 whole, const QLocale& locale)
{
    return locale.toString(qlonglong(whole));
}

QString twoDigits(int n, const QLocale& locale)
{
    return n < 10 ? locale.zeroDigit() + locale.toString(n) : locale.toString(n);
}

} // namespace

Amount read(QStringView text, const QLocale& locale)
{
    if (text.isEmpty())
        return {Status::Empty, 0};
    QStringView t = text.trimmed();
    bool negative = false;
    bool sign = false;
    bool symbol = false;
    if (t.size() >= 2 && t.front() == u'(' && t.back() == u')') {
        // A negative in parentheses carries no sign of its own.
        t = t.mid(1, t.size() - 2).trimmed();
        negative = true;
        sign = true;
    }
    const bool parenthesised = negative;
    while (takeAffix(t, true, locale, sign, negative, symbol))
        t = t.trimmed();
    while (takeAffix(t, false, locale, sign, negative, symbol))
        t = t.trimmed();
    negative = negative || parenthesised;

    const std::optional<Digits> digits = CoreParser(t, locale).parse();
    if (!digits)
        return {Status::NotANumber, 0};
    return toCents(*digits, negative);
}

QString standard(qint64 cents, const QLocale& locale)
{
    const qint64 magnitude = cents < 0 ? -cents : cents;
    const QString number = groupedWhole(magnitude / 100, locale) + locale.decimalPoint() +
                           twoDigits(magnitude % 100, locale);
    return cents < 0 ? locale.negativeSign() + number : number;
}

QString currency(qint64 cents, const QLocale& locale)
{
    // The locale's currency pattern, taken from a whole number and filled with the amount.
    const QString pattern = locale.toCurrencyString(qlonglong(cents < 0 ? -7 : 7));
    QString amount = pattern;
    amount.replace(pattern.lastIndexOf(locale.toString(7)), locale.toString(7).size(),
                   standard(cents < 0 ? -cents : cents, locale));
    return amount;
}

QString plain(qint64 cents, const QLocale& locale)
{
    QLocale ungrouped = locale;
    ungrouped.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    const qint64 magnitude = cents < 0 ? -cents : cents;
    QString number = ungrouped.toString(qlonglong(magnitude / 100));
    if (const int fraction = int(magnitude % 100)) {
        QString digits = twoDigits(fraction, locale);
        if (fraction % 10 == 0)
            digits.chop(1);
        number += locale.decimalPoint() + digits;
    }
    return cents < 0 ? locale.negativeSign() + number : number;
}

} // namespace money
