// The two pop-money calculators, their hand-off with the statement, and their lifecycle.
#include "popcalc/popcalc_layout.h"
#include "support/statement_fixture.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {
using Box = ScriptedDialogs::Box;
const Box NotANumber{"Input is not a number, please correct this.", 64, "Input Error"};
const Box TooLarge{"Amount is too large, please correct this.", 64, "Input Error"};
const Box TotalTooLarge{"The total is too large, please correct the amounts.", 64, "Input Error"};
const Box NothingCalculated{
    "You must make an entry before you can submit or you forgot to calculate first!", 32,
    "Question"};
const Box CancelQuestion{"Do you want to cancel the operation?", 36, "Cancel"};
const Box ExitQuestion{"Are you sure you want to exit?", 36, "Form QM-415"};

struct Side {
    PopCalcForm& (*form)();
    QString boxes, label, target, description;
    int targetIndex;
};
const Side Income{&frmPop, "txtP1", "lblP1", "txtBox", "Text1(0)", 7};
const Side Expense{&frmP2, "txtP2", "lblP2", "txtBoxa", "Text1(2)", 2};

struct CalcFixture : StatementFixture {
    // Enters the pop-money line the way a user does, and waits for its calculator.
    PopCalcForm& open(const Side& side)
    {
        QLineEdit* before = textBox(side.target, side.targetIndex - 1);
        if (QApplication::activeWindow() != form().window()) {
            form().window()->activateWindow();
            waitActive(form().window());
        }
        focus(before);
        QTest::keyClick(before, Qt::Key_Tab);
        PopCalcForm& calc = side.form();
        waitActive(calc.window());
        return calc;
    }
    QLineEdit* textBox(const QString& array, int i) { return form().textBox(array, i); }
    QLineEdit* box(const Side& side, int i) { return side.form().textBox(side.boxes, i); }
    QStringList boxTexts(const Side& side)
    {
        QStringList all;
        for (int i = 0; i < 9; ++i)
            all << box(side, i)->text();
        return all;
    }
    void fillBoxes(const Side& side, const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            box(side, i)->setText(texts[i]);
    }
    QString total(const Side& side) { return side.form().label(side.label)->text(); }
    void click(const Side& side, const char* button) { side.form().button(button)->click(); }
};

QStringList Sides() { return {"income", "expense"}; }
const Side& sideNamed(const QString& name) { return name == "income" ? Income : Expense; }
void addSides()
{
    QTest::addColumn<QString>("side");
    for (const QString& s : Sides())
        QTest::newRow(qPrintable(s)) << s;
}
} // namespace

