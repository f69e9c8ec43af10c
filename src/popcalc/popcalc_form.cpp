#include "popcalc_form.h"

#include "app/dialogs.h"
#include "model/amounts.h"
#include "money/money.h"
#include "popcalc_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int BoxCount = 9;
const QString InputError = QStringLiteral("Input Error");
} // namespace

PopCalcConfig popConfig() { return {popLayout(), "txtP1", "lblP1", false}; }

// Its tab order starts at Cancel; amounts are what the user came to type.
PopCalcConfig p2Config() { return {p2Layout(), "txtP2", "lblP2", true}; }

PopCalcForm::PopCalcForm(FormRegistry& registry, PopCalcConfig config)
    : Form(registry, config.layout), m_config(std::move(config))
{
    onClick("cmdCalculate", [this] { cmdCalculate_Click(); });
    onClick("cmdReset", [this] { cmdReset_Click(); });
    onClick("cmdSubmit", [this] { cmdSubmit_Click(); });
    onClick("cmdCancel", [this] { cmdCancel_Click(); });
    onGotFocus(m_config.boxes, [this](int index) { txtP_GotFocus(index); });
    onLostFocus(m_config.boxes, [this](int index) { txtP_LostFocus(index); });
    // Closed by the key as by the close box: no question, nothing handed on.
    onKey(QKeySequence::Close, [this] { unload(); });
}

void PopCalcForm::open(const HandOff& total)
{
    m_total = total;
    load();
    show();
    if (m_config.opensInFirstBox)
        setFocus(textBox(m_config.boxes, 0));
}

std::vector<QLineEdit*> PopCalcForm::amountBoxes() { return textBoxes(m_config.boxes, BoxCount); }

Form& PopCalcForm::receiver()
{
    Q_ASSERT_X(m_total.form, "PopCalcForm", "opened without a receiver for its total");
    return *m_total.form;
}

// Every box that cannot count as an amount is reported once, in order, and emptied; the focus
// ends in the last of them. Each box is emptied before the focus moves, so a check that the
// focus move starts on the way finds nothing new in the boxes already handled.
bool PopCalcForm::reportBadBoxes()
{
    bool found = false;
    for (QLineEdit* box : amountBoxes()) {
        if (const auto message = amounts::problem(money::read(box->text()))) {
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
    std::vector<money::Amount> read;
    qint64 total = 0;
    for (const QLineEdit* box : boxes) {
        read.push_back(money::read(box->text()));
        total += amounts::counted(read.back());
    }
    if (total <= -money::LimitCents || total >= money::LimitCents) {
        dialogs::msgBox(QStringLiteral("The total is too large, please correct the amounts."),
                        dialogs::Information, InputError);
        label(m_config.totalLabel)->setText(QString());
        setFocus(boxes.front());
        return;
    }
    PopTotal = total;
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(amounts::rewritten(read[i]));
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
    Form& to = receiver();
    // Plain text, which the receiver formats itself. Writing loads the receiver again when it
    // was unloaded while this window stayed open.
    qobject_cast<QLineEdit*>(to.control(m_total.line))->setText(money::plain(PopTotal));
    unload();
    to.show();
    to.setFocus(to.control(m_total.focusBack));
}

void PopCalcForm::cmdCancel_Click()
{
    Form& to = receiver();
    // A receiver unloaded while this window stayed open comes back hidden when referred to:
    // show it, so the program is never left running without a window on the screen.
    if (to.state() != Form::State::Shown)
        to.show();
    to.setFocus(to.control(m_total.focusBack));
    if (dialogs::msgBox(QStringLiteral("Do you want to cancel the operation?"), dialogs::YesNo,
                        QStringLiteral("Cancel")) == dialogs::Yes) {
        unload();
        to.show();
    } else {
        show();
    }
}

void PopCalcForm::txtP_GotFocus(int) { selectWholeTexts(amountBoxes()); }

void PopCalcForm::txtP_LostFocus(int) { reportBadBoxes(); }
