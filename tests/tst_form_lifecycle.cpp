// The rules every window lives by: one instance, load states, Unload with Cancel, the end. And
// a calculator, which knows only the window it was opened for: here a stand-in.
#include "popcalc/popcalc_form.h"
#include "support/scripted_dialogs.h"
#include "support/window_test.h"

#include <QSignalSpy>

namespace {

FormSpec sampleSpec(const QString& name)
{
    FormSpec s{name, name, 3000, 2000, 0, 0, QPalette::Window, false, {}, {}};
    s.controls = {
        {"txtA", 0, Look::CalcAmount, 100, 100, 1200, 300, {}, 0, false, 1, "first", {}},
        {"txtA", 1, Look::CalcAmount, 100, 500, 1200, 300, {}, 0, false, 2, "second", {}},
        {"cmdGo", -1, Look::DefaultButton, 100, 900, 1200, 300, "&Go", 0, false, 0, {}, {}},
        {"lblNote", -1, Look::Caption, 100, 1300, 1200, 300, "note", 0, false, 3, {}, {}},
    };
    return s;
}

class SampleForm : public Form {
public:
    SampleForm(FormRegistry& registry, const QString& name) : Form(registry, sampleSpec(name))
    {
        onClick("cmdGo", [this] {
            if (go)
                go();
        });
        onGotFocus("txtA", [this](int i) { gotFocus << i; });
        onLostFocus("txtA", [this](int i) { lostFocus << i; });
    }
    int loadHandlerRuns = 0;
    int unloads = 0;
    qint16 cancelWith = 0;
    int keptValue = 0; // lives in the instance, not in a control
    QList<int> gotFocus, lostFocus;
    std::function<void()> go;

protected:
    void Form_Load() override { ++loadHandlerRuns; }
    void Form_Unload(qint16& cancel) override
    {
        ++unloads;
        cancel = cancelWith;
    }
};

struct Fixture {
    FormRegistry registry;
    SampleForm a{registry, "frmA"};
    SampleForm b{registry, "frmB"};
    int ends = 0;
    Fixture()
    {
        registry.setEndOfProgram([this] { ++ends; });
    }
    ~Fixture()
    {
        a.unload();
        b.unload();
        flushDeletes();
    }
};

QString text(Form& f, int i) { return f.textBox("txtA", i)->text(); }

} // namespace

class TestFormLifecycle : public QObject {
    Q_OBJECT
private slots:
    void referenceLoadsHiddenOnce()
    {
        Fixture f;
        QCOMPARE(f.a.state(), Form::State::Unloaded);
        f.a.textBox("txtA", 0)->setText("12");
        QCOMPARE(f.a.state(), Form::State::Hidden);
        QCOMPARE(f.a.loadHandlerRuns, 1);
        QCOMPARE(text(f.a, 0), "12");
        f.a.load();
        f.a.label("lblNote");
        QCOMPARE(f.a.loadHandlerRuns, 1);
        QCOMPARE(text(f.a, 0), "12");
    }

    void showActivatesWithFocusOnFirstTabStop()
    {
        Fixture f;
        f.a.show();
        QCOMPARE(f.a.state(), Form::State::Shown);
        QVERIFY(waitActive(f.a.window()));
        QCOMPARE(focusName(), "cmdGo");
        pressKey(Qt::Key_Tab);
        QCOMPARE(focusName(), "txtA(0)");
        QCOMPARE(f.a.gotFocus, QList<int>{0});
    }

    void showOfAnOpenFormKeepsItsContents()
    {
        Fixture f;
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        f.a.textBox("txtA", 1)->setText("5");
        f.b.show();
        QVERIFY(waitActive(f.b.window()));
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        QCOMPARE(text(f.a, 1), "5");
        QCOMPARE(f.a.loadHandlerRuns, 1);
    }

    void cancelledUnloadKeepsEverything()
    {
        Fixture f;
        f.a.show();
        f.a.textBox("txtA", 0)->setText("7");
        f.a.cancelWith = 1;
        f.a.unload();
        QCOMPARE(f.a.unloads, 1);
        QCOMPARE(f.a.state(), Form::State::Shown);
        QCOMPARE(text(f.a, 0), "7");
        QCOMPARE(f.ends, 0);
        f.a.cancelWith = -1; // any non-zero value keeps the form
        f.a.window()->close();
        QCOMPARE(f.a.unloads, 2);
        QCOMPARE(f.a.state(), Form::State::Shown);
        f.a.cancelWith = 0;
    }

    void unloadDestroysAndReloadStartsFromTheLayout()
    {
        Fixture f;
        f.a.show();
        f.a.textBox("txtA", 0)->setText("99");
        f.a.keptValue = 42;
        QPointer<QWidget> oldWindow = f.a.window();
        f.a.unload();
        QCOMPARE(f.a.state(), Form::State::Unloaded);
        flushDeletes();
        QVERIFY2(!oldWindow, "the unloaded window and its controls still exist");
        QCOMPARE(text(f.a, 0), ""); // this reference loads afresh
        QCOMPARE(f.a.loadHandlerRuns, 2);
        QCOMPARE(f.a.state(), Form::State::Hidden);
        QCOMPARE(f.a.keptValue, 42);
    }

