// The statement window as it starts, how Tab and Enter move through it, and how it exits.
#include "support/statement_fixture.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QWheelEvent>

class TestStatementWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void startsWithFilledListsAndNothingSelected()
    {
        StatementFixture f;
        QComboBox* stations = f.form().list("lstStations");
        QComboBox* months = f.form().list("lstMonths");
        QCOMPARE(stations->count(), 34);
        QCOMPARE(stations->itemText(0), "Station 1");
        QCOMPARE(stations->itemText(1), "Station 2");
        QCOMPARE(stations->itemText(9), "Station 10");
        QCOMPARE(stations->itemText(33), "Station 34");
        QCOMPARE(months->count(), 12);
        QCOMPARE(months->itemText(0), "January");
        QCOMPARE(months->itemText(11), "December");
        QCOMPARE(stations->currentIndex(), -1);
        QCOMPARE(months->currentIndex(), -1);
        QCOMPARE(stations->currentText(), "");
        QVERIFY(stations->isEditable());
        QVERIFY(!months->isEditable());
        QCOMPARE(f.form().window()->windowTitle(), "Financial Statement");
        QVERIFY(!f.form().window()->windowIcon().isNull());
    }

    // The list names a month as it stands alone, not as a date does (Polish: "5 marca").
    void monthsAreNamedOnTheirOwn()
    {
        const auto restore = qScopeGuard(
            [] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        StatementFixture f;
        QCOMPARE(f.form().list("lstMonths")->itemText(2), "marzec");
    }

    void theWheelTurnsOnlyTheFocusedList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("station") << "lstStations";
        QTest::newRow("month") << "lstMonths";
    }
    void theWheelTurnsOnlyTheFocusedList()
    {
        QFETCH(QString, list);
        StatementFixture f;
        QVERIFY(f.ready());
        QComboBox* box = f.form().list(list);
        f.focus(f.income(0));
        auto turn = [box] {
            const QPointF at = box->rect().center();
            QWheelEvent wheel(at, box->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &wheel);
        };
        turn();
        QVERIFY2(box->currentIndex() == -1,
                 qPrintable(QStringLiteral("the pointer crossing %1 picked '%2'")
                                .arg(list, box->currentText())));
        QCOMPARE(focusName(), "txtBox(0)");
        f.focus(box);
        turn();
        QCOMPARE(box->currentIndex(), 0);
    }

    void centresFromLeftToRight_data()
    {
        QTest::addColumn<float>("screen");
        QTest::addColumn<float>("form");
        QTest::addColumn<float>("left");
        QTest::newRow("fits") << 15360.f << 11400.f << 1980.f;
        QTest::newRow("one twip wider keeps the half") << 15360.f << 11401.f << 1979.5f;
        QTest::newRow("wider than the screen") << 9600.f << 11400.f << -900.f;
    }
    void centresFromLeftToRight()
    {
        QFETCH(float, screen);
        QFETCH(float, form);
        QFETCH(float, left);
        QCOMPARE(StatementForm::centredLeft(screen, form), left);
    }

    void windowIsCentredOnTheScreen()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        QWidget* w = f.form().window();
        const int screen = w->screen()->geometry().width();
        QVERIFY2(qAbs(w->frameGeometry().left() * 2 + w->frameGeometry().width() - screen) <= 1,
                 qPrintable(QStringLiteral("window at x=%1, width %2 on a screen %3 wide")
                                .arg(w->frameGeometry().left())
                                .arg(w->frameGeometry().width())
                                .arg(screen)));
        QCOMPARE(qRound(f.form().left() / TwipsPerPixel), w->frameGeometry().left());
    }

    void tabWalksTheStatementInOrderAndWraps()
    {
        // The two pop-money lines hand the focus on to the next description at once.
        const QStringList order = {
            "lstStations", "lstMonths",  "txtBox(0)",  "txtBox(1)", "txtBox(2)",  "txtBox(3)",
            "txtBox(4)",   "txtBox(5)",  "txtBox(6)",  "Text1(0)",  "txtBox(8)",  "Text1(1)",
            "txtBox(9)",   "txtBoxa(0)", "txtBoxa(1)", "Text1(2)",  "txtBoxa(3)", "Text1(3)",
            "txtBoxa(4)",  "Text1(4)",   "txtBoxa(5)", "Text1(5)",  "txtBoxa(6)", "cmdCalculate",
            "cmdPrint",    "cmdClear",   "cmdExit",    "Picture1",
        };
        StatementFixture f;
        QVERIFY(f.ready());
        QCOMPARE(focusName(), "Picture1");
        QStringList visited;
        for (int i = 0; i < order.size(); ++i)
            visited << f.tab();
        QCOMPARE(visited, order);
        QCOMPARE(f.calculatorsOpened, (QStringList{"frmPop", "frmP2"}));

        // Backwards from the container, up the expense column to its first description,
        // where Shift+Tab enters the pop-money line and comes straight back.
        QStringList backwards;
        for (int i = 0; i < 14; ++i)
            backwards << f.tab(Qt::Key_Backtab);
        const QStringList expected = {
            "cmdExit",    "cmdClear",   "cmdPrint", "cmdCalculate", "txtBoxa(6)",
            "Text1(5)",   "txtBoxa(5)", "Text1(4)", "txtBoxa(4)",   "Text1(3)",
            "txtBoxa(3)", "Text1(2)",   "Text1(2)", "Text1(2)",
        };
        QCOMPARE(backwards, expected);
    }

    void enterInABoxOrListClicksCalculate_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("amount") << "txtBox(3)";
        QTest::newRow("expense") << "txtBoxa(6)";
        QTest::newRow("description") << "Text1(1)";
        QTest::newRow("station list") << "lstStations";
        QTest::newRow("month list") << "lstMonths";
    }
    void enterInABoxOrListClicksCalculate()
    {
        QFETCH(QString, control);
        StatementFixture f;
        QVERIFY(f.ready());
        QSignalSpy calculate(f.form().button("cmdCalculate"), &QPushButton::clicked);
        QSignalSpy print(f.form().button("cmdPrint"), &QPushButton::clicked);
        f.focus(f.form().control(control));
        QCOMPARE(focusName(), control);
        pressKey(Qt::Key_Return);
        QCOMPARE(calculate.count(), 1);
        f.focus(f.form().button("cmdPrint"));
        pressKey(Qt::Key_Enter);
        QCOMPARE(calculate.count(), 1);
        QCOMPARE(print.count(), 1);
    }

    void accessKeysClickTheirButtons()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        for (const char* name : {"cmdCalculate", "cmdPrint", "cmdClear", "cmdExit"}) {
            QPushButton* b = f.form().button(name);
            QCOMPARE(b->text().count('&'), 1);
        }
        QSignalSpy exitClicked(f.form().button("cmdExit"), &QPushButton::clicked);
        f.dialogs.answers = {dialogs::No};
        QTest::keyClick(f.form().window(), Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(exitClicked.count(), 1);
    }

    void exitAsksAndNoKeepsEverything_data()
    {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("Exit button") << false;
        QTest::newRow("close box") << true;
    }
    void exitAsksAndNoKeepsEverything()
    {
        QFETCH(bool, byCloseBox);
        StatementFixture f;
        QVERIFY(f.ready());
        f.form().list("lstStations")->setCurrentIndex(4);
        f.income(2)->setText("12.50");
        f.description(3)->setText("stamps");
        f.dialogs.answers = {dialogs::No};
        if (byCloseBox)
            f.form().window()->close();
        else
            f.form().button("cmdExit")->click();
        const ScriptedDialogs::Box question{"Are you sure you want to exit?", 36, "Form QM-415"};
        QCOMPARE(f.dialogs.shown, QList<ScriptedDialogs::Box>{question});
        QCOMPARE(f.form().state(), Form::State::Shown);
        QCOMPARE(f.form().list("lstStations")->currentText(), "Station 5");
        QCOMPARE(f.income(2)->text(), "12.50");
        QCOMPARE(f.description(3)->text(), "stamps");
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 0);
    }

    void exitAnsweredYesEndsTheProgram_data() { exitAsksAndNoKeepsEverything_data(); }
    void exitAnsweredYesEndsTheProgram()
    {
        QFETCH(bool, byCloseBox);
        StatementFixture f;
        QVERIFY(f.ready());
        f.dialogs.answers = {dialogs::Yes};
        if (byCloseBox)
            f.form().window()->close();
        else
            f.form().button("cmdExit")->click();
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.form().state(), Form::State::Unloaded);
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 1);
    }

    void resizingMovesNothing()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        QWidget* w = f.form().window();
        QHash<QWidget*, QRect> before;
        for (QWidget* c : w->findChildren<QWidget*>())
            before.insert(c, c->geometry());
        w->resize(w->width() + 200, w->height() + 150);
        QTest::qWait(10);
        w->resize(w->width() - 400, w->height() - 300);
        QTest::qWait(10);
        for (QWidget* c : w->findChildren<QWidget*>())
            if (before.contains(c))
                QCOMPARE(c->geometry(), before.value(c));
    }

    void hiddenDesignLabelsAreNotBuilt()
    {
        StatementFixture f;
        QWidget* w = f.form().window();
        for (const char* name : {"Label25", "Label26", "Label27", "Line2"})
            QVERIFY2(!w->findChild<QWidget*>(name), name);
        for (QLabel* l : w->findChildren<QLabel*>())
            QVERIFY2(!l->text().startsWith("Label"), qPrintable(l->text()));
    }

    void figuresReadUnderADarkScheme()
    {
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        QPalette dark(QColor(53, 53, 53), QColor(42, 42, 42));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(238, 238, 238));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QApplication::setPalette(dark);

        StatementFixture f;
        QVERIFY(f.ready());
        f.form().list("lstStations")->setCurrentIndex(0);
        f.form().list("lstMonths")->setCurrentIndex(0);
        f.income(0)->setText("100");
        f.expense(0)->setText("123556.78");
        f.form().button("cmdCalculate")->click();
        QCOMPARE(f.caption("lblEnd"), "($123,456.78)");
        // The fixed pale backgrounds keep dark figures; the darkest pixel inside the border is
        // the text's.
        for (const char* name : {"lblCost", "lblTexpenses", "lblTcost", "lblMinus", "lblEnd"}) {
            QLabel* label = f.form().label(name);
            const QImage image = label->grab().toImage();
            const QRect inside = label->contentsRect();
            int text = 255, ground = qGray(image.pixel(inside.topLeft()));
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x)
                    text = std::min(text, qGray(image.pixel(x, y)));
            QVERIFY2(ground > 200 && text < 60,
                     qPrintable(QStringLiteral("%1 shows \"%2\" in grey %3 on grey %4")
                                    .arg(name, label->text())
                                    .arg(text)
                                    .arg(ground)));
        }
        // Everything else follows the scheme.
        QCOMPARE(f.form().label("Label21")->palette().color(QPalette::WindowText),
                 QColor(238, 238, 238));
        QCOMPARE(f.income(0)->palette().color(QPalette::Text), QColor(238, 238, 238));
    }

    void boxesWithoutTheFocusShowTheirTextWhereTheyEditIt()
    {
        // Nothing jumps when the focus comes or goes: a box without it that has room for its
        // text paints exactly as a plain text box of the same look. The paper form's boxes have
        // a thin flat border in the scheme's shadow colour on its base colour, the text two
        // pixels in; the calculators' have the desktop's own.
        const QString paperBox = QStringLiteral("QLineEdit { border: 1px solid palette(shadow);"
                                                " background: palette(base); padding: 0 2px; }");
        StatementFixture f;
        for (QLineEdit* box : {f.income(0), f.description(0), frmPop().textBox("txtP1", 0)}) {
            box->setText("Wy 1.50");
            QLineEdit plain(box->parentWidget());
            plain.setGeometry(box->geometry());
            plain.setFont(box->font());
            if (!box->hasFrame())
                plain.setStyleSheet(paperBox);
            plain.setAlignment(box->alignment());
            plain.setText(box->text());
            QVERIFY2(box->grab().toImage() == plain.grab().toImage(),
                     qPrintable(box->objectName() + " shows its text away from where it edits it,"
                                                    " or not in the look of its form"));
        }
    }

    void everyBoxAndListTellsAScreenReaderWhatItIs()
    {
        StatementFixture f;
        QSet<QString> names;
        for (QWidget* c : f.form().window()->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(c) && !qobject_cast<QComboBox*>(c))
                continue;
            if (c->parentWidget() && qobject_cast<QComboBox*>(c->parentWidget()))
                continue; // the station list's own edit field
            QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
            names.insert(c->accessibleName());
        }
        QCOMPARE(names.size(), 2 + 10 + 7 + 6);
    }
};

QTEST_MAIN(TestStatementWindow)
#include "tst_statement_window.moc"
