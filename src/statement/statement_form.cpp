#include "statement_form.h"

#include "app/amount_boxes.h"
#include "app/dialogs.h"
#include "money/money.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {
const QString Title = QStringLiteral("Form QM-415");
const QString InputError = QStringLiteral("Input Error");
constexpr int StationCount = 34;
constexpr int IncomeBoxes = 10;
constexpr int ExpenseBoxes = 7;
constexpr int DescriptionBoxes = 6;
} // namespace

StatementForm::StatementForm(FormRegistry& registry, OpenCalculator income, OpenCalculator expenses)
    : Form(registry, statementLayout()), m_openIncome(std::move(income)),
      m_openExpenses(std::move(expenses))
{
    onClick("cmdCalculate", [this] { cmdCalculate_Click(); });
    onClick("cmdClear", [this] { cmdClear_Click(); });
    onClick("cmdExit", [this] { cmdExit_Click(); });
    onClick("cmdPrint", [this] { cmdPrint_Click(); });
    onKey(QKeySequence::Print, "cmdPrint", QStringLiteral("Print the statement"));
    onKey(QKeySequence::Quit, "cmdExit", QStringLiteral("Exit the program"));
    onKey(QKeySequence::Save, [this] { Form_KeySave(); });
    onGotFocus("Text1", [this](int index) { Text1_GotFocus(index); });
    onGotFocus("txtBox", [this](int index) { txtBox_GotFocus(index); });
    onGotFocus("txtBoxa", [this](int index) { txtBoxa_GotFocus(index); });
}

float StatementForm::centredLeft(float screenWidth, float formWidth)
{
    return (screenWidth - formWidth) / 2;
}

void StatementForm::Form_Load()
{
    QWidget* w = window();
    // The outer width includes the frame, which the toolkit knows once the window exists.
    w->winId();
    const float formWidth = float(w->frameGeometry().width() * TwipsPerPixel);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const float screenWidth = float(screen->geometry().width() * TwipsPerPixel);
    m_left = centredLeft(screenWidth, formWidth);
    // The design position puts the top well down the screen; keep the window on a small one.
    const QRect area = screen->availableGeometry();
    const int top =
        std::clamp(w->y(), area.top(), std::max(area.top(), area.bottom() - w->height()));
    // The toolkit places windows on whole pixels; the fraction stays in m_left.
    w->move(screen->geometry().x() + qRound(m_left / TwipsPerPixel), top);

    QComboBox* stations = list("lstStations");
    for (int n = 1; n <= StationCount; ++n)
        stations->addItem(QStringLiteral("Station ") + QString::number(n));
    stations->setCurrentIndex(-1);

    // Only the calculators fill the pop-money lines: nothing typed, dropped or pasted, by
    // menu or by the middle button, lands there.
    for (QLineEdit* box :
         {textBox(QStringLiteral("txtBox"), 7), textBox(QStringLiteral("txtBoxa"), 2)}) {
        box->setReadOnly(true);
        box->setAcceptDrops(false);
        box->setContextMenuPolicy(Qt::NoContextMenu);
    }

    QComboBox* months = list("lstMonths");
    const QLocale locale;
    for (int n = 1; n <= 12; ++n)
        months->addItem(locale.standaloneMonthName(n, QLocale::LongFormat));
    months->setCurrentIndex(-1);
}

void StatementForm::Form_Unload(qint16& cancel)
{
    if (dialogs::msgBox(QStringLiteral("Are you sure you want to exit?"), dialogs::YesNo, Title) ==
        dialogs::No)
        cancel = 1;
}

void StatementForm::cmdExit_Click() { unload(); }

// True when it found a problem and told the user; stops at the first one.
bool StatementForm::CheckEntries()
{
    if (list("lstStations")->currentIndex() == -1) {
        dialogs::msgBox(QStringLiteral("You must select a Station"), dialogs::Information,
                        QStringLiteral("List a Station"));
        setFocus(list("lstStations"));
        return true;
    }
    if (list("lstMonths")->currentIndex() == -1) {
        dialogs::msgBox(QStringLiteral("You must select a Month"), dialogs::Information,
                        QStringLiteral("List a Month"));
        setFocus(list("lstMonths"));
        return true;
    }
    // Income boxes before expense boxes, each from the lowest index up.
    for (const auto& [array, count] :
         {std::pair{"txtBox", IncomeBoxes}, {"txtBoxa", ExpenseBoxes}}) {
        for (QLineEdit* box : textBoxes(array, count)) {
            if (const auto message = amount_boxes::problem(box->text())) {
                // The user still sees the wrong text while the message is up.
                dialogs::msgBox(*message, dialogs::Information, InputError);
                box->setText(QString());
                setFocus(box);
                return true;
            }
        }
    }
    return false;
}

