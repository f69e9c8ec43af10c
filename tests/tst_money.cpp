// Reading and writing amounts: one rule, exact cents, and every written text reads back.
#include "money/money.h"

#include <QTest>

#include <unicode/ucurr.h>

using money::Status;

Q_DECLARE_METATYPE(money::Status)

namespace {
const QLocale US(QLocale::English, QLocale::UnitedStates);
const QLocale DE(QLocale::German, QLocale::Germany);

QString describe(const money::Amount& a)
{
    static const char* names[] = {"empty", "a number", "not a number", "too large"};
    return QStringLiteral("%1 (%2 cents)").arg(names[int(a.status)]).arg(a.cents);
}

// A text as a failure message shows it: invisible characters (direction marks, no-break
// spaces) spelled out, so that two texts that look alike can be told apart.
QString visible(const QString& text)
{
    QString shown;
    for (QChar c : text) {
        const bool invisible = c.unicode() < 0x20 || c.category() == QChar::Other_Format ||
                               c.category() == QChar::Other_Control || (c.isSpace() && c != u' ');
        shown += invisible ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper()
                           : QString(c);
    }
    return shown;
}

QString nameOf(const QLocale& l)
{
    return QStringLiteral("%1_%2_%3")
        .arg(QLocale::languageToCode(l.language()), QLocale::scriptToCode(l.script()),
             QLocale::territoryToCode(l.territory()));
}

// What a user types for a written amount: the keyboard's ' for ’, a space for the no-break
// and narrow no-break spaces, - for −, no direction marks; and once more with Latin digits.
QStringList typedForms(const QString& written)
{
    QString typed;
    for (QChar c : written) {
        switch (c.unicode()) {
        case 0x200e:
        case 0x200f:
        case 0x061c:
            break;
        case 0x00a0:
        case 0x202f:
            typed += u' ';
            break;
        case 0x2019:
            typed += u'\'';
            break;
        case 0x2212:
            typed += u'-';
            break;
        default:
            typed += c;
        }
    }
    QString latin;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        char32_t c = typed[i].unicode();
        if (typed[i].isHighSurrogate() && i + 1 < typed.size())
            c = QChar::surrogateToUcs4(typed[i], typed[i + 1]), ++i;
        latin += QChar::isDigit(c) ? QString(QChar(u'0' + QChar::digitValue(c)))
                                   : QString::fromUcs4(&c, 1);
    }
    return {typed, latin};
}

// The currency symbol of a written positive amount: what stands beside its digits.
QString symbolIn(const QString& currency)
{
    const QString latin = typedForms(currency).back();
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < latin.size(); ++i)
        if (latin[i] >= u'0' && latin[i] <= u'9') {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return {};
    const QString before = latin.left(first).trimmed(), after = latin.mid(last + 1).trimmed();
    return before.isEmpty() ? after : before;
}

