#include "statement_form.h"

#include "app/dialogs.h"
#include "money/money.h"
#include "statement_page.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {
const QString Title = QStringLiteral("Form QM-415");
const QString PdfFiles = QStringLiteral("PDF files (*.pdf)");
} // namespace

StatementForm::StatementForm(FormRegistry& registry, OpenCalculator income, OpenCalculator expenses,
                             OpenSummary summary)
    : Form(registry, statementLayout()), m_openIncome(std::move(income)),
      m_openExpenses(std::move(expenses)), m_openSummary(std::move(summary))
{
    onClick("cmdCalculate", [this] { cmdCalculate_Click(); });
    onClick("cmdClear", [this] { cmdClear_Click(); });
    onClick("cmdExit", [this] { cmdExit_Click(); });
    onClick("cmdPrint", [this] { cmdPrint_Click(); });
    onKey(QKeySequence::Print, "cmdPrint", QStringLiteral("Print the statement"));
    onKey(QKeySequence::Quit, "cmdExit", QStringLiteral("Exit the program"));
    onKey(QKeySequence::Save, [this] { Form_KeySave(); });
    onKey(QKeySequence::Open, [this] { Form_KeyOpen(); });
    onKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), [this] { Form_KeyOpenSeveral(); });
    onKey(QKeySequence::New, [this] { Form_KeyNew(); });
    // One file opens; two or more are summarised.
    onFilesDropped([this](const QStringList& files) {
        if (files.size() == 1)
            openFile(files.first());
        else if (m_openSummary)
            m_openSummary(files);
    });
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
    for (int n = 1; n <= Stations; ++n)
        stations->addItem(stationName(n));
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
    m_statement = Statement(QLocale());
    for (int n = 1; n <= Months; ++n) {
        m_statement.setMonth(n);
        months->addItem(m_statement.monthName());
    }
    months->setCurrentIndex(-1);
    m_statement.setMonth(0);

    // Every edit reaches the statement as it is made, however it is made: typed, pasted, picked
    // or handed in by a calculator. Each control sets its own part of it, and only a change
    // tells the statement that its totals on show are no longer of these entries.
    const auto takeStation = [this, stations] {
        if (!m_showing)
            m_statement.setStation(stations->currentIndex() + 1, stations->currentText());
    };
    connect(stations, &QComboBox::currentIndexChanged, this, takeStation);
    connect(stations, &QComboBox::editTextChanged, this, takeStation);
    connect(months, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_showing)
            m_statement.setMonth(index + 1);
    });
    for (int box = 0; box < BoxCount; ++box)
        connect(textBox(boxName(box)), &QLineEdit::textChanged, this, [this, box](const QString& text) {
            if (!m_showing)
                m_statement.setBox(box, text);
        });
}

// The statement onto the form: its station, month, boxes and the totals on show.
void StatementForm::showStatement()
{
    const QScopedValueRollback showing(m_showing, true);
    QComboBox* stations = list("lstStations");
    stations->setCurrentIndex(m_statement.station() - 1);
    stations->setEditText(m_statement.stationText());
    list("lstMonths")->setCurrentIndex(m_statement.month() - 1);
    for (int box = 0; box < BoxCount; ++box)
        textBox(boxName(box))->setText(m_statement.box(box));
    const std::optional<Totals>& totals = m_statement.totals();
    const auto shown = [&](qint64 Totals::*total) {
        return totals ? money::currency((*totals).*total) : QString();
    };
    label("lblCost")->setText(shown(&Totals::income));
    label("lblTcost")->setText(shown(&Totals::income));
    label("lblMinus")->setText(shown(&Totals::expenses));
    label("lblEnd")->setText(shown(&Totals::balance));
    label("lblTexpenses")->setText(shown(&Totals::expenses));
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

// True when it found a problem and told the user; stops at the first one.
bool StatementForm::CheckEntries()
{
    const std::optional<EntryProblem> problem = m_statement.check();
    if (!problem)
        return false;
    // The user still sees the wrong text while the message is up.
    dialogs::msgBox(problem->prompt, dialogs::Information, problem->title);
    QWidget* atFault = control(problem->control);
    if (auto* box = qobject_cast<QLineEdit*>(atFault))
        box->setText(QString());
    setFocus(atFault);
    return true;
}

void StatementForm::showTotals()
{
    m_statement.calculate();
    showStatement();
    setFocus(button("cmdPrint"));
}

void StatementForm::cmdCalculate_Click()
{
    if (CheckEntries())
        return;
    showTotals();
}

// The question before the form's entries go.
bool StatementForm::mayClear()
{
    return dialogs::msgBox(QStringLiteral("Are you sure you want to clear the form?"),
                           dialogs::YesNo, Title) != dialogs::No;
}

void StatementForm::cmdClear_Click()
{
    if (mayClear()) {
        m_statement = Statement(m_statement.locale());
        showStatement();
        // The next statement is another document: saved under a name of its own.
        m_fileName.clear();
    }
    setFocus(list("lstStations"));
}

QString StatementForm::documentTitle() { return m_statement.title(); }

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
    m_kept = m_statement;
}

// Puts a saved statement on the form. Where the locale differs from the one it was saved in, an
// amount shows in this one's standard form; the totals are worked out anew, never taken.
void StatementForm::restore(const statement_file::Saved& saved)
{
    m_statement = saved.statement.inLocale(m_statement.locale());
    if (saved.calculated)
        m_statement.calculate();
    showStatement();
    setFocus(m_statement.totals() ? static_cast<QWidget*>(button("cmdPrint"))
                                  : list("lstStations"));
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
        refuseFile(path, SavedStatementReader::reason(*problem));
    } else {
        const statement_file::Saved& saved = std::get<statement_file::Saved>(read);
        if (m_statement.isEmpty() ||
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

// The same station's next month, from this month's end balance. Where the statement was saved or
// opened and not changed since, nothing is lost, so nothing is asked.
void StatementForm::Form_KeyNew()
{
    const std::optional<Statement> next = m_statement.nextMonth();
    if (!next) {
        dialogs::msgBox(QStringLiteral("Press Calculate first: the next month starts from this "
                                       "month's end balance."),
                        dialogs::Information, QStringLiteral("Next Month"));
        return;
    }
    if (m_kept != m_statement && !mayClear())
        return;
    m_statement = *next;
    showStatement();
    // Another document, in the same folder.
    m_fileName.clear();
    m_kept.reset();
    setFocus(textBox(QStringLiteral("txtBox"), 1));
}

// Several saved statements at once: their summary.
void StatementForm::Form_KeyOpenSeveral()
{
    const QStringList files = dialogs::fileNames(QStringLiteral("Summarise Statements"), folder(),
                                                 PdfFiles);
    if (!files.isEmpty() && m_openSummary)
        m_openSummary(files);
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
    const printing::Outcome outcome =
        statement_page::save({m_statement, m_statement.calculated()}, path);
    if (outcome.done)
        remember(path);
    return outcome;
}

void StatementForm::cmdPrint_Click()
{
    printing::Outcome outcome = printing::printPage(statement_page::sheet(m_statement), documentTitle());

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
    selectWholeTexts(textBoxes(DescriptionBoxes.name, DescriptionBoxes.count));
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
    selectWholeTexts(textBoxes(IncomeBoxes.name, IncomeBoxes.count));
}

void StatementForm::txtBoxa_GotFocus(int index)
{
    if (index == 2)
        openCalculator(m_openExpenses, QStringLiteral("txtBoxa(2)"), 2);
    selectWholeTexts(textBoxes(ExpenseBoxes.name, ExpenseBoxes.count));
}
