#include "money/locale_rules.h"

#include <QHash>
#include <QSet>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/ucurr.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <memory>

namespace money::detail {
namespace {

using icu::number::LocalizedNumberFormatter;
using icu::number::NumberFormatter;
using icu::number::Precision;

QString toQString(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// ICU opens a language it has no data for as its own default locale, which follows the
// environment; the root locale keeps such a language's forms the same wherever it runs.
bool icuKnowsLanguage(const char* language)
{
    static const QSet<QByteArray> known = [] {
        QSet<QByteArray> languages;
        for (int32_t i = 0; i < uloc_countAvailable(); ++i) {
            char buffer[ULOC_LANG_CAPACITY] = {};
            UErrorCode status = U_ZERO_ERROR;
            uloc_getLanguage(uloc_getAvailable(i), buffer, sizeof buffer, &status);
            if (U_SUCCESS(status))
                languages.insert(QByteArray(buffer));
        }
        return languages;
    }();
    return known.contains(QByteArray(language));
}

// The ICU locale of a Qt locale, and the full one whose territory names the currency.
// The likely script and territory are dropped (de_Latn_CH becomes de_CH) because ICU looks
// its data up by that shortest name and would otherwise miss de_CH's own.
struct IcuLocales {
    icu::Locale data;
    icu::Locale full;
    bool rootOnly = false; // a language ICU has no data for
};

IcuLocales icuLocalesOf(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return {icu::Locale::getRoot(), icu::Locale::getRoot()};
    QStringList parts{QLocale::languageToCode(locale.language())};
    if (locale.script() != QLocale::AnyScript)
        parts << QLocale::scriptToCode(locale.script());
    if (locale.territory() != QLocale::AnyTerritory)
        parts << QLocale::territoryToCode(locale.territory());
    const icu::Locale full = icu::Locale::createFromName(parts.join(u'_').toLatin1().constData());
    if (!icuKnowsLanguage(full.getLanguage()))
        return {icu::Locale::getRoot(), full, true};
    icu::Locale data = full;
    UErrorCode status = U_ZERO_ERROR;
    data.minimizeSubtags(status);
    return {U_SUCCESS(status) ? data : full, full};
}

// The ISO code of the territory's currency, or "" where it has none (the world, C).
QString currencyCodeOf(const icu::Locale& full)
{
    UChar code[4] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucurr_forLocale(full.getName(), code, 4, &status);
    if (U_FAILURE(status) || length != 3)
        return {};
    return QString(reinterpret_cast<const QChar*>(code), 3);
}

QString currencySymbolOf(const QString& code, const icu::Locale& locale, UCurrNameStyle style)
{
    UBool isChoiceFormat = false;
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    const UChar* name = ucurr_getName(reinterpret_cast<const UChar*>(code.utf16()),
                                      locale.getName(), style, &isChoiceFormat, &length, &status);
    if (U_FAILURE(status) || !name)
        return code;
    return QString(reinterpret_cast<const QChar*>(name), length);
}

// The decimal sign, the group sign and the group sizes a formatter writes, read off what it
// writes for a ten-digit amount: a currency can bring signs of its own (the Cape Verde escudo
// writes 1 234$50), so no table is trusted over the formatter itself.
Separators separatorsOf(const LocalizedNumberFormatter& formatter, const LocaleRules& rules)
{
    UErrorCode status = U_ZERO_ERROR;
    const QString written =
        fold(toQString(formatter.formatDecimal("1234567890.12", status).toString(status)), rules);
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    QList<qsizetype> runs;
    QStringList between;
    qsizetype i = 0;
    while (i < written.size() && !isDigit(written[i]))
        ++i;
    while (i < written.size()) {
        const qsizetype start = i;
        while (i < written.size() && isDigit(written[i]))
            ++i;
        runs << i - start;
        const qsizetype gap = i;
        while (i < written.size() && !isDigit(written[i]))
            ++i;
        if (i < written.size())
            between << written.mid(gap, i - gap);
    }
    Separators separators;
    if (U_FAILURE(status) || runs.size() < 2 || runs.size() != between.size() + 1)
        return separators;
    separators.decimal = between.takeLast();
    runs.removeLast();
    // Ten digits in fewer than three groups is no grouping the reader should hold anyone to.
    if (runs.size() >= 3 && std::all_of(between.begin(), between.end(),
                                        [&](const QString& g) { return g == between.front(); })) {
        separators.group = between.front();
        separators.grouping =
            Grouping{int(runs.at(runs.size() - 1)), int(runs.at(runs.size() - 2))};
    }
    return separators;
}

} // namespace

LocaleRules::LocaleRules(const QLocale& locale)
{
    const IcuLocales icu = icuLocalesOf(locale);
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu.data, status);
    using S = icu::DecimalFormatSymbols;
    const S::ENumberFormatSymbol digitSymbols[] = {
        S::kZeroDigitSymbol,  S::kOneDigitSymbol,  S::kTwoDigitSymbol, S::kThreeDigitSymbol,
        S::kFourDigitSymbol,  S::kFiveDigitSymbol, S::kSixDigitSymbol, S::kSevenDigitSymbol,
        S::kEightDigitSymbol, S::kNineDigitSymbol};
    for (int i = 0; i < 10; ++i)
        digits[i] = char32_t(symbols.getConstSymbol(digitSymbols[i]).char32At(0));