void StatementForm::cmdCalculate_Click()
{
    if (CheckEntries())
        return;
    const qint64 income = amount_boxes::addUpAndRewrite(textBoxes("txtBox", IncomeBoxes));
    const qint64 expenses = amount_boxes::addUpAndRewrite(textBoxes("txtBoxa", ExpenseBoxes));
    const qint64 balance = income - expenses;
    label("lblCost")->setText(money::currency(income));
    label("lblTcost")->setText(money::currency(income));
    label("lblMinus")->setText(money::currency(expenses));
    label("lblEnd")->setText(money::currency(balance));
    label("lblTexpenses")->setText(money::currency(expenses));
    setFocus(button("cmdPrint"));
}

void StatementForm::cmdClear_Click()
{
    if (dialogs::msgBox(QStringLiteral("Are you sure you want to clear the form?"), dialogs::YesNo,
                        Title) != dialogs::No) {
        for (const auto& [array, count] : {std::pair{"txtBox", IncomeBoxes},
                                           {"txtBoxa", ExpenseBoxes},
                                           {"Text1", DescriptionBoxes}})
            for (QLineEdit* box : textBoxes(array, count))
                box->setText(QString());
        for (const char* name : {"lblTcost", "lblTexpenses", "lblMinus", "lblEnd", "lblCost"})
            label(name)->setText(QString());
        for (const char* name : {"lstStations", "lstMonths"}) {
            list(name)->setCurrentIndex(-1);
            // No selection means no text either, also where the user typed some.
            if (list(name)->isEditable())
                list(name)->clearEditText();
        }
    }
    setFocus(list("lstStations"));
}

// The page shows none of the four buttons: they are hidden while it is made.
printing::Outcome StatementForm::withoutButtons(const std::function<printing::Outcome()>& makePage)
{
    const char* const buttons[] = {"cmdCalculate", "cmdClear", "cmdExit", "cmdPrint"};
    for (const char* name : buttons)
        button(name)->setVisible(false);
    const printing::Outcome outcome = makePage();
    for (const char* name : buttons)
        button(name)->setVisible(true);
    return outcome;
}

QString StatementForm::documentTitle()
{
    return printing::documentTitle({QStringLiteral("FORM QM-415"),
                                    list("lstStations")->currentText(),
                                    list("lstMonths")->currentText()});
}

// Asks where to save the statement as a PDF file and saves it there; nothing when the user
// cancels.
std::optional<printing::Outcome> StatementForm::saveAsPdf()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString title = documentTitle();
    const QString path = dialogs::saveFileName(QStringLiteral("Save the Statement as PDF"),
                                               QDir(folder).filePath(title + ".pdf"),
                                               QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return std::nullopt;
    return withoutButtons(
        [this, &title, &path] { return printing::saveFormAsPdf(window(), title, path); });
}

void StatementForm::cmdPrint_Click()
{
    printing::Outcome outcome =
        withoutButtons([this] { return printing::printForm(window(), documentTitle()); });

    // With no printer the statement can still leave the program, as a PDF file.
    const QString title = QStringLiteral("Print");
    if (outcome.noPrinter &&
        dialogs::msgBox(QStringLiteral("No printer is installed. Save the statement as a PDF file "
                                       "instead?"),
                        dialogs::YesNo, title) == dialogs::Yes) {
        if (const auto saved = saveAsPdf())
            outcome = *saved;
    }
    if (!outcome.printed) {
        if (!outcome.noPrinter)
            dialogs::msgBox(outcome.problem, dialogs::Information, title);
        setFocus(button("cmdPrint"));
        return;
    }
    setFocus(button("cmdClear"));
}

// A copy of the statement as a PDF file at any time, printer or not. The focus stays where the
// user was: nothing was printed, so there is nothing to clear next.
void StatementForm::Form_KeySave()
{
    const auto saved = saveAsPdf();
    if (saved && !saved->printed)
        dialogs::msgBox(saved->problem, dialogs::Information, QStringLiteral("Save"));
}

void StatementForm::Text1_GotFocus(int)
{
    amount_boxes::selectAll(textBoxes(QStringLiteral("Text1"), DescriptionBoxes));
}

// The pop-money lines are filled by their calculators, not typed into: entering one moves the
// focus on to the description that follows it and opens the calculator, modeless, which hands
// its total to the line and the focus back to that description.
void StatementForm::openCalculator(const OpenCalculator& open, const QString& line, int description)
{
    const QString next = controlName(QStringLiteral("Text1"), description);
    setFocus(control(next));
    open({this, line, next});
}

void StatementForm::txtBox_GotFocus(int index)
{
    if (index == 7)
        openCalculator(m_openIncome, QStringLiteral("txtBox(7)"), 0);
    amount_boxes::selectAll(textBoxes(QStringLiteral("txtBox"), IncomeBoxes));
}

void StatementForm::txtBoxa_GotFocus(int index)
{
    if (index == 2)
        openCalculator(m_openExpenses, QStringLiteral("txtBoxa(2)"), 2);
    amount_boxes::selectAll(textBoxes(QStringLiteral("txtBoxa"), ExpenseBoxes));
}
