#pragma once

#include "program/forms.h"
#include "popcalc/popcalc_form.h"
#include "statement/statement_form.h"
#include "support/scripted_dialogs.h"
#include "support/window_test.h"

#include <QLocale>

// A freshly started program: the statement window loaded, shown and active, message boxes
// scripted, and the end of the program counted instead of carried out.
struct StatementFixture {
    ScriptedDialogs dialogs;
    Forms forms;
    int ends = 0;

    StatementFixture()
    {
        forms.registry().setEndOfProgram([this] { ++ends; });
        frmQM415().load();
        frmQM415().show();
    }
    ~StatementFixture()
    {
        dialogs.onShow = nullptr;
        dialogs.answers = {dialogs::Yes, dialogs::Yes, dialogs::Yes};
        frmPop().unload();
        frmP2().unload();
        frmQM415().unload();
        flushDeletes();
    }

    bool ready() { return waitActive(frmQM415().window()); }

    StatementForm& form() { return frmQM415(); }
    QLineEdit* income(int i) { return form().textBox("txtBox", i); }
    QLineEdit* expense(int i) { return form().textBox("txtBoxa", i); }
    QLineEdit* description(int i) { return form().textBox("Text1", i); }
    QString caption(const char* label) { return form().label(label)->text(); }
    void focus(QWidget* w) { form().setFocus(w); }

    // Presses Tab (or Shift+Tab) in the statement and tells where its focus went. When that
    // opened a calculator, the calculator is noted and the user clicks back into the statement.
    QString tab(Qt::Key key = Qt::Key_Tab)
    {
        QWidget* statement = form().window();
        QTest::keyClick(statement->focusWidget(), key);
        for (PopCalcForm* calc : {&frmPop(), &frmP2()}) {
            if (calc->state() == Form::State::Shown && waitActive(calc->window())) {
                calculatorsOpened << calc->name();
                calc->window()->hide(); // out of the way, still loaded
                statement->activateWindow();
                waitActive(statement);
            }
        }
        return statement->focusWidget()->objectName();
    }
    QStringList calculatorsOpened;
};