    void closeBoxIsAnUnload()
    {
        Fixture f;
        f.a.show();
        f.b.show();
        f.a.window()->close();
        QCOMPARE(f.a.unloads, 1);
        QCOMPARE(f.a.state(), Form::State::Unloaded);
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 0);
    }

    void programEndsWhenNoFormIsLoaded_data()
    {
        QTest::addColumn<int>("otherState"); // 0 unloaded, 1 hidden, 2 shown
        QTest::addColumn<int>("ends");
        QTest::newRow("no other form") << 0 << 1;
        QTest::newRow("other form hidden") << 1 << 0;
        QTest::newRow("other form shown") << 2 << 0;
    }
    void programEndsWhenNoFormIsLoaded()
    {
        QFETCH(int, otherState);
        QFETCH(int, ends);
        Fixture f;
        f.a.show();
        if (otherState == 1)
            f.b.load();
        if (otherState == 2)
            f.b.show();
        f.a.unload();
        QCOMPARE(f.ends, 0); // not before the running handler has returned
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, ends);
        f.b.unload();
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 1);
    }

    void handlerMayUnloadItsOwnFormAndGoOn()
    {
        Fixture f;
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        QPointer<QWidget> button = f.a.button("cmdGo");
        bool ranToTheEnd = false;
        f.a.go = [&] {
            f.a.unload();
            // Still inside the button's click: the button must still exist.
            QVERIFY(button);
            f.b.show();
            f.b.setFocus(f.b.textBox("txtA", 1));
            ranToTheEnd = true;
        };
        QTest::keyClick(f.a.window(), Qt::Key_Return); // Enter clicks the default button
        QVERIFY(ranToTheEnd);
        QCOMPARE(f.a.state(), Form::State::Unloaded);
        QCoreApplication::processEvents();
        QCOMPARE(f.ends, 0); // the handler showed another form before it returned
        QVERIFY(waitActive(f.b.window()));
        QTRY_COMPARE(focusName(), "txtA(1)");
        QCOMPARE(f.b.gotFocus, QList<int>{1}); // landed by activation, still a GotFocus
    }

    void focusHandlersIgnoreWindowActivation()
    {
        Fixture f;
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        f.a.setFocus(f.a.textBox("txtA", 1));
        QCOMPARE(f.a.gotFocus, QList<int>{1});
        f.b.show();
        QVERIFY(waitActive(f.b.window()));
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        QCOMPARE(focusName(), "txtA(1)"); // the window kept its control
        QCOMPARE(f.a.gotFocus, QList<int>{1});
        QCOMPARE(f.a.lostFocus, QList<int>{});
        pressKey(Qt::Key_Backtab);
        QCOMPARE(f.a.lostFocus, QList<int>{1});
        QCOMPARE(f.a.gotFocus, (QList<int>{1, 0}));
    }

    void enterOnAButtonClicksThatButton()
    {
        Fixture f;
        f.a.show();
        QVERIFY(waitActive(f.a.window()));
        QSignalSpy clicked(f.a.button("cmdGo"), &QPushButton::clicked);
        f.a.setFocus(f.a.textBox("txtA", 0));
        pressKey(Qt::Key_Enter);
        QCOMPARE(clicked.count(), 1);
    }

    void calculatorHandsItsTotalToWhoeverOpenedIt_data()
    {
        QTest::addColumn<QString>("step");  // after Calculate
        QTest::addColumn<QString>("line");  // the stand-in's line afterwards
        QTest::addColumn<QString>("focus"); // in the window in front afterwards
        QTest::addColumn<int>("loads");     // of the stand-in
        QTest::addColumn<int>("questions");
        // clang-format off
        QTest::newRow("Submit") << "submit" << "12.5" << "txtA(1)" << 1 << 0;
        QTest::newRow("Submit, the stand-in unloaded") << "unload, submit" << "12.5" << "txtA(1)" << 2 << 0;
        QTest::newRow("Cancel, Yes") << "cancel" << "55" << "txtA(1)" << 1 << 1;
        QTest::newRow("Cancel, No") << "cancel, no" << "55" << "cmdSubmit" << 1 << 1;
        QTest::newRow("Ctrl+W, as the close box") << "close key" << "55" << "cmdGo" << 1 << 0;
        // clang-format on
    }
    void calculatorHandsItsTotalToWhoeverOpenedIt()
    {
        QFETCH(QString, step);
        QFETCH(QString, line);
        QFETCH(QString, focus);
        QFETCH(int, loads);
        QFETCH(int, questions);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Fixture f;
        ScriptedDialogs dialogs;
        PopCalcForm calc(f.registry, p2Config());
        f.a.show();
        f.a.textBox("txtA", 0)->setText("55");
        QVERIFY(waitActive(f.a.window()));
        calc.open({&f.a, "txtA(0)", "txtA(1)"});
        QVERIFY(waitActive(calc.window()));
        QCOMPARE(focusName(), "txtP2(0)");
        calc.textBox("txtP2", 0)->setText("2.5");
        calc.textBox("txtP2", 8)->setText("10");
        pressKey(Qt::Key_Return);
        if (step.startsWith("unload"))
            f.a.unload();
        dialogs.answers = {step == "cancel, no" ? dialogs::No : dialogs::Yes};
        if (step == "close key") // the desktop's own: Ctrl+W on Linux
            QTest::keySequence(calc.window(), QKeySequence::Close);
        else
            calc.button(step.startsWith("cancel") ? "cmdCancel" : "cmdSubmit")->click();
        QVERIFY2(dialogs.shown.size() == questions, qPrintable(dialogs.describe()));
        QCOMPARE(text(f.a, 0), line);
        QCOMPARE(f.a.loadHandlerRuns, loads);
        QCOMPARE(calc.state(), focus == "cmdSubmit" ? Form::State::Shown : Form::State::Unloaded);
        // No window manager gives the keyboard back here: the focus in the window in front.
        QWidget* front = calc.isLoaded() ? calc.window() : f.a.window();
        QTRY_COMPARE(front->focusWidget()->objectName(), focus);
        calc.unload();
    }
};

QTEST_MAIN(TestFormLifecycle)
#include "tst_form_lifecycle.moc"