    const UNumberGroupingStrategy grouping =
        locale.numberOptions().testFlag(QLocale::OmitGroupSeparator) ? UNUM_GROUPING_OFF
                                                                     : UNUM_GROUPING_AUTO;
    standard = NumberFormatter::withLocale(icu.data)
                   .precision(Precision::fixedFraction(2))
                   .grouping(grouping);
    plain = NumberFormatter::withLocale(icu.data)
                .precision(Precision::minMaxFraction(0, 2))
                .grouping(UNUM_GROUPING_OFF);
    const QString code = currencyCodeOf(icu.full);
    if (code.isEmpty()) {
        // A locale without a currency of its own writes its amounts without a symbol.
        currency = standard;
    } else {
        // The root locale knows most currencies by their ISO code alone; where it stands in
        // for a language, the territory's own narrow sign is what its users know (R, not ZAR).
        const UNumberUnitWidth width =
            icu.rootOnly ? UNUM_UNIT_WIDTH_NARROW : UNUM_UNIT_WIDTH_SHORT;
        UErrorCode unit = U_ZERO_ERROR;
        currency =
            standard.unit(icu::CurrencyUnit(reinterpret_cast<const char16_t*>(code.utf16()), unit))
                .unitWidth(width);
        if (U_FAILURE(unit))
            currency = standard;
        // The parentheses come from the locale's accounting form; its other patterns are not
        // taken, since some lose the locale's grouping there (en_IN would write 1,234,567.89).
        UErrorCode probe = U_ZERO_ERROR;
        parenthesisedNegative = currency.sign(UNUM_SIGN_ACCOUNTING)
                                    .formatInt(-1, probe)
                                    .toTempString(probe)
                                    .indexOf(u'(') >= 0;
        const UCurrNameStyle style = icu.rootOnly ? UCURR_NARROW_SYMBOL_NAME : UCURR_SYMBOL_NAME;
        for (const QString& symbol : {currencySymbolOf(code, icu.data, style), code}) {
            const QString folded = fold(symbol, *this).trimmed();
            if (!folded.isEmpty() && !currencySymbols.contains(folded))
                currencySymbols << folded;
        }
        std::sort(currencySymbols.begin(), currencySymbols.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }

    const auto symbol = [&](S::ENumberFormatSymbol which) {
        return fold(toQString(symbols.getConstSymbol(which)), *this);
    };
    // The locale's own signs, and the plain ones of every keyboard.
    negative = {symbol(S::kMinusSignSymbol), QStringLiteral("-")};
    positive = {symbol(S::kPlusSignSymbol), QStringLiteral("+")};
    number = separatorsOf(standard, *this);
    monetary = separatorsOf(currency, *this);
    // Should a formatter ever write nothing readable, the reader still knows a decimal sign.
    for (Separators* separators : {&number, &monetary})
        if (separators->decimal.isEmpty())
            separators->decimal = symbol(S::kDecimalSeparatorSymbol);
}

const LocaleRules& rulesFor(const QLocale& locale)
{
    // Calculate reads and writes every box in the one locale, so the last one is kept at hand.
    struct Cache {
        QHash<QLocale, std::shared_ptr<const LocaleRules>> byLocale;
        QLocale last;
        std::shared_ptr<const LocaleRules> lastRules;
    };
    thread_local Cache cache;
    if (cache.lastRules && cache.last == locale)
        return *cache.lastRules;
    std::shared_ptr<const LocaleRules>& rules = cache.byLocale[locale];
    if (!rules)
        rules = std::make_shared<const LocaleRules>(locale);
    cache.last = locale;
    cache.lastRules = rules;
    return *rules;
}

QString fold(QStringView text, const LocaleRules& rules)
{
    // Nothing folds into more characters than it had.
    QString folded(text.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c > u' ' && c < 0x80) { // printable ASCII, the common case, stays as it is
            *out++ = QChar(char16_t(c));
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (c == U'\u200e' || c == U'\u200f' || c == U'\u061c')
            continue;
        if (const auto own = std::find(rules.digits.begin(), rules.digits.end(), c);
            own != rules.digits.end())
            *out++ = QChar(u'0' + int(own - rules.digits.begin()));
        else if (QChar::isDigit(c))
            *out++ = QChar(u'0' + QChar::digitValue(c));
        else if (QChar::isSpace(c))
            *out++ = u' ';
        else if (c == U'\u2019')
            *out++ = u'\'';
        else if (c == U'\u2212')
            *out++ = u'-';
        else if (QChar::requiresSurrogates(c))
            *out++ = QChar(QChar::highSurrogate(c)), *out++ = QChar(QChar::lowSurrogate(c));
        else
            *out++ = QChar(char16_t(c));
    }
    folded.truncate(out - folded.constData());
    return folded;
}

} // namespace money::detail
