#include "statement_form.h"

#include "app/amount_boxes.h"
#include "app/dialogs.h"
#include "money/money.h"
#include "paper/pdf_metadata.h"

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
constexpr const statement_file::BoxArray& Income = statement_file::Arrays[0];
constexpr const statement_file::BoxArray& Expenses = statement_file::Arrays[1];
constexpr const statement_file::BoxArray& Descriptions = statement_file::Arrays[2];
const char* const Results[] = {"lblTcost", "lblTexpenses", "lblMinus", "lblEnd", "lblCost"};
const QString PdfFiles = QStringLiteral("PDF files (*.pdf)");
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
    onKey(QKeySequence::Open, [this] { Form_KeyOpen(); });
    onFileDropped([this](const QString& path) { openFile(path); });
    connect(&m_reader, &SavedStatementReader::done, this,
            [this](const SavedStatementReader::Result& read) {
                const QString path = m_waiting.first(); // the list may grow meanwhile
                fileRead(path, read);
            });
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
    for (int n = 1; n <= statement_file::Stations; ++n)
        stations->addItem(statement_file::stationName(n));
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
    // Closing the window ends an open under way: its question would come inside this one.
    m_reader.cancel();
    m_waiting.clear();
    m_hold.reset();
    if (dialogs::msgBox(QStringLiteral("Are you sure you want to exit?"), dialogs::YesNo, Title) ==
        dialogs::No)
        cancel = 1;
}

void StatementForm::cmdExit_Click() { unload(); }

std::optional<StatementForm::EntryProblem> StatementForm::firstProblem()
{
    if (list("lstStations")->currentIndex() == -1)
        return EntryProblem{list("lstStations"), QStringLiteral("You must select a Station"),
                            QStringLiteral("List a Station")};
    if (list("lstMonths")->currentIndex() == -1)
        return EntryProblem{list("lstMonths"), QStringLiteral("You must select a Month"),
                            QStringLiteral("List a Month")};
    // Income boxes before expense boxes, each from the lowest index up.
    for (const auto& array : {Income, Expenses})
        for (QLineEdit* box : textBoxes(array.name, array.count))
            if (const auto message = amount_boxes::problem(box->text()))
                return EntryProblem{box, *message, InputError};
    return std::nullopt;
}

// True when it found a problem and told the user; stops at the first one.
bool StatementForm::CheckEntries()
{
    const std::optional<EntryProblem> problem = firstProblem();
    if (!problem)
        return false;
    // The user still sees the wrong text while the message is up.
    dialogs::msgBox(problem->prompt, dialogs::Information, problem->title);
    if (auto* box = qobject_cast<QLineEdit*>(problem->control))
        box->setText(QString());
    setFocus(problem->control);
    return true;
}

QStringList StatementForm::amountTexts()
{
    QStringList texts;
    for (const auto& array : {Income, Expenses})
        for (const QLineEdit* box : textBoxes(array.name, array.count))
            texts << box->text();
    return texts;
}

void StatementForm::showTotals()
{
    const qint64 income = amount_boxes::addUpAndRewrite(textBoxes(Income.name, Income.count));
    const qint64 expenses = amount_boxes::addUpAndRewrite(textBoxes(Expenses.name, Expenses.count));
    const qint64 balance = income - expenses;
    label("lblCost")->setText(money::currency(income));
    label("lblTcost")->setText(money::currency(income));
    label("lblMinus")->setText(money::currency(expenses));
    label("lblEnd")->setText(money::currency(balance));
    label("lblTexpenses")->setText(money::currency(expenses));
    m_totalled = amountTexts();
    setFocus(button("cmdPrint"));
}

void StatementForm::cmdCalculate_Click()
{
    if (CheckEntries())
        return;
    showTotals();
}

