// Checking and totalling the statement through its real widgets.
#include "support/statement_fixture.h"

namespace {
using Box = ScriptedDialogs::Box;
const Box NoStation{"You must select a Station", 64, "List a Station"};
const Box NoMonth{"You must select a Month", 64, "List a Month"};
const Box NotANumber{"Input is not a number, please correct this.", 64, "Input Error"};
const Box TooLarge{"Amount is too large, please correct this.", 64, "Input Error"};

const char* const ResultLabels[] = {"lblCost", "lblTcost", "lblTexpenses", "lblMinus", "lblEnd"};
const char* const ResultCaptions[] = {"Total Cost:", "Total Cost:", "Total Expenses:",
                                      "Minus Expenses Total:", "End of Month Balance:"};

void fill(StatementFixture& f, const QStringList& income, const QStringList& expenses)
{
    for (int i = 0; i < income.size(); ++i)
        f.income(i)->setText(income[i]);
    for (int i = 0; i < expenses.size(); ++i)
        f.expense(i)->setText(expenses[i]);
}

void selectStationAndMonth(StatementFixture& f, bool station = true, bool month = true)
{
    if (station)
        f.form().list("lstStations")->setCurrentIndex(6);
    if (month)
        f.form().list("lstMonths")->setCurrentIndex(2);
}

QStringList texts(StatementFixture& f)
{
    QStringList all;
    for (int i = 0; i < 10; ++i)
        all << f.income(i)->text();
    for (int i = 0; i < 7; ++i)
        all << f.expense(i)->text();
    return all;
}

QStringList results(StatementFixture& f)
{
    QStringList all;
    for (const char* name : ResultLabels)
        all << f.caption(name);
    return all;
}

QStringList heardResults(StatementFixture& f)
{
    QStringList all;
    for (const char* name : ResultLabels)
        all << heard(f.form().label(name));
    return all;
}

// Calculate as the user presses it: Alt+C from wherever the focus is.
void calculate(StatementFixture& f)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f.form().window(),
                    Qt::Key_C, Qt::AltModifier);
    QTest::qWait(250); // the button's own click animation
}
} // namespace

