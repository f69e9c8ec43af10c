#include "popcalc_form.h"

#include "app/amount_boxes.h"
#include "app/dialogs.h"
#include "app/forms.h"
#include "money/money.h"
#include "popcalc_layout.h"
#include "statement/statement_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int BoxCount = 9;
const QString InputError = QStringLiteral("Input Error");
} // namespace

PopCalcConfig popConfig() { return {popLayout(), "txtP1", "lblP1", "txtBox", 7, 0}; }

PopCalcConfig p2Config() { return {p2Layout(), "txtP2", "lblP2", "txtBoxa", 2, 2}; }

PopCalcForm::PopCalcForm(FormRegistry& registry, PopCalcConfig config)
    : Form(registry, config.layout), m_config(std::move(config))
{
    onClick("cmdCalculate", [this] { cmdCalculate_Click(); });
    onClick("cmdReset", [this] { cmdReset_Click(); });
    onClick("cmdSubmit", [this] { cmdSubmit_Click(); });
    onClick("cmdCancel", [this] { cmdCancel_Click(); });
    onGotFocus(m_config.boxes, [this](int index) { txtP_GotFocus(index); });
    onLostFocus(m_config.boxes, [this](int index) { txtP_LostFocus(index); });
}

std::vector<QLineEdit*> PopCalcForm::amountBoxes() { return textBoxes(m_config.boxes, BoxCount); }

QLineEdit* PopCalcForm::statementDescription()
{
    return frmQM415().textBox(QStringLiteral("Text1"), m_config.descriptionIndex);
}

// Every box that cannot count as an amount is reported once, in order, and emptied; the focus
// ends in the last of them. Each box is emptied before the focus moves, so a check that the
// focus move starts on the way finds nothing new in the boxes already handled.
bool PopCalcForm::reportBadBoxes()
{
    bool found = false;
    for (QLineEdit* box : amountBoxes()) {
        if (const auto message = amount_boxes::problem(box->text())) {
            dialogs::msgBox(*message, dialogs::Information, InputError);
            box->setText(QString());
            setFocus(box);
            found = true;
        }
    }
    return found;
}

void PopCalcForm::cmdCalculate_Click()
{
    // Enter in a box clicks Calculate without leaving the box: check as leaving it would,
    // rather than counting a mistyped amount as nothing.
    if (reportBadBoxes())
        return;
    const std::vector<QLineEdit*> boxes = amountBoxes();
    const qint64 total = amount_boxes::total(boxes);
    if (total <= -money::LimitCents || total >= money::LimitCents) {
        dialogs::msgBox(QStringLiteral("The total is too large, please correct the amounts."),
                        dialogs::Information, InputError);
        label(m_config.totalLabel)->setText(QString());
        setFocus(boxes.front());
        return;
    }
    PopTotal = total;
    amount_boxes::rewrite(boxes);
    label(m_config.totalLabel)->setText(money::currency(PopTotal));
    setFocus(button("cmdSubmit"));
}

void PopCalcForm::cmdReset_Click()
{
    for (QLineEdit* box : amountBoxes())
        box->setText(QString());
    label(m_config.totalLabel)->setText(QString());
    setFocus(button("cmdCalculate"));
}

void PopCalcForm::cmdSubmit_Click()
{
    if (label(m_config.totalLabel)->text().isEmpty()) {
        dialogs::msgBox(QStringLiteral("You must make an entry before you can submit or you "
                                       "forgot to calculate first!"),
                        dialogs::QuestionOk, QStringLiteral("Question"));
        setFocus(textBox(m_config.boxes, 0));
        return;
    }
    StatementForm& statement = frmQM415();
    // Plain text; the statement formats it at its next Calculate. This loads the statement
    // again if Exit has unloaded it.
    statement.textBox(m_config.targetArray, m_config.targetIndex)->setText(money::plain(PopTotal));
    unload();
    statement.show();
    statement.setFocus(statementDescription());
}

void PopCalcForm::cmdCancel_Click()
{
    StatementForm& statement = frmQM415();
    // After Exit has unloaded the statement, referring to it loads it hidden: show it, so the
    // program is never left running without a window on the screen.
    if (statement.state() != Form::State::Shown)
        statement.show();
    statement.setFocus(statementDescription());
    if (dialogs::msgBox(QStringLiteral("Do you want to cancel the operation?"), dialogs::YesNo,
                        QStringLiteral("Cancel")) == dialogs::Yes) {
        unload();
        statement.show();
    } else {
        show();
    }
}

void PopCalcForm::txtP_GotFocus(int) { amount_boxes::selectAll(amountBoxes()); }

void PopCalcForm::txtP_LostFocus(int) { reportBadBoxes(); }
