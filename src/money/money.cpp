#include "money.h"

#include "money/locale_rules.h"

#include <QVarLengthArray>

#include <algorithm>
#include <optional>

namespace money {
namespace {

using detail::LocaleRules;

// Digit strings longer than this cannot be below the limit, so they never reach an integer.
constexpr int MaxCentDigits = 15;
constexpr int ExponentCap = 100000;

// Whether the text holds the part at the position; a plain loop, since Qt's general string
// comparison costs more than the whole rest of reading a short amount.
bool hasAt(QStringView text, qsizetype at, QStringView part)
{
    return !part.isEmpty() && at >= 0 && at + part.size() <= text.size() &&
           std::equal(part.begin(), part.end(), text.begin() + at);
}

// The parts of a number as typed, without sign and symbol.
struct Digits {
    QVarLengthArray<QChar, 32> digits; // integer and fraction digits, as ASCII
    int fraction = 0;                  // how many of them follow the decimal sign
    int exponent = 0;
};

class CoreParser {
public:
    // The text as fold() leaves it: ASCII digits, and the locale's signs in their folded form.
    CoreParser(QStringView text, const detail::Separators& separators)
        : m_text(text), m_separators(separators)
    {
    }

    std::optional<Digits> parse()
    {
        Digits d;
        if (!integerPart(d))
            return std::nullopt;
        const QString& point = m_separators.decimal;
        if (hasAt(m_text, m_pos, point)) {
            m_pos += point.size();
            while (digitAt(m_pos)) {
                d.digits.append(m_text[m_pos]);
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
    bool digitAt(qsizetype i) const
    {
        return i < m_text.size() && m_text[i] >= u'0' && m_text[i] <= u'9';
    }

    // The length of a group separator at i, or 0. Folding has made every blank a space, so
    // where the locale groups with a blank, any blank serves, as a keyboard types it.
    qsizetype separatorAt(qsizetype i) const
    {
        const QString& sep = m_separators.group;
        return hasAt(m_text, i, sep) ? sep.size() : 0;
    }

    bool integerPart(Digits& d)
    {
        QVarLengthArray<int, 8> groups{0};
        while (m_pos < m_text.size()) {
            if (digitAt(m_pos)) {
                d.digits.append(m_text[m_pos]);
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
    // Where the locale leaves short numbers ungrouped (es_ES 1234,50), grouping them anyway
    // is no mistake: 1.234,50 reads too.
    bool validGroups(const QVarLengthArray<int, 8>& groups) const
    {
        const std::optional<detail::Grouping>& g = m_separators.grouping;
        if (!g || groups.back() != g->least)
            return false;
        for (qsizetype i = 1; i + 1 < groups.size(); ++i)
            if (groups[i] != g->higher)
                return false;
        return groups.front() >= 1 && groups.front() <= g->higher;
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
            value = std::min(ExponentCap, value * 10 + (m_text[m_pos].unicode() - u'0'));
            ++m_pos;
        }
        d.exponent = negative ? -value : value;
        return true;
    }

    QStringView m_text;
    const detail::Separators& m_separators;
    qsizetype m_pos = 0;
};

// The digits scaled to whole cents and rounded half away from zero.
Amount toCents(const Digits& d, bool negative)
{
    QStringView digits(d.digits.constData(), d.digits.size());
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

// Removes one sign or one currency symbol (or its ISO code) from the front (or the back) of
// the text.
bool takeAffix(QStringView& t, bool front, const LocaleRules& rules, bool& sign, bool& negative,
               bool& symbol)
{
    auto take = [&](const QString& affix) {
        if (!hasAt(t, front ? 0 : t.size() - affix.size(), affix))
            return false;
        t = front ? t.mid(affix.size()) : t.chopped(affix.size());
        return true;
    };
    if (!symbol && std::any_of(rules.currencySymbols.begin(), rules.currencySymbols.end(), take)) {
        symbol = true;
        return true;
    }
    if (sign)
        return false;
    for (const QStringList* signs : {&rules.negative, &rules.positive}) {
        if (std::any_of(signs->begin(), signs->end(), take)) {
            negative = signs == &rules.negative;
            sign = true;
            return true;
        }
    }
    return false;
}

// The exact decimal text of the cents, as ICU takes it: -1234.50.
// Without its sign when the caller shows the negative its own way.
QString written(const icu::number::LocalizedNumberFormatter& formatter, qint64 cents,
                bool withSign = true)
{
    // The magnitude as unsigned, so that even the most negative value has one.
    quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    char text[24];
    char* end = text + sizeof text;
    char* p = end;
    for (int i = 0; i < 2; ++i, magnitude /= 10)
        *--p = char('0' + magnitude % 10);
    *--p = '.';
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (cents < 0 && withSign)
        *--p = '-';
    UErrorCode status = U_ZERO_ERROR;
    const icu::number::FormattedNumber number =
        formatter.formatDecimal(icu::StringPiece(p, int32_t(end - p)), status);
    const icu::UnicodeString shown = number.toTempString(status);
    if (U_FAILURE(status))
        return {};
    return QString(reinterpret_cast<const QChar*>(shown.getBuffer()), shown.length());
}

} // namespace

Amount read(QStringView text, const QLocale& locale)
{
    if (text.isEmpty())
        return {Status::Empty, 0};
    const LocaleRules& rules = detail::rulesFor(locale);
    const QString folded = detail::fold(text, rules);
    QStringView t = QStringView(folded).trimmed();
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
    while (takeAffix(t, true, rules, sign, negative, symbol))
        t = t.trimmed();
    while (takeAffix(t, false, rules, sign, negative, symbol))
        t = t.trimmed();
    negative = negative || parenthesised;

    // Money is read by the currency form's signs and other numbers by the standard form's,
    // each falling back on the other for what it cannot read.
    const detail::Separators& first = symbol ? rules.monetary : rules.number;
    const detail::Separators& second = symbol ? rules.number : rules.monetary;
    std::optional<Digits> digits = CoreParser(t, first).parse();
    if (!digits)
        digits = CoreParser(t, second).parse();
    if (!digits)
        return {Status::NotANumber, 0};
    return toCents(*digits, negative);
}

QString standard(qint64 cents, const QLocale& locale)
{
    return written(detail::rulesFor(locale).standard, cents);
}

QString currency(qint64 cents, const QLocale& locale)
{
    const LocaleRules& rules = detail::rulesFor(locale);
    if (cents < 0 && rules.parenthesisedNegative)
        return u'(' + written(rules.currency, cents, false) + u')';
    return written(rules.currency, cents);
}

QString plain(qint64 cents, const QLocale& locale)
{
    return written(detail::rulesFor(locale).plain, cents);
}

QString decimal(qint64 cents)
{
    const quint64 size = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    return (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(size / 100) +
           QLatin1Char('.') + QString::number(size % 100).rightJustified(2, QLatin1Char('0'));
}

} // namespace money
