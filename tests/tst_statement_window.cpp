// The statement window as it starts, how Tab and Enter move through it, and how it exits.
#include "app/fonts.h"
#include "popcalc/popcalc_layout.h"
#include "support/statement_fixture.h"

#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>

namespace {
// How thick a control's border is drawn: the dark pixels from its left edge, halfway down.
int borderWidth(QWidget* w)
{
    const QImage image = w->grab().toImage();
    int width = 0;
    while (width < image.width() && qGray(image.pixel(width, image.height() / 2)) < 160)
        ++width;
    return width;
}
} // namespace

class TestStatementWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // A cursor that blinks would make two grabs of the same window differ.
        QApplication::setCursorFlashTime(0);
        // Each run draws in the face it is meant for: the metric-compatible one, or DejaVu Sans
        // alone under the run's own font configuration.
        QCOMPARE(QFontInfo(sheetFont(9.75, false)).family(),
                 qEnvironmentVariableIsSet("FONTCONFIG_FILE") ? "DejaVu Sans" : "Liberation Sans");
    }

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
        auto turn = [box](int by = -120, Qt::KeyboardModifiers keys = Qt::NoModifier) {
            const QPointF at = box->rect().center();
            QWheelEvent wheel(at, box->mapToGlobal(at), {}, {0, by}, Qt::NoButton, keys,
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
        // With Ctrl held the wheel zooms instead, a notch a level, the focused list too.
        QWidget* w = f.form().window();
        const QSize normal = w->size();
        turn(60, Qt::ControlModifier);
        turn(60, Qt::ControlModifier);
        QCOMPARE(w->size(), normal * 1.25);
        turn(-120, Qt::ControlModifier);
        QCOMPARE(w->size(), normal);
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

    // Each zoom level lays the statement and an open calculator out again, on the same widgets
    // with all they hold: every control where its sheet puts it times the level, every text
    // whole and grown with it. Back at 100 % both windows are as before, pixel for pixel.
    void zoomLaysTheWindowsOutAgain_data()
    {
        QTest::addColumn<int>("presses"); // of Ctrl++
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("smallScreen");
        int presses = 0;
        for (int level : PromisedLevels)
            QTest::addRow("%d %%", level) << presses++ << level << false;
        // 1280 x 1024: at 175 % the statement would be wider than the screen.
        QTest::newRow("small screen") << 6 << 150 << true;
    }
    void zoomLaysTheWindowsOutAgain()
    {
        QFETCH(int, presses);
        QFETCH(int, level);
        QFETCH(bool, smallScreen);
        StatementFixture f;
        QWidget* statement = f.form().window();
        if (smallScreen) {
            statement->setScreen(QGuiApplication::screens().last());
            statement->move(statement->screen()->geometry().topLeft() + QPoint(100, 50));
        }
        QVERIFY(f.ready());
        f.form().list("lstStations")->setCurrentIndex(33);
        f.form().list("lstMonths")->setCurrentIndex(8);
        f.income(0)->setText("987654421.12");
        f.expense(0)->setText("987666666.78");
        f.description(2)->setText("Hire of the hall and its chairs for the annual general meeting");
        f.form().button("cmdCalculate")->click(); // lblCost: $987,654,421.12
        QWidget* pop = frmPop().window();
        frmPop().show();
        frmPop().textBox("txtP1", 0)->setText("999999999.99");
        frmPop().button("cmdCalculate")->click();
        statement->activateWindow();
        QVERIFY(waitActive(statement));
        f.focus(f.description(1));
        typeText("Raffle tickets");
        f.description(1)->setSelection(2, 5);
        const QImage statementAt100 = statement->grab().toImage(), popAt100 = pop->grab().toImage();
        // A heading, a box, a button, a figure shrunk to fit its box: how tall their text is.
        const char* const texts[] = {"Label28", "Text1(1)", "cmdExit", "txtBox(0)", "lblCost"};
        QList<int> heights;
        for (const char* name : texts)
            heights << inkBox(f.form().control(name)).height();
        const QPoint corner = statement->pos();

        for (int i = 0; i < presses; ++i) // as each of its keys types Ctrl++
            pressKey(i % 3 == 1 ? Qt::Key_Equal : Qt::Key_Plus,
                     Qt::ControlModifier | (i % 3 == 2 ? Qt::KeypadModifier : Qt::NoModifier));
        const QString wrong = zoomedWrong(statementLayout(), f.form(), level) +
                              zoomedWrong(popLayout(), frmPop(), level);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        // Borders grow with it, never thinner than a pixel; the texts grow too.
        for (const char* name : {"Picture1", "lblCost", "txtBox(3)"})
            QCOMPARE(borderWidth(f.form().control(name)), std::max(1, qRound(level / 100.0)));
        for (int i = 0; i < heights.size(); ++i)
            QVERIFY2(inkBox(f.form().control(texts[i])).height() >= heights[i] * level / 100 * 0.8,
                     qPrintable(QString(texts[i]) + " draws its text no taller than at 100 %"));
        // The window keeps its corner, or comes back onto the screen's available area.
        const QRect area = statement->screen()->availableGeometry();
        const QSize frame = statement->frameGeometry().size();
        QCOMPARE(statement->pos(),
                 QPoint(std::min(corner.x(), area.right() + 1 - frame.width()),
                        std::min(corner.y(), area.bottom() + 1 - frame.height())));

        // Ctrl+- steps back a level, if there is one; Ctrl+0 goes back to 100 %.
        pressKey(Qt::Key_Minus, Qt::ControlModifier);
        const int* at = std::find(std::begin(PromisedLevels), std::end(PromisedLevels), level);
        QCOMPARE(statement->size(), clientSize(statementLayout(), level > 100 ? at[-1] : 100));
        // Nothing else changed: texts, selections, the cursor, the focus, the undo history.
        pressKey(Qt::Key_0, Qt::ControlModifier);
        QVERIFY2(statement->grab().toImage() == statementAt100 && pop->grab().toImage() == popAt100,
                 "back at 100 % the windows look different from before");
        QVERIFY(f.description(1)->isUndoAvailable());
    }

    // A text too wide for its room is drawn at the largest size, in quarter points, at which it
    // fits both as the screen measures it and as paper lays it out, without hinting.
    void shrunkTextTakesTheLargestSizeThatFits_data()
    {
        QTest::addColumn<int>("level");
        for (int level : PromisedLevels)
            QTest::addRow("%d %%", level) << level;
    }
    void shrunkTextTakesTheLargestSizeThatFits()
    {
        QFETCH(int, level);
        const auto widest = [](QFont font, const QString& text, qreal points) {
            font.setPointSizeF(points);
            const qreal hinted = QFontMetricsF(font).horizontalAdvance(text);
            font.setHintingPreference(QFont::PreferNoHinting);
            return std::max(hinted, QFontMetricsF(font).horizontalAdvance(text));
        };
        const QFont font = sheetFont(8.25 * level / 100, false);
        for (const QString text : {"$16,999,999,999,999.83", "($12,245.66)", "Month Ending:",
                                   "Total Amount Collected for the Month:"})
            for (int room = widest(font, text, 2); room < widest(font, text, font.pointSizeF()); room += 3) {
                const qreal size = fittingFont(font, text, room).pointSizeF();
                QVERIFY2(widest(font, text, size) <= room && widest(font, text, size + 0.25) > room,
                         qPrintable(QStringLiteral("\"%1\" in %2 px is drawn at %3 pt")
                                        .arg(text).arg(room).arg(size)));
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