class TestStatementCalculate : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void checkStopsAtTheFirstProblem_data()
    {
        QTest::addColumn<bool>("station");
        QTest::addColumn<bool>("month");
        QTest::addColumn<QStringList>("income");
        QTest::addColumn<QStringList>("expenses");
        QTest::addColumn<Box>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("after");    // every amount box afterwards
        QTest::addColumn<QString>("typedStation"); // typed into the station list's field

        const QStringList wrong10(10, "x"), wrong7(7, "x");
        QStringList noStation = wrong10 + wrong7;
        QTest::newRow("no station, every box wrong")
            << false << false << wrong10 << wrong7 << NoStation << "lstStations" << noStation << "";
        QTest::newRow("station but no month")
            << true << false << QStringList{"12"} << QStringList{} << NoMonth << "lstMonths"
            << (QStringList{"12"} + QStringList(16, "")) << "";

        QStringList income(10, ""), expenses(7, "");
        income[9] = "abc";
        expenses[0] = "1,2";
        QStringList after = income + expenses;
        after[9] = "";
        QTest::newRow("income before expenses")
            << true << true << income << expenses << NotANumber << "txtBox(9)" << after << "";

        income = QStringList(10, "");
        income[2] = "   ";
        income[5] = "x";
        after = income + QStringList(7, "");
        after[2] = "";
        QTest::newRow("lower index first; blanks are not empty")
            << true << true << income << QStringList{} << NotANumber << "txtBox(2)" << after << "";

        // In the last box: every box is checked, up to the end of the column.
        expenses = QStringList(7, "");
        expenses[6] = "1000000000000";
        after = QStringList(10, "") + expenses;
        after[16] = "";
        QTest::newRow("too large")
            << true << true << QStringList{} << expenses << TooLarge << "txtBoxa(6)" << after << "";

        expenses[6] = "1E+39";
        QTest::newRow("far too large")
            << true << true << QStringList{} << expenses << TooLarge << "txtBoxa(6)" << after << "";
        for (const char* large : {"-1000000000000", "999999999999.995", "-999999999999.995"}) {
            expenses[6] = large;
            QTest::addRow("too large: %s", large) << true << true << QStringList{} << expenses
                                                  << TooLarge << "txtBoxa(6)" << after << "";
        }

        // Only a pick selects a station: a typed one, even one that reads like an entry, and a
        // text typed over a pick leave none selected.
        const QStringList none(17, "");
        QTest::newRow("typed station") << false << true << QStringList{} << QStringList{}
                                       << NoStation << "lstStations" << none << "Station 5";
        QTest::newRow("typed over a pick") << true << true << QStringList{} << QStringList{}
                                           << NoStation << "lstStations" << none << "abc";
    }
    void checkStopsAtTheFirstProblem()
    {
        QFETCH(bool, station);
        QFETCH(bool, month);
        QFETCH(QStringList, income);
        QFETCH(QStringList, expenses);
        QFETCH(Box, message);
        QFETCH(QString, focus);
        QFETCH(QStringList, after);
        QFETCH(QString, typedStation);

        QStringList whileShown;
        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f, station, month);
        fill(f, income, expenses);
        if (!typedStation.isEmpty()) {
            f.focus(f.form().list("lstStations"));
            typeText(typedStation);
            pressKey(Qt::Key_Tab);
        }
        for (int i = 0; i < 6; ++i)
            f.description(i)->setText("anything at all");
        const QStringList before = texts(f);
        f.dialogs.onShow = [&] { whileShown = texts(f); };
        calculate(f);
        QVERIFY2(f.dialogs.shown == QList<Box>{message}, qPrintable(f.dialogs.describe()));
        QCOMPARE(whileShown, before); // the wrong text is still there while the message is up

        QTRY_COMPARE(focusName(), focus);
        QCOMPARE(texts(f), after);
        QCOMPARE(results(f), QStringList(5, "")); // nothing totalled
    }

    void refusedCheckKeepsTheLastResults()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f);
        fill(f, {"100"}, {"40"});
        calculate(f);
        const QStringList before = results(f);
        QCOMPARE(before, (QStringList{"$100.00", "$100.00", "$40.00", "$40.00", "$60.00"}));
        f.income(1)->setText("ten");
        calculate(f);
        QCOMPARE(f.dialogs.shown, QList<Box>{NotANumber});
        QCOMPARE(results(f), before);
        QCOMPARE(f.income(0)->text(), "100.00"); // untouched by the refused Calculate
    }

    void totalsAndRewrittenBoxes_data()
    {
        QTest::addColumn<QStringList>("income");
        QTest::addColumn<QStringList>("expenses");
        QTest::addColumn<QStringList>("boxes"); // income then expense boxes afterwards
        QTest::addColumn<QStringList>(
            "results"); // lblCost, lblTcost, lblTexpenses, lblMinus, lblEnd

        const QStringList empty17(17, "");
        QTest::newRow("all empty")
            << QStringList{} << QStringList{} << empty17 << QStringList(5, "$0.00");

        QStringList boxes = empty17;
        boxes[3] = "1,234.50";
        boxes[10] = "-25.00";
        QTest::newRow("grouping and a negative expense")
            << QStringList{"", "", "", "1234.5"} << QStringList{"-25"} << boxes
            << QStringList{"$1,234.50", "$1,234.50", "($25.00)", "($25.00)", "$1,259.50"};

        QTest::newRow("zero amounts are emptied")
            << QStringList{"0", "0.00", "-0", "0.001"} << QStringList{"0.004"} << empty17
            << QStringList(5, "$0.00");

        boxes = empty17;
        boxes[0] = "100.00";
        boxes[10] = "250.00";
        QTest::newRow("negative balance")
            << QStringList{"100"} << QStringList{"250"} << boxes
            << QStringList{"$100.00", "$100.00", "$250.00", "$250.00", "($150.00)"};

        boxes[10] = "123,556.78";
        QTest::newRow("five-figure deficit")
            << QStringList{"100"} << QStringList{"123556.78"} << boxes
            << QStringList{"$100.00", "$100.00", "$123,556.78", "$123,556.78", "($123,456.78)"};

        boxes = empty17;
        boxes[0] = "16,777,217.00";
        QTest::newRow("exact beyond single precision")
            << QStringList{"16777217"} << QStringList{} << boxes
            << QStringList{"$16,777,217.00", "$16,777,217.00", "$0.00", "$0.00", "$16,777,217.00"};

        QStringList tenths(9, "0.1");
        boxes = QStringList(9, "0.10") + QStringList(8, "");
        QTest::newRow("tenths add up exactly")
            << tenths << QStringList{} << boxes
            << QStringList{"$0.90", "$0.90", "$0.00", "$0.00", "$0.90"};

        boxes = empty17;
        boxes[0] = "5.00";
        boxes[1] = "-5.00";
        boxes[2] = "1,000.00";
        boxes[3] = "0.01";
        QTest::newRow("symbols, parentheses, exponent, rounding")
            << QStringList{"$5", "(5)", "1e3", "0.005"} << QStringList{} << boxes
            << QStringList{"$1,000.01", "$1,000.01", "$0.00", "$0.00", "$1,000.01"};

        QStringList big(10, "999999999999.99");
        QTest::newRow("largest amounts in every box")
            << big << QStringList(7, "-999999999999.99")
            << (QStringList(10, "999,999,999,999.99") + QStringList(7, "-999,999,999,999.99"))
            << QStringList{"$9,999,999,999,999.90", "$9,999,999,999,999.90",
                           "($6,999,999,999,999.93)", "($6,999,999,999,999.93)",
                           "$16,999,999,999,999.83"};
    }
    void totalsAndRewrittenBoxes()
    {
        QFETCH(QStringList, income);
        QFETCH(QStringList, expenses);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, results);

        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f);
        fill(f, income, expenses);
        f.description(0)->setText("12345");
        calculate(f);
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.describe()));
        QCOMPARE(texts(f), boxes);
        QCOMPARE(::results(f), results);
        QStringList announced;
        for (int i = 0; i < results.size(); ++i)
            announced << QString::fromLatin1(ResultCaptions[i]) + u' ' + results[i];
        QCOMPARE(heardResults(f), announced);
        QCOMPARE(focusName(), "cmdPrint");
        QCOMPARE(f.description(0)->text(), "12345");
        // Every figure whole, the rewritten boxes without the focus as much as the totals.
        for (int i = 0; i < 17; ++i) {
            QLineEdit* box = i < 10 ? f.income(i) : f.expense(i - 10);
            QVERIFY2(figureCutOff(box).isEmpty(), qPrintable(figureCutOff(box)));
        }
        for (const char* name : ResultLabels) {
            QLabel* label = f.form().label(name);
            QVERIFY2(figureCutOff(label).isEmpty(), qPrintable(figureCutOff(label)));
        }
    }

    void calculateTwiceChangesNothing()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f);
        fill(f, {"1234.56", "1,000", "0.1", "-3", "$7", "12.345", "", "99", "1e4", "0.2"},
             {"2500", "-0.5", "", "33.33", "(1)", "1,234,567.891", "4"});
        calculate(f);
        const QStringList boxes = texts(f), totals = results(f);
        QCOMPARE(totals.first(), "$12,350.21");
        f.focus(f.income(0));
        calculate(f);
        QCOMPARE(texts(f), boxes);
        QCOMPARE(results(f), totals);
    }

    void enterInAnAmountBoxCalculates()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f);
        f.focus(f.expense(4));
        typeText("12.5");
        pressKey(Qt::Key_Return);
        QCOMPARE(f.expense(4)->text(), "12.50");
        QCOMPARE(f.caption("lblTexpenses"), "$12.50");
        QCOMPARE(focusName(), "cmdPrint");
    }

    void oneReadingRuleUnderTheDecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        StatementFixture f;
        QVERIFY(f.ready());
        selectStationAndMonth(f);
        fill(f, {"1.234,5", "25,50"}, {"1e3", "1.5"});
        calculate(f);
        // 1.5 is no number where the comma is the decimal sign: it is refused, not read as 15.
        QCOMPARE(f.dialogs.shown, QList<Box>{NotANumber});
        QCOMPARE(focusName(), "txtBoxa(1)");
        calculate(f);
        QCOMPARE(f.income(0)->text(), "1.234,50");
        QCOMPARE(f.income(1)->text(), "25,50");
        QCOMPARE(f.expense(0)->text(), "1.000,00");
        const QString nbsp(QChar(0xa0));
        QCOMPARE(f.caption("lblCost"), "1.260,00" + nbsp + "€");
        QCOMPARE(f.caption("lblEnd"), "260,00" + nbsp + "€");
        const QStringList first = texts(f);
        calculate(f);
        QCOMPARE(texts(f), first);
        QCOMPARE(f.form().list("lstMonths")->itemText(2), "März");
    }
};

QTEST_MAIN(TestStatementCalculate)
#include "tst_statement_calculate.moc"