void StatementForm::cmdClear_Click()
{
    if (dialogs::msgBox(QStringLiteral("Are you sure you want to clear the form?"), dialogs::YesNo,
                        Title) != dialogs::No) {
        for (const auto& array : statement_file::Arrays)
            for (QLineEdit* box : textBoxes(array.name, array.count))
                box->setText(QString());
        for (const char* name : Results)
            label(name)->setText(QString());
        for (const char* name : {"lstStations", "lstMonths"}) {
            list(name)->setCurrentIndex(-1);
            // No selection means no text either, also where the user typed some.
            if (list(name)->isEditable())
                list(name)->clearEditText();
        }
        // The next statement is another document: saved under a name of its own.
        m_fileName.clear();
    }
    setFocus(list("lstStations"));
}

// The page: the statement as the form shows it, without the four buttons.
printing::Sheet StatementForm::sheet()
{
    printing::Sheet page{
        statementLayout(), {}, {"cmdCalculate", "cmdPrint", "cmdClear", "cmdExit"}};
    for (const auto& array : statement_file::Arrays)
        for (const QLineEdit* box : textBoxes(array.name, array.count))
            page.texts.insert(box->objectName(), box->text());
    for (const char* name : {"lstStations", "lstMonths"})
        page.texts.insert(name, list(name)->currentText());
    for (const char* name : Results)
        page.texts.insert(name, label(name)->text());
    return page;
}

QString StatementForm::documentTitle()
{
    return printing::documentTitle({QStringLiteral("FORM QM-415"),
                                    list("lstStations")->currentText(),
                                    list("lstMonths")->currentText()});
}

