// Reading and writing amounts: one rule, exact cents, and every written text reads back.
#include "money/money.h"

#include <QTest>

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
        row("en_US", "1000000000000", L);
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

    // Whatever is written reads back as the same amount, in locales of every kind.
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
                                  100000000000};
        for (const char* name :
             {"en_US", "de_DE", "fr_FR", "en_IN", "de_CH", "nl_NL", "sv_SE", "ar_EG", "ja_JP"}) {
            const QLocale l{QString::fromLatin1(name)};
            for (qint64 c : samples) {
                for (const QString& text :
                     {money::standard(c, l), money::currency(c, l), money::plain(c, l)}) {
                    const money::Amount back = money::read(text, l);
                    QVERIFY2(
                        back.status == Status::Number && back.cents == c,
                        qPrintable(QStringLiteral("%1: %2 cents written as \"%3\" read back as %4")
                                       .arg(name)
                                       .arg(c)
                                       .arg(text, describe(back))));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
