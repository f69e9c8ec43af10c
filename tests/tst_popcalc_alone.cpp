// A calculator on its own, built without the statement: it hands its total to a stand-in for
// whichever window opened it.
#include "popcalc/popcalc_form.h"
#include "support/scripted_dialogs.h"
#include "support/window_test.h"

namespace {
// A line to fill and a box that takes the focus back, as the statement has.
FormSpec receiverSpec()
{
    FormSpec s{"frmReceiver", "Receiver", 3000, 1500, 0, 0, QPalette::Window, false, {}, {}};
    s.controls = {
        {"txtLine", -1, Look::Amount, 100, 100, 1500, 300, {}, 0, false, 0, "line", {}},
        {"txtBack", -1, Look::Description, 100, 600, 1500, 300, {}, 0, false, 1, "back", {}},
    };
    return s;
}

class Receiver : public Form {
public:
    explicit Receiver(FormRegistry& registry) : Form(registry, receiverSpec()) {}
    int loadRuns = 0;

protected:
    void Form_Load() override { ++loadRuns; }
};
} // namespace

class TestPopCalcAlone : public QObject {
    Q_OBJECT
private slots:
    void handsItsTotalToWhoeverOpenedIt_data()
    {
        QTest::addColumn<QString>("step");  // what the user does after Calculate
        QTest::addColumn<QString>("line");  // the receiver's line afterwards
        QTest::addColumn<QString>("focus"); // where the keyboard is afterwards
        QTest::addColumn<int>("loads");     // how often the receiver was loaded
        QTest::addColumn<int>("questions");
        // clang-format off
        QTest::newRow("Submit") << "submit" << "12.5" << "txtBack" << 1 << 0;
        QTest::newRow("Submit after the receiver was unloaded")
            << "unload receiver, submit" << "12.5" << "txtBack" << 2 << 0;
        QTest::newRow("Cancel, Yes") << "cancel" << "55" << "txtBack" << 1 << 1;
        QTest::newRow("Cancel, No") << "cancel, no" << "55" << "cmdSubmit" << 1 << 1;
        QTest::newRow("the close key (Ctrl+W), as the close box")
            << "close key" << "55" << "txtLine" << 1 << 0;
        // clang-format on
    }
    void handsItsTotalToWhoeverOpenedIt()
    {
        QFETCH(QString, step);
        QFETCH(QString, line);
        QFETCH(QString, focus);
        QFETCH(int, loads);
        QFETCH(int, questions);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ScriptedDialogs dialogs;
        FormRegistry registry;
        registry.setEndOfProgram([] {});
        Receiver receiver(registry);
        PopCalcForm calc(registry, p2Config());
        receiver.show();
        receiver.textBox("txtLine", -1)->setText("55");
        QVERIFY(waitActive(receiver.window()));
        calc.open({&receiver, "txtLine", "txtBack"});
        QVERIFY(waitActive(calc.window()));
        QCOMPARE(focusName(), "txtP2(0)");
        calc.textBox("txtP2", 0)->setText("2.5");
        calc.textBox("txtP2", 8)->setText("10");
        pressKey(Qt::Key_Return);
        QCOMPARE(calc.label("lblP2")->text(), "$12.50");

        if (step.startsWith("unload receiver"))
            receiver.unload();
        if (step.endsWith("submit"))
            calc.button("cmdSubmit")->click();
        dialogs.answers = {step == "cancel, no" ? dialogs::No : dialogs::Yes};
        if (step.startsWith("cancel"))
            calc.button("cmdCancel")->click();
        if (step == "close key") // the desktop's own: Ctrl+W on Linux
            QTest::keySequence(calc.window(), QKeySequence::Close);

        QVERIFY2(dialogs.shown.size() == questions, qPrintable(dialogs.describe()));
        QCOMPARE(receiver.textBox("txtLine", -1)->text(), line);
        QCOMPARE(receiver.loadRuns, loads);
        QCOMPARE(receiver.state(), Form::State::Shown);
        QCOMPARE(calc.state(), focus == "cmdSubmit" ? Form::State::Shown : Form::State::Unloaded);
        // Where the keyboard is in the window in front; no window manager gives it back here.
        QWidget* front = calc.isLoaded() ? calc.window() : receiver.window();
        QTRY_COMPARE(front->focusWidget()->objectName(), focus);
        calc.unload();
        receiver.unload();
        flushDeletes();
    }
};

QTEST_MAIN(TestPopCalcAlone)
#include "tst_popcalc_alone.moc"