// The folder of the last file saved or opened, else the user's documents.
QString StatementForm::folder() const
{
    if (!m_folder.isEmpty() && QFileInfo(m_folder).isDir())
        return m_folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void StatementForm::remember(const QString& path)
{
    const QFileInfo file(path);
    m_folder = file.absolutePath();
    m_fileName = file.fileName();
}

// What the user entered, as a saved statement keeps it.
statement_file::Entries StatementForm::entries()
{
    statement_file::Entries saved;
    saved.locale = QLocale().name();
    saved.calculated = !label("lblCost")->text().isEmpty() && amountTexts() == m_totalled;
    saved.station = list("lstStations")->currentIndex() + 1;
    saved.stationText = list("lstStations")->currentText();
    saved.month = list("lstMonths")->currentIndex() + 1;
    for (const auto& array : statement_file::Arrays) {
        for (const QLineEdit* box : textBoxes(array.name, array.count)) {
            if (box->text().isEmpty())
                continue;
            const money::Amount amount = money::read(box->text());
            saved.boxes.push_back({box->objectName(), box->text(),
                                   array.amounts && amount.status == money::Status::Number
                                       ? std::optional(amount.cents)
                                       : std::nullopt});
        }
    }
    return saved;
}

// Puts saved entries on the form. Where the locale differs from the one they were saved in, an
// amount shows in this one's standard form; the totals are worked out anew, never taken.
void StatementForm::restore(const statement_file::Entries& saved)
{
    const bool sameLocale = saved.locale == QLocale().name();
    QComboBox* stations = list("lstStations");
    stations->setCurrentIndex(saved.station - 1);
    stations->setEditText(saved.stationText);
    list("lstMonths")->setCurrentIndex(saved.month - 1);
    for (const auto& array : statement_file::Arrays) {
        for (QLineEdit* box : textBoxes(array.name, array.count)) {
            const auto kept =
                std::find_if(saved.boxes.begin(), saved.boxes.end(),
                             [box](const auto& b) { return b.name == box->objectName(); });
            if (kept == saved.boxes.end())
                box->setText(QString());
            else
                box->setText(kept->cents && !sameLocale ? money::standard(*kept->cents)
                                                        : kept->text);
        }
    }
    for (const char* name : Results)
        label(name)->setText(QString());
    if (saved.calculated && !firstProblem())
        showTotals();
    else
        setFocus(stations);
}

void StatementForm::openFile(const QString& path)
{
    m_waiting.append(path);
    if (m_waiting.size() == 1)
        openNext();
}

// The first file waiting is read while the event loop goes on; nothing else runs of the open
// until the reading is over.
void StatementForm::openNext()
{
    if (m_waiting.isEmpty())
        return;
    m_hold.emplace(registry());
    m_reader.start(m_waiting.first());
}

void StatementForm::refuseFile(const QString& path, const QString& why)
{
    dialogs::msgBox(QStringLiteral("The file \"%1\" could not be opened: %2.")
                        .arg(dialogs::shownName(path), why),
                    dialogs::Information, QStringLiteral("Open"));
}

void StatementForm::fileRead(const QString& path, const SavedStatementReader::Result& read)
{
    if (const auto* problem = std::get_if<statement_file::Problem>(&read)) {
        refuseFile(path, problem->box.isEmpty() ? problem->reason
                                                : problem->reason.arg(
                                                      '"' + control(problem->box)->accessibleName() +
                                                      '"'));
    } else {
        const statement_file::Entries& saved = std::get<statement_file::Entries>(read);
        const statement_file::Entries onForm = entries();
        const bool holdsEntries = onForm.station != 0 || !onForm.stationText.isEmpty() ||
                                  onForm.month != 0 || !onForm.boxes.empty();
        if (!holdsEntries ||
            dialogs::msgBox(QStringLiteral("Are you sure you want to replace the entries on the "
                                           "form with those saved in \"%1\"?")
                                .arg(dialogs::shownName(QFileInfo(path).fileName())),
                            dialogs::YesNo, Title) != dialogs::No) {
            restore(saved);
            remember(path);
        }
    }
    // The window closed meanwhile has ended the open and every one waiting.
    if (m_waiting.isEmpty())
        return;
    m_hold.reset();
    m_waiting.removeFirst();
    openNext();
}

void StatementForm::Form_KeyOpen()
{
    const QString path = dialogs::fileName(dialogs::FileAccess::Open,
                                           QStringLiteral("Open a Statement"), folder(), PdfFiles);
    if (!path.isEmpty())
        openFile(path);
}

// Asks where to save the statement as a PDF file and saves it there, its entries inside; nothing
// when the user cancels. The statement on the form keeps its name once saved or opened.
std::optional<printing::Outcome> StatementForm::saveAsPdf()
{
    const QString title = documentTitle();
    const QString path = dialogs::fileName(
        dialogs::FileAccess::Save, QStringLiteral("Save the Statement as PDF"),
        QDir(folder()).filePath(m_fileName.isEmpty() ? title + ".pdf" : m_fileName), PdfFiles);
    if (path.isEmpty())
        return std::nullopt;
    const statement_file::Entries saved = entries();
    const QByteArray xmp = pdf_metadata::packet(
        title, [&saved](QXmlStreamWriter& own) { statement_file::write(own, saved); });
    const printing::Outcome outcome = printing::savePage(sheet(), title, path, xmp);
    if (outcome.done)
        remember(path);
    return outcome;
}

void StatementForm::cmdPrint_Click()
{
    printing::Outcome outcome = printing::printPage(sheet(), documentTitle());

    // With no printer the statement can still leave the program, as a PDF file.
    const QString title = QStringLiteral("Print");
    if (outcome.noPrinter &&
        dialogs::msgBox(QStringLiteral("No printer is installed. Save the statement as a PDF file "
                                       "instead?"),
                        dialogs::YesNo, title) == dialogs::Yes) {
        if (const auto saved = saveAsPdf())
            outcome = *saved;
    }
    if (!outcome.done) {
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
    if (saved && !saved->done)
        dialogs::msgBox(saved->problem, dialogs::Information, QStringLiteral("Save"));
}

void StatementForm::Text1_GotFocus(int)
{
    amount_boxes::selectAll(textBoxes(Descriptions.name, Descriptions.count));
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
    amount_boxes::selectAll(textBoxes(Income.name, Income.count));
}

void StatementForm::txtBoxa_GotFocus(int index)
{
    if (index == 2)
        openCalculator(m_openExpenses, QStringLiteral("txtBoxa(2)"), 2);
    amount_boxes::selectAll(textBoxes(Expenses.name, Expenses.count));
}