// The ISO code of the territory's currency (CHF), as a user may type it instead of the symbol.
QString isoCodeOf(const QLocale& l)
{
    if (l.language() == QLocale::C)
        return {};
    UChar code[4] = {};
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray region = "und_" + QLocale::territoryToCode(l.territory()).toLatin1();
    if (ucurr_forLocale(region.constData(), code, 4, &status) != 3 || U_FAILURE(status))
        return {};
    return QString(reinterpret_cast<const QChar*>(code), 3);
}
} // namespace

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void readsByTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Status>("status");
        QTest::addColumn<qint64>("cents");
        auto row = [](const char* locale, const char* text, Status status, qint64 cents = 0) {
            QTest::addRow("%s \"%s\"", locale, text)
                << QString(locale) << QString::fromUtf8(text) << status << cents;
        };
        const auto N = Status::Number, X = Status::NotANumber, L = Status::TooLarge;
        row("en_US", "", Status::Empty);
        row("en_US", "   ", X); // blanks are not an empty box
        row("en_US", "12", N, 1200);
        row("en_US", " 12.5 ", N, 1250);
        row("en_US", ".5", N, 50);
        row("en_US", "5.", N, 500);
        row("en_US", "0.00", N, 0);
        row("en_US", "-0", N, 0);
        // grouping
        row("en_US", "1,234.50", N, 123450);
        row("en_US", "1,234,567.89", N, 123456789);
        row("en_US", "1,2", X);
        row("en_US", "12,34", X);
        row("en_US", "1,2345", X);
        row("en_US", "1234,567", X);
        row("en_US", ",123", X);
        row("en_US", "123,", X);
        row("en_US", "1,234.5,6", X);
        row("en_US", "1 234", X);
        // signs, parentheses, currency symbol
        row("en_US", "-25", N, -2500);
        row("en_US", "+3", N, 300);
        row("en_US", "25-", N, -2500);
        row("en_US", "(5)", N, -500);
        row("en_US", "( 5.25 )", N, -525);
        row("en_US", "($150.00)", N, -15000);
        row("en_US", "$5", N, 500);
        row("en_US", "-$5", N, -500);
        row("en_US", "$-5", N, -500);
        row("en_US", "$ 1,234.50", N, 123450);
        row("en_US", "5$", N, 500);
        row("en_US", "--5", X);
        row("en_US", "(-5)", X);
        row("en_US", "$$5", X);
        row("en_US", "€5", X);
        row("en_US", "$", X);
        row("en_US", "-", X);
        row("en_US", "()", X);
        // exponents
        row("en_US", "1e3", N, 100000);
        row("en_US", "1E3", N, 100000);
        row("en_US", "2.5e-1", N, 25);
        row("en_US", "1e", X);
        row("en_US", "1e+", X);
        row("en_US", "e3", X);
        row("en_US", "1e-100000000", N, 0);
        row("en_US", "1e4294967296", L); // an exponent past any integer's range
        row("en_US", "1e-4294967296", N, 0);
        // rounding to the cent, half away from zero, on the decimal text itself
        row("en_US", "0.001", N, 0);
        row("en_US", "0.005", N, 1);
        row("en_US", "-0.005", N, -1);
        row("en_US", "0.125", N, 13);
        row("en_US", "-0.125", N, -13);
        row("en_US", "2.675", N, 268); // a double reads 2.67499999...
        row("en_US", "1.0049999", N, 100);
        row("en_US", "16777217", N, 1677721700);
        // the range edge
        row("en_US", "999999999999.99", N, 99999999999999);
        row("en_US", "-999999999999.99", N, -99999999999999);
        row("en_US", "999999999999.994", N, 99999999999999);
        row("en_US", "999999999999.995", L);
        row("en_US", "-999999999999.994", N, -99999999999999);
        row("en_US", "-999999999999.995", L);
        row("en_US", "9.99999999999994e11", N, 99999999999999);
        row("en_US", "9.99999999999995e11", L);
        row("en_US", "1000000000000", L);
        row("en_US", "1000000000000.01", L);
        row("en_US", "99999999999999999", L); // more cents than 64 bits hold
        row("en_US", "1,000,000,000,000.00", L);
        row("en_US", "-1000000000000", L);
        row("en_US", "1E+39", L);
        row("en_US", "1e100000000", L);
        row("en_US", "0.1e13", L);
        row("en_US", "0000000000000000000012.34", N, 1234);
        // junk
        row("en_US", "abc", X);
        row("en_US", "12abc", X);
        row("en_US", "1..2", X);
        row("en_US", "Infinity", X);
        row("en_US", "NaN", X);
        row("en_US", "inf", X);
        row("en_US", "0x10", X);
        row("en_US", "5 5", X);
        // a locale with the decimal comma
        row("de_DE", "1.234,50", N, 123450);
        row("de_DE", "1.234,50 €", N, 123450);
        row("de_DE", "-1.234,50 €", N, -123450);
        row("de_DE", "25,50", N, 2550);
        row("de_DE", "25.50", X);
        row("de_DE", "1,234.50", X);
        row("de_DE", "1e3", N, 100000);
        // a locale that groups with a blank: any blank a keyboard types serves
        row("fr_FR", "1 234,50", N, 123450);
        row("fr_FR", "1\u202f234,50 €", N, 123450);
        row("fr_FR", "1\u2009234,50", N, 123450); // a thin space
        row("fr_FR", "(1 234,50 EUR)", N, -123450);
        // a locale that leaves short numbers ungrouped reads them grouped too
        row("es_ES", "1234,50", N, 123450);
        row("es_ES", "1.234,50", N, 123450);
        row("es_ES", "1.234.567,89", N, 123456789);
        row("es_ES", "1234567,89", N, 123456789);
        row("es_ES", "1234.567,89", X);
        row("es_ES", "12.34", X);
        // what a Swiss keyboard types: ' for ’, the ISO code for the franc, before or after
        row("de_CH", "1'234.50", N, 123450);
        row("de_CH", "1’234’567.89", N, 123456789);
        row("de_CH", "CHF 1'234.50", N, 123450);
        row("de_CH", "CHF-1'234.50", N, -123450);
        row("de_CH", "-1'234.50CHF", N, -123450);
        row("de_CH", "12'34.50", X);
        row("de_CH", "1,234.50", X);
        row("en_US", "USD 5", N, 500);
        row("en_US", "5USD", N, 500);
        row("en_US", "25- USD", N, -2500); // both after
        row("en_US", "EUR 5", X);
        // Indian grouping, the rupee
        row("en_IN", "12,34,567.89", N, 123456789);
        row("en_IN", "(₹1,234.50)", N, -123450);
        row("en_IN", "INR 1,234.50", N, 123450);
        row("en_IN", "1234,567.89", X);
        row("en_IN", "1,23,45,678.90", N, 1234567890);
        row("en_IN", "123,45,678.90", X);
        row("en_IN", "12,345,678.90", X); // grouped the Western way
        // − and - alike, also where − is not the locale's own; a plain space for the no-break one
        row("en_US", "\u22125", N, -500);
        row("de_DE", "\u22121.234,50 €", N, -123450);
        row("sv_SE", "\u22121\u00a0234,50\u00a0kr", N, -123450);
        row("sv_SE", "-1 234,50 kr", N, -123450);
        row("sv_SE", "-1 234,50 SEK", N, -123450);
        // the locale's own digits, Latin digits, and direction marks that are not typed
        row("fa_IR", "\u200e\u2212۱٬۲۳۴٫۵۰", N, -123450);
        row("fa_IR", "-۱٬۲۳۴٫۵۰", N, -123450);
        row("fa_IR", "1٬234٫50", N, 123450);
        row("fa_IR", "١٬٢٣٤٫٥٠", N, 123450); // Arabic digits, not the Persian ones
        row("fa_IR", "IRR 1234٫5", N, 123450);
        row("ar_EG", "\u061c-١٬٢٣٤٫٥٠", N, -123450);
        row("ar_EG", "\u061c١٬٢٣٤٫٥٠", N, 123450); // a mark that is no part of a sign
        row("ar_EG", "١٬٢٣٤٫٥٠ ج.م.", N, 123450);
        row("ar_EG", "EGP 1234٫50", N, 123450);
        row("he_IL", "\u200f1,234.50\u00a0\u200f₪", N, 123450);
        row("he_IL", "-1,234.50 ILS", N, -123450);
        row("ja_JP", "￥1,234.50", N, 123450);
        row("ja_JP", "JPY 1,234.50", N, 123450);
        // digits beyond the Basic Multilingual Plane (Adlam)
        row("ff_Adlm_GN", "\U0001e951\u2e41\U0001e952\U0001e953\U0001e954.\U0001e955\U0001e950", N,
            123450);
        row("ff_Adlm_GN", "GNF 1⹁234.50", N, 123450);
    }
    void readsByTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(Status, status);
        QFETCH(qint64, cents);
        const money::Amount got = money::read(text, QLocale(locale));
        QCOMPARE(describe(got), describe({status, cents}));
    }

    void longDigitStringsNeitherOverflowNorHang()
    {
        const QString ones(100000, QLatin1Char('9'));
        QCOMPARE(money::read(ones, US).status, Status::TooLarge);
        const QString tiny = QStringLiteral("0.") + QString(100000, QLatin1Char('0')) + "1";
        QCOMPARE(describe(money::read(tiny, US)), describe({Status::Number, 0}));
    }

    void writes_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << "en_US" << 0LL << "0.00"
                              << "$0.00"
                              << "0";
        QTest::newRow("one cent") << "en_US" << 1LL << "0.01"
                                  << "$0.01"
                                  << "0.01";
        QTest::newRow("ten cents") << "en_US" << 90LL << "0.90"
                                   << "$0.90"
                                   << "0.9";
        QTest::newRow("twelve and a half") << "en_US" << 1250LL << "12.50"
                                           << "$12.50"
                                           << "12.5";
        QTest::newRow("grouped") << "en_US" << 123450LL << "1,234.50"
                                 << "$1,234.50"
                                 << "1234.5";
        QTest::newRow("negative") << "en_US" << -15000LL << "-150.00"
                                  << "($150.00)"
                                  << "-150";
        QTest::newRow("beyond single precision") << "en_US" << 1677721700LL << "16,777,217.00"
                                                 << "$16,777,217.00"
                                                 << "16777217";
        QTest::newRow("largest") << "en_US" << 99999999999999LL << "999,999,999,999.99"
                                 << "$999,999,999,999.99"
                                 << "999999999999.99";
        QTest::newRow("de grouped") << "de_DE" << 123450LL << "1.234,50"
                                    << "1.234,50\u00a0€"
                                    << "1234,5";
        QTest::newRow("de negative") << "de_DE" << -2500LL << "-25,00"
                                     << "-25,00\u00a0€"
                                     << "-25";
        // The locale's own grouping, signs, digits and currency pattern.
        auto row = [](const char* name, const char* locale, qint64 cents, const char* standard,
                      const char* currency, const char* plain) {
            QTest::newRow(name) << QString(locale) << cents << QString::fromUtf8(standard)
                                << QString::fromUtf8(currency) << QString::fromUtf8(plain);
        };
        row("es short, ungrouped", "es_ES", 123450, "1234,50", "1234,50\u00a0€", "1234,5");
        row("es grouped", "es_ES", 123456789, "1.234.567,89", "1.234.567,89\u00a0€", "1234567,89");
        row("pl", "pl_PL", 123456789, "1\u00a0234\u00a0567,89", "1\u00a0234\u00a0567,89\u00a0zł",
            "1234567,89");
        row("pl negative", "pl_PL", -123450, "-1234,50", "(1234,50\u00a0zł)", "-1234,5");
        row("de_CH", "de_CH", 123456789, "1’234’567.89", "CHF\u00a01’234’567.89", "1234567.89");
        row("de_CH negative", "de_CH", -123450, "-1’234.50", "CHF-1’234.50", "-1234.5");
        row("en_IN", "en_IN", 123456789, "12,34,567.89", "₹12,34,567.89", "1234567.89");
        row("en_IN negative", "en_IN", -123456789, "-12,34,567.89", "(₹12,34,567.89)",
            "-1234567.89");
        row("fa_IR negative", "fa_IR", -123450, "\u200e\u2212۱٬۲۳۴٫۵۰",
            "(\u200eریال\u00a0۱٬۲۳۴٫۵۰)", "\u200e\u2212۱۲۳۴٫۵");
        row("ar_EG", "ar_EG", 123450, "١٬٢٣٤٫٥٠", "\u200f١٬٢٣٤٫٥٠\u00a0ج.م.\u200f", "١٢٣٤٫٥");
        row("ar_EG negative", "ar_EG", -5, "\u061c-٠٫٠٥", "\u061c-\u200f٠٫٠٥\u00a0ج.م.\u200f",
            "\u061c-٠٫٠٥");
        row("fr_FR", "fr_FR", 123456789, "1\u202f234\u202f567,89", "1\u202f234\u202f567,89\u00a0€",
            "1234567,89");
        row("fr_FR negative", "fr_FR", -123450, "-1\u202f234,50", "(1\u202f234,50\u00a0€)",
            "-1234,5");
        row("sv_SE negative", "sv_SE", -123450, "\u22121\u00a0234,50",
            "\u22121\u00a0234,50\u00a0kr", "\u22121234,5");
        row("ja_JP", "ja_JP", 123450, "1,234.50", "￥1,234.50", "1234.5");
        row("he_IL negative", "he_IL", -123450, "\u200e-1,234.50",
            "\u200f\u200e-1,234.50\u00a0\u200f₪", "\u200e-1234.5");
        row("ff_Adlm", "ff_Adlm_GN", 123450,
            "\U0001e951\u2e41\U0001e952\U0001e953\U0001e954.\U0001e955\U0001e950",
            "FG\u00a0\U0001e951\u2e41\U0001e952\U0001e953\U0001e954.\U0001e955\U0001e950",
            "\U0001e951\U0001e952\U0001e953\U0001e954.\U0001e955");
        row("en_US large negative", "en_US", -123456789, "-1,234,567.89", "($1,234,567.89)",
            "-1234567.89");
        row("de_DE", "de_DE", 123456789, "1.234.567,89", "1.234.567,89\u00a0€", "1234567,89");
        // a language without CLDR number data of its own: the root forms, the territory's sign
        row("st_ZA", "st_ZA", -123450, "-1,234.50", "-R\u00a01,234.50", "-1234.5");
        // C: no grouping, no currency symbol
        row("C", "C", -123450, "-1234.50", "-1234.50", "-1234.5");
    }
    void writes()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, cents);
        QFETCH(QString, standard);
        QFETCH(QString, currency);
        QFETCH(QString, plain);
        const QLocale l(locale);
        QCOMPARE(money::standard(cents, l), standard);
        QCOMPARE(money::currency(cents, l), currency);
        QCOMPARE(money::plain(cents, l), plain);
    }

    // For spreadsheets, whatever the locale: a point, two digits, a minus sign.
    void decimals()
    {
        const QList<QPair<qint64, QString>> rows{{0, "0.00"}, {5, "0.05"}, {-5, "-0.05"},
                                                 {-100, "-1.00"}, {123450, "1234.50"},
                                                 {-99999999999999, "-999999999999.99"}};
        const QLocale user;
        for (const char* locale : {"en_US", "de_DE", "de_CH", "ar_EG"}) {
            QLocale::setDefault(QLocale(locale));
            for (const auto& [cents, text] : rows)
                QCOMPARE(money::decimal(cents), text);
        }
        QLocale::setDefault(user);
    }

    // Whatever is written reads back as the same amount, in every locale the program may run
    // under, and so does what a user of that locale types for it.
    void everyWrittenFormReadsBack()
    {
        const qint64 samples[] = {0,
                                  1,
                                  -1,
                                  5,
                                  10,
                                  99,
                                  100,
                                  -100,
                                  123456,
                                  -98765432,
                                  1677721700,
                                  99999999999999,
                                  -99999999999999,
                                  100000000000,
                                  123450,
                                  1234500,
                                  123456789,
                                  -98765432100};
        const QList<QLocale> locales = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY2(locales.size() > 600,
                 qPrintable(QStringLiteral("only %1 locales to try").arg(locales.size())));
        QStringList failures;
        qsizetype writtenTried = 0, writtenLost = 0, typedTried = 0, typedRefused = 0;
        auto check = [&](const QLocale& l, qint64 c, const QString& written, const QString& typed) {
            const bool asWritten = typed == written;
            ++(asWritten ? writtenTried : typedTried);
            const money::Amount back = money::read(typed, l);
            if (back.status == Status::Number && back.cents == c)
                return;
            ++(asWritten ? writtenLost : typedRefused);
            failures << QStringLiteral(
                            "%1: %2 cents written as \"%3\", typed as \"%4\", read back as %5")
                            .arg(nameOf(l))
                            .arg(c)
                            .arg(visible(written), visible(typed), describe(back));
        };
        for (const QLocale& l : locales) {
            // The sign a user may type for the currency: its ISO code, or the symbol the
            // locale writes, on either side.
            QStringList signs{isoCodeOf(l), symbolIn(money::currency(123450, l))};
            signs.removeAll(QString());
            for (qint64 c : samples) {
                const QString standard = money::standard(c, l);
                for (const QString& written :
                     {standard, money::currency(c, l), money::plain(c, l)}) {
                    check(l, c, written, written);
                    for (const QString& typed : typedForms(written))
                        if (typed != written)
                            check(l, c, written, typed);
                }
                // Before or after the number, with a blank or not.
                for (const QString& sign : signs)
                    for (const QString& typed : typedForms(standard))
                        for (const QString& withSign :
                             {sign + u' ' + typed, sign + typed, typed + u' ' + sign, typed + sign})
                            check(l, c, standard, withSign);
            }
        }
        QVERIFY2(failures.isEmpty(),
                 qPrintable(QStringLiteral("In %1 locales, %2 of %3 written amounts read back as "
                                           "another or none, and %4 of %5 typed ones were "
                                           "refused or misread; the first:\n%6")
                                .arg(locales.size())
                                .arg(writtenLost)
                                .arg(writtenTried)
                                .arg(typedRefused)
                                .arg(typedTried)
                                .arg(failures.mid(0, 40).join(u'\n'))));
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