class TestPopCalc : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // A calculator opened at a zoom level comes up at it: each twin where its sheet puts it
    // times the level, every text and figure whole.
    void twinStandsLowerWithTheSameLook_data()
    {
        QTest::addColumn<int>("presses"); // of Ctrl++ in the statement
        QTest::addColumn<int>("level");
        int presses = 0;
        for (int level : PromisedLevels)
            QTest::addRow("%d %%", level) << presses++ << level;
    }
    void twinStandsLowerWithTheSameLook()
    {
        QFETCH(int, presses);
        QFETCH(int, level);
        CalcFixture f;
        QVERIFY(f.ready());
        for (int i = 0; i < presses; ++i)
            pressKey(Qt::Key_Plus, Qt::ControlModifier);
        QWidget* pop = frmPop().window();
        QWidget* p2 = frmP2().window();
        QCOMPARE(pop->windowTitle(), "Pop Money Calculation");
        QCOMPARE(p2->windowTitle(), "Pop Money Calculation");
        for (const Side* s : {&Income, &Expense}) {
            f.fillBoxes(*s, {"999999999999.99", "-999999999999.99", "-999999999999.99"});
            f.click(*s, "cmdCalculate");
        }
        // Each twin where its sheet puts it, every text and figure whole.
        const QString wrong =
            zoomedWrong(popLayout(), frmPop(), level) + zoomedWrong(p2Layout(), frmP2(), level);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(
            frmPop().label("Label3")->text(),
            "3. When finished hit the \"Submit Button\" to send the information to the main form");
        // The total's caption wraps onto two lines within its label.
        QLabel* caption = frmPop().label("Label4");
        QVERIFY(caption->wordWrap());
        QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) > caption->width());
        QVERIFY(caption->heightForWidth(caption->width()) <= caption->height() + 2);
    }

    void eachCalculatorHasItsOwnTabOrder_data() { addSides(); }
    void eachCalculatorHasItsOwnTabOrder()
    {
        QFETCH(QString, side);
        const Side& s = sideNamed(side);
        CalcFixture f;
        QVERIFY(f.ready());
        PopCalcForm& calc = f.open(s);
        QCOMPARE(focusName(), s.boxes + "(0)");
        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            pressKey(Qt::Key_Tab);
            visited << focusName();
        }
        QStringList boxes;
        for (int i = 0; i < 9; ++i)
            boxes << QStringLiteral("%1(%2)").arg(s.boxes).arg(i);
        const QStringList buttons = {"cmdCalculate", "cmdReset", "cmdSubmit", "cmdCancel"};
        QStringList expected;
        if (&s == &Income) {
            expected = boxes.mid(1) + buttons + boxes.mid(0, 1);
        } else {
            // The other way round: from the first box on to Cancel, then back up the grid.
            expected = QStringList{"cmdCancel", "cmdSubmit", "cmdReset", "cmdCalculate"};
            for (int i = 8; i >= 0; --i)
                expected << boxes[i];
        }
        QCOMPARE(visited, expected);
        QCOMPARE(calc.loads(), 1);
    }

    void enteringThePopMoneyLineOpensItsCalculator_data() { addSides(); }
    void enteringThePopMoneyLineOpensItsCalculator()
    {
        QFETCH(QString, side);
        const Side& s = sideNamed(side);
        CalcFixture f;
        QVERIFY(f.ready());
        f.textBox(s.target, s.targetIndex)->setText("12.5");
        PopCalcForm& calc = f.open(s);
        QCOMPARE(calc.state(), Form::State::Shown);
        QCOMPARE(QApplication::activeWindow(), calc.window());
        QCOMPARE(focusName(), s.boxes + "(0)");
        QCOMPARE(f.form().window()->focusWidget()->objectName(), s.description);
        QCOMPARE(f.textBox(s.target, s.targetIndex)->text(), "12.5");

        // Only the calculator fills the line: a drop and the context menu's Paste cannot.
        QLineEdit* line = f.textBox(s.target, s.targetIndex);
        QMimeData dropped;
        dropped.setText("99");
        const QPoint middle = line->rect().center();
        QDragEnterEvent enter(middle, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &enter);
        QDropEvent drop(middle, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &drop);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, middle, line->mapToGlobal(middle));
        QApplication::sendEvent(line, &menu);
        QWidget* popup = QApplication::activePopupWidget();
        if (popup)
            popup->close();
        QVERIFY2(!popup, "right-clicking the pop-money line opened a context menu");
        QVERIFY2(line->text() == "12.5",
                 qPrintable(QStringLiteral("a drop turned the line into '%1'").arg(line->text())));

        // Entering it again while it is open brings the same window back as it was.
        f.box(s, 4)->setText("7");
        QWidget* window = calc.window();
        f.focus(f.box(s, 4)); // the focus elsewhere in the calculator
        f.focus(calc.button("cmdReset"));
        f.form().window()->activateWindow();
        QVERIFY(waitActive(f.form().window()));
        f.open(s);
        QCOMPARE(calc.window(), window);
        QCOMPARE(calc.loads(), 1);
        QCOMPARE(f.box(s, 4)->text(), "7");
        // The expense side always starts in its first box; the income side keeps its place.
        QCOMPARE(focusName(), &s == &Expense ? QString("txtP2(0)") : QString("cmdReset"));
    }

    void enteringOtherBoxesSelectsTheirArrayAndOpensNothing()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.income(3)->setText("1,234.50");
        f.income(5)->setText("9.00");
        f.description(1)->setText("raffle");
        f.description(4)->setText("postage");
        f.focus(f.income(3));
        QCOMPARE(f.income(3)->selectedText(), "1,234.50");
        QCOMPARE(f.income(5)->selectedText(), "9.00"); // every box of the array
        // ... but only the box with the focus shows it.
        QVERIFY2(showsHighlight(f.income(3)), "the box entered shows no selection");
        QVERIFY2(!showsHighlight(f.income(5)), "a box without the focus shows a selection");
        typeText("5");
        QCOMPARE(f.income(3)->text(), "5");
        // A click enters a box the same way: its whole text is selected.
        QTest::mouseClick(f.income(5), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(focusName(), "txtBox(5)");
        QCOMPARE(f.income(5)->selectedText(), "9.00");
        QTest::mouseClick(f.income(5), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(f.income(5)->selectedText(), ""); // a second click places the cursor
        f.focus(f.description(4));
        QCOMPARE(f.description(1)->selectedText(), "raffle");
        QCOMPARE(f.description(4)->selectedText(), "postage");
        QVERIFY2(showsHighlight(f.description(4)), "the description entered shows no selection");
        QVERIFY2(!showsHighlight(f.description(1)),
                 "a description without the focus shows a selection, on screen and on paper");
        f.focus(f.expense(3));
        QCOMPARE(frmPop().state(), Form::State::Unloaded);
        QCOMPARE(frmP2().state(), Form::State::Unloaded);
    }

    void calculateAddsUpAndRewrites_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("total");
        QTest::newRow("all empty") << QStringList{} << QStringList(9, "") << "$0.00";
        QTest::newRow("tenths") << QStringList(9, "0.1") << QStringList(9, "0.10") << "$0.90";
        QTest::newRow("zero and less than a cent")
            << QStringList{"0", "0.00", "0.001"} << QStringList(9, "") << "$0.00";
        QStringList shown(9, "");
        shown[0] = "-5.00";
        shown[1] = "1,234.50";
        shown[2] = "1,000.00";
        QTest::newRow("negative, grouping, exponent")
            << QStringList{"-5", "1234.5", "1e3"} << shown << "$2,229.50";
        shown = QStringList(9, "");
        shown[0] = "999,999,999,999.99";
        shown[1] = shown[2] = "-999,999,999,999.99";
        QTest::newRow("largest amounts")
            << QStringList{"999999999999.99", "-999999999999.99", "-999999999999.99"} << shown
            << "($999,999,999,999.99)";
        shown = QStringList(9, "");
        shown[0] = "999,999,999,999.98";
        shown[1] = "0.01";
        QTest::newRow("largest total")
            << QStringList{"999999999999.98", "0.006"} << shown << "$999,999,999,999.99";
    }
    void calculateAddsUpAndRewrites()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        QFETCH(QString, total);
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, typed);
        pressKey(Qt::Key_Return); // Enter in the first box clicks Calculate
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.describe()));
        QCOMPARE(f.boxTexts(Income), shown);
        QCOMPARE(f.total(Income), total);
        QCOMPARE(heard(frmPop().label("lblP1")), "Total Amount Collected for the Month: " + total);
        QCOMPARE(focusName(), "cmdSubmit");
        for (int i = 0; i < 9; ++i)
            QVERIFY2(figureCutOff(f.box(Income, i)).isEmpty(),
                     qPrintable(figureCutOff(f.box(Income, i))));
        QLabel* totalLabel = frmPop().label(Income.label);
        QVERIFY2(figureCutOff(totalLabel).isEmpty(), qPrintable(figureCutOff(totalLabel)));
        // A second Calculate reads what the first wrote and changes nothing.
        f.click(Income, "cmdCalculate");
        QCOMPARE(f.boxTexts(Income), shown);
        QCOMPARE(f.total(Income), total);
    }

    // Refused on either side of zero from the limit itself on, also where only rounding a box
    // to the cent reaches it, and also after an earlier total was shown.
    void aTotalTooLargeIsRefused_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("far over") << QStringList(9, "999999999999");
        QTest::newRow("the limit") << QStringList{"999999999999.99", "0.01"};
        QTest::newRow("a cent over") << QStringList{"999999999999.99", "0.02"};
        QTest::newRow("the limit by rounding") << QStringList{"999999999999.99", "0.005"};
        QTest::newRow("the negative limit") << QStringList{"-999999999999.99", "-0.01"};
        QTest::newRow("a cent over, negative") << QStringList{"-999999999999.99", "-0.02"};
        QTest::newRow("the negative limit by rounding")
            << QStringList{"-0.005", "-999999999999.99"};
    }
    void aTotalTooLargeIsRefused()
    {
        QFETCH(QStringList, typed);
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Expense);
        f.fillBoxes(Expense, {"5"});
        f.click(Expense, "cmdCalculate");
        f.fillBoxes(Expense, typed);
        f.click(Expense, "cmdCalculate");
        QVERIFY2(f.dialogs.shown == QList<Box>{TotalTooLarge},
                 qPrintable(QStringLiteral("the user saw %1, and the total %2")
                                .arg(f.dialogs.describe(), f.total(Expense))));
        QCOMPARE(f.boxTexts(Expense), typed + QStringList(9 - typed.size(), ""));
        QCOMPARE(f.total(Expense), "");
        QTRY_COMPARE(focusName(), "txtP2(0)");
        f.click(Expense, "cmdSubmit"); // nothing calculated, so nothing is written
        QCOMPARE(f.dialogs.shown.last(), NothingCalculated);
        QCOMPARE(f.expense(2)->text(), "");
    }

    void leavingABoxReportsEveryBadBoxInOrder()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, {"", "4", "abc", "", "", "1e13", "", "", "7"});
        pressKey(Qt::Key_Tab); // leave txtP1(0)
        QVERIFY2(f.dialogs.shown == (QList<Box>{NotANumber, TooLarge}),
                 qPrintable(f.dialogs.describe()));
        QCOMPARE(f.boxTexts(Income), (QStringList{"", "4", "", "", "", "", "", "", "7"}));
        QCOMPARE(focusName(), "txtP1(5)");
        pressKey(Qt::Key_Tab); // nothing left to report
        QCOMPARE(f.dialogs.shown.size(), 2);
    }

    void enterWithABadBoxReportsItInsteadOfDroppingIt()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        // Enter in a bad box, where no focus move reports the others: each is reported anyway.
        f.fillBoxes(Income, {"1,2", "10", "x"});
        pressKey(Qt::Key_Return);
        QCOMPARE(f.dialogs.shown, (QList<Box>{NotANumber, NotANumber}));
        QCOMPARE(f.total(Income), "");
        QCOMPARE(f.boxTexts(Income).mid(0, 3), (QStringList{"", "10", ""}));
        QCOMPARE(focusName(), "txtP1(2)");
    }

    void submitNeedsACalculateFirst()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, {"3"});
        f.focus(frmPop().button("cmdReset"));
        QTest::keyClick(frmPop().window(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(f.dialogs.shown, QList<Box>{NothingCalculated});
        QTRY_COMPARE(focusName(), "txtP1(0)");
        f.click(Income, "cmdCalculate");
        f.click(Income, "cmdReset");
        QCOMPARE(f.boxTexts(Income), QStringList(9, ""));
        QCOMPARE(f.total(Income), "");
        QCOMPARE(focusName(), "cmdCalculate");
        f.click(Income, "cmdSubmit");
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(frmPop().state(), Form::State::Shown);
        QCOMPARE(f.income(7)->text(), "");

        // With real message boxes the window gets the keyboard back only after the box has
        // gone; the move to the first box is still a move inside it, so box 5 is checked.
        f.dialogs.modal = true;
        f.focus(f.box(Income, 4));
        typeText("abc");
        QTest::keyClick(frmPop().window(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY2(
            f.dialogs.shown.mid(2) == (QList<Box>{NothingCalculated, NotANumber}),
            qPrintable(QStringLiteral("after Alt+S the user saw: ") + f.dialogs.describe()));
        QVERIFY2(
            f.box(Income, 4)->text().isEmpty(),
            qPrintable(QStringLiteral("box 5 still holds '%1'").arg(f.box(Income, 4)->text())));
        QTRY_COMPARE(focusName(), "txtP1(4)");
        QCOMPARE(f.box(Income, 4)->text(), "");
    }

    void submitHandsThePlainTotalToTheStatement_data() { addSides(); }
    void submitHandsThePlainTotalToTheStatement()
    {
        QFETCH(QString, side);
        const Side& s = sideNamed(side);
        CalcFixture f;
        QVERIFY(f.ready());
        PopCalcForm& calc = f.open(s);
        f.fillBoxes(s, QStringList(9, "0.1"));
        f.click(s, "cmdCalculate");
        f.box(s, 0)->setText("100"); // changed after Calculate: not part of the total
        f.click(s, "cmdSubmit");
        QCOMPARE(f.textBox(s.target, s.targetIndex)->text(), "0.9");
        QCOMPARE(calc.state(), Form::State::Unloaded);
        QCOMPARE(calc.PopTotal, 90);
        QVERIFY(waitActive(f.form().window()));
        QTRY_COMPARE(focusName(), s.description);
        QCOMPARE(f.form().window()->focusWidget()->objectName(), s.description);

        // The statement formats it at its next Calculate.
        f.form().list("lstStations")->setCurrentIndex(0);
        f.form().list("lstMonths")->setCurrentIndex(0);
        f.form().button("cmdCalculate")->click();
        QCOMPARE(f.textBox(s.target, s.targetIndex)->text(), "0.90");

        // Opened again, it starts from its layout.
        f.open(s);
        QCOMPARE(f.boxTexts(s), QStringList(9, ""));
        QCOMPARE(f.total(s), "");
        QCOMPARE(calc.loads(), 2);
    }

    void submitsInOtherLocalesReadBack()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, {"1.234,5", "0,25"});
        f.click(Income, "cmdCalculate");
        QCOMPARE(f.total(Income), QString("1.234,75") + QChar(0xa0) + "€");
        f.click(Income, "cmdSubmit");
        QCOMPARE(f.income(7)->text(), "1234,75");
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("side");
        QTest::addColumn<int>("answer");
        for (const QString& s : Sides()) {
            QTest::addRow("%s, Yes", qPrintable(s)) << s << dialogs::Yes;
            QTest::addRow("%s, No", qPrintable(s)) << s << dialogs::No;
        }
    }
    void cancel()
    {
        QFETCH(QString, side);
        QFETCH(int, answer);
        const Side& s = sideNamed(side);
        CalcFixture f;
        QVERIFY(f.ready());
        f.textBox(s.target, s.targetIndex)->setText("55");
        PopCalcForm& calc = f.open(s);
        f.fillBoxes(s, {"1", "2"});
        f.click(s, "cmdCalculate");
        QString focusWhileAsked;
        f.dialogs.onShow = [&] {
            focusWhileAsked = f.form().window()->focusWidget()->objectName();
        };
        f.dialogs.answers = {answer};
        f.click(s, "cmdCancel");
        QCOMPARE(f.dialogs.shown, QList<Box>{CancelQuestion});
        QCOMPARE(focusWhileAsked, s.description);
        QCOMPARE(f.textBox(s.target, s.targetIndex)->text(), "55");
        if (answer == dialogs::Yes) {
            QCOMPARE(calc.state(), Form::State::Unloaded);
            QVERIFY(waitActive(f.form().window()));
            QTRY_COMPARE(focusName(), s.description);
        } else {
            QCOMPARE(calc.state(), Form::State::Shown);
            QVERIFY(waitActive(calc.window()));
            QCOMPARE(f.boxTexts(s).mid(0, 3), (QStringList{"1.00", "2.00", ""}));
            QCOMPARE(f.total(s), "$3.00");
        }
    }

    void bothCalculatorsOpenAtOnce()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, {"10"});
        f.click(Income, "cmdCalculate");
        f.open(Expense);
        f.fillBoxes(Expense, {"4", "4"});
        f.click(Expense, "cmdCalculate");
        QCOMPARE(frmPop().state(), Form::State::Shown);
        QCOMPARE(frmP2().state(), Form::State::Shown);
        QCOMPARE(f.total(Income), "$10.00");
        QCOMPARE(f.total(Expense), "$8.00");

        // Clear-like changes to the statement leave both calculators alone.
        f.income(0)->setText("1");
        f.click(Expense, "cmdSubmit");
        f.click(Income, "cmdSubmit");
        QCOMPARE(f.income(7)->text(), "10");
        QCOMPARE(f.expense(2)->text(), "8");
    }

    void closingACalculatorByItsFrameWritesNothing()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.fillBoxes(Income, {"10"});
        f.click(Income, "cmdCalculate");
        frmPop().window()->close();
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(frmPop().state(), Form::State::Unloaded);
        QCOMPARE(f.income(7)->text(), "");
        QCOMPARE(f.form().state(), Form::State::Shown);
    }

    void exitWithACalculatorOpenKeepsTheProgramRunning()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.form().list("lstStations")->setCurrentIndex(3);
        f.income(0)->setText("500");
        f.open(Expense);
        f.form().button("cmdExit")->click();
        QCOMPARE(f.dialogs.shown, QList<Box>{ExitQuestion});
        QCOMPARE(f.form().state(), Form::State::Unloaded);
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 0);

        f.fillBoxes(Expense, {"2.5", "10"});
        f.click(Expense, "cmdCalculate");
        f.click(Expense, "cmdSubmit");
        // A fresh statement: lists filled once, nothing else carried over.
        QCOMPARE(f.form().state(), Form::State::Shown);
        QCOMPARE(f.form().list("lstStations")->count(), 34);
        QCOMPARE(f.form().list("lstMonths")->count(), 12);
        QCOMPARE(f.form().list("lstStations")->currentIndex(), -1);
        QCOMPARE(f.income(0)->text(), "");
        QCOMPARE(f.expense(2)->text(), "12.5");
        QVERIFY(waitActive(f.form().window()));
        QTRY_COMPARE(focusName(), "Text1(2)");
        QCOMPARE(frmP2().state(), Form::State::Unloaded);
    }

    void cancelAfterExitShowsTheStatementFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << dialogs::Yes;
        QTest::newRow("No") << dialogs::No;
    }
    void cancelAfterExitShowsTheStatementFirst()
    {
        QFETCH(int, answer);
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.form().button("cmdExit")->click();
        QCOMPARE(f.form().state(), Form::State::Unloaded);
        Form::State statementWhileAsked = Form::State::Unloaded;
        f.dialogs.onShow = [&] { statementWhileAsked = f.form().state(); };
        f.dialogs.answers = {answer};
        f.click(Income, "cmdCancel");
        QCOMPARE(f.dialogs.shown.last(), CancelQuestion);
        QCOMPARE(statementWhileAsked, Form::State::Shown);
        QCOMPARE(f.form().state(), Form::State::Shown);
        QCOMPARE(frmPop().state(),
                 answer == dialogs::Yes ? Form::State::Unloaded : Form::State::Shown);
    }

    void closingTheLastCalculatorAfterExitEndsTheProgram()
    {
        CalcFixture f;
        QVERIFY(f.ready());
        f.open(Income);
        f.form().button("cmdExit")->click();
        frmPop().window()->close();
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 1);
    }
};

QTEST_MAIN(TestPopCalc)
#include "tst_popcalc.moc"
