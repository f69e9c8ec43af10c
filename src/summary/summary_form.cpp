#include "summary_form.h"

#include "app/dialogs.h"
#include "paper/printing.h"
#include "paper/table_file.h"
#include "summary_layout.h"
#include "summary_text.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

namespace {
const QString Title = QStringLiteral("Summary of Statements");
constexpr int SortRole = Qt::UserRole;
constexpr int FileRole = Qt::UserRole + 1;

// A cell as the user reads it, sorted by `key`; figures stand to the right.
QStandardItem* cell(const QString& text, const QVariant& key, bool figure = false)
{
    auto* item = new QStandardItem(dialogs::shownName(text));
    item->setData(key, SortRole);
    if (figure)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

SummaryForm::SummaryForm(FormRegistry& registry, OpenStatement open)
    : Form(registry, summaryLayout()), m_open(std::move(open))
{
    m_rows.setSortRole(SortRole);
    onKey(QKeySequence::Save, [this] { Form_KeySave(); });
    onKey(QKeySequence::Print, [this] { Form_KeyPrint(); });
    onKey(QKeySequence::Close, [this] { unload(); });
    onKey(QKeySequence::Cancel, [this] { Form_KeyStop(); });
    connect(&m_reading, &SummaryReading::progress, this, [this](int read, int files) {
        if (!isLoaded())
            return;
        auto* bar = qobject_cast<QProgressBar*>(control(QStringLiteral("barReading")));
        bar->setRange(0, std::max(files, 1));
        bar->setValue(read);
        label(QStringLiteral("lblStatus"))
            ->setText(QStringLiteral("Reading %1 of %2 files (Escape stops)").arg(read).arg(files));
    });
    connect(&m_reading, &SummaryReading::finished, this, &SummaryForm::read);
}

void SummaryForm::Form_Load()
{
    const auto table = [this](const char* name, QStandardItemModel& model) {
        auto* view = qobject_cast<QTableView*>(control(QLatin1String(name)));
        view->setModel(&model);
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        view->horizontalHeader()->setStretchLastSection(true);
        return view;
    };
    QTableView* rows = table("tblRows", m_rows);
    rows->setSortingEnabled(true);
    connect(rows, &QTableView::activated, this, &SummaryForm::tblRows_Activated);
    table("tblTotals", m_totals)->horizontalHeader()->hide();
    table("tblStations", m_stations);
    showSummary();
}

void SummaryForm::Form_Unload(qint16&)
{
    m_reading.stop();
}

void SummaryForm::summarise(const QStringList& paths)
{
    show();
    m_files = SummaryReading::filesOf(paths);
    m_stopped = false;
    m_reading.start(m_files);
}

void SummaryForm::Form_KeyStop()
{
    m_stopped = m_reading.isReading();
    m_reading.stop();
}

void SummaryForm::read(const std::vector<SummaryInput>& inputs)
{
    m_summary = ::summarise(inputs);
    if (isLoaded())
        showSummary();
}

void SummaryForm::showSummary()
{
    using summary_text::Amounts;
    m_rows.clear();
    m_rows.setHorizontalHeaderLabels(summary_text::header());
    for (const SummaryRow& r : m_summary.rows) {
        const QStringList words = summary_text::row(r, Amounts::Currency);
        const auto at = std::find(m_summary.months.begin(), m_summary.months.end(), r.month);
        const qint64 amounts[] = {r.carried, r.totals ? r.totals->income : 0,
                                  r.totals ? r.totals->expenses : 0, r.totals ? r.totals->balance : 0};
        QList<QStandardItem*> items{cell(words[0], r.station),
                                    cell(words[1], int(at - m_summary.months.begin())),
                                    cell(words[2], words[2])};
        for (int a = 0; a < 4; ++a)
            items << cell(words[3 + a], r.totals ? QVariant(amounts[a]) : QVariant(), true);
        items << cell(words[7], words[7]);
        items[0]->setData(r.file, FileRole);
        m_rows.appendRow(items);
    }

    m_totals.clear();
    QList<QStandardItem*> totals;
    const QStringList words = summary_text::totals(m_summary, Amounts::Currency);
    for (int c = 0; c < words.size(); ++c)
        totals << cell(words[c], {}, c >= summary_text::FirstAmount && c <= summary_text::LastAmount);
    m_totals.appendRow(totals);

    // Each station by month: its end balance, or why there is none; a month's total below.
    m_stations.clear();
    QStringList header{QStringLiteral("Station")};
    for (int month : m_summary.months)
        header << summary_text::monthOf(month);
    m_stations.setHorizontalHeaderLabels(header);
    for (int station = 1; station <= Stations; ++station) {
        QList<QStandardItem*> items{cell(stationName(station), station)};
        for (int month : m_summary.months) {
            const auto end = m_summary.endBalances.find({station, month});
            const bool missing = std::find(m_summary.missing.begin(), m_summary.missing.end(),
                                           std::pair{station, month}) != m_summary.missing.end();
            items << cell(end != m_summary.endBalances.end() ? money::currency(end->second)
                          : missing                          ? QStringLiteral("missing")
                                                             : QStringLiteral("not counted"),
                          {}, true);
        }
        m_stations.appendRow(items);
    }
    QList<QStandardItem*> monthTotals{cell(QStringLiteral("Total"), {})};
    for (int month : m_summary.months)
        monthTotals << cell(money::currency(m_summary.monthTotal(month)), {}, true);
    m_stations.appendRow(monthTotals);

    const auto problems = summary_text::problemLines(m_summary).size();
    label(QStringLiteral("lblStatus"))
        ->setText(m_stopped ? QStringLiteral("Stopped: %1 of %2 files read")
                                  .arg(m_summary.rows.size())
                                  .arg(m_files.size())
                            : QStringLiteral("%1 files read, %2 %3")
                                  .arg(m_summary.rows.size())
                                  .arg(problems ? QString::number(problems) : QStringLiteral("nothing"))
                                  .arg(problems == 1 ? QStringLiteral("thing wrong")
                                                     : QStringLiteral("things wrong")));
}

void SummaryForm::tblRows_Activated(const QModelIndex& index)
{
    const QString file = m_rows.item(index.row(), 0)->data(FileRole).toString();
    if (!file.isEmpty())
        m_open(file);
}

void SummaryForm::Form_KeySave()
{
    if (m_folder.isEmpty())
        m_folder = m_files.isEmpty() ? QDir::homePath() : QFileInfo(m_files.first()).absolutePath();
    const QString path = dialogs::fileName(dialogs::FileAccess::Save,
                                           QStringLiteral("Save the Summary"),
                                           QDir(m_folder).filePath(QStringLiteral("Summary.csv")),
                                           QStringLiteral("CSV files (*.csv);;PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString title = QStringLiteral("Save");
    // A summary never takes the place of a statement it read.
    if (SummaryReading::isOneOf(path, m_files)) {
        dialogs::msgBox(QStringLiteral("\"%1\" is one of the statements summarised: save the "
                                       "summary under another name.")
                            .arg(dialogs::shownName(path)),
                        dialogs::Information, title);
        return;
    }
    const bool pdf = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const QByteArray bytes =
        pdf ? table_file::pdf(summary_text::table(m_summary, summary_text::Amounts::Currency),
                              printing::localeSheet())
            : table_file::csv(summary_text::table(m_summary, summary_text::Amounts::Decimal));
    const printing::Outcome outcome = printing::saveFile(path, bytes, summary_text::Document);
    if (!outcome.done)
        dialogs::msgBox(outcome.problem, dialogs::Information, title);
    else
        m_folder = QFileInfo(path).absolutePath();
}

void SummaryForm::Form_KeyPrint()
{
    const printing::Outcome outcome = printing::printDocument(
        table_file::pdf(summary_text::table(m_summary, summary_text::Amounts::Currency),
                        printing::defaultSheet()),
        Title, summary_text::Document);
    if (!outcome.done)
        dialogs::msgBox(outcome.problem, dialogs::Information, QStringLiteral("Print"));
}
