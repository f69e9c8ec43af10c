#include "saved_statement.h"

#include "statement_layout.h"

#include <QCoreApplication>

namespace {
// A PDF's document information is a few lines.
constexpr qint64 InfoRoom = 64 * 1024;
// The most of another program's name a message shows.
constexpr qsizetype NameRoom = 80;
} // namespace

SavedStatementReader::SavedStatementReader(QObject* parent) : QObject(parent)
{
    connect(&m_reader, &pdf_metadata::Reader::done, this, &SavedStatementReader::partRead);
}

QString SavedStatementReader::reason(const statement_file::Problem& problem)
{
    return problem.box.isEmpty() ? problem.reason
                                 : problem.reason.arg('"' + describedControl(problem.box) + '"');
}

void SavedStatementReader::start(const QString& path)
{
    m_path = path;
    m_part = pdf_metadata::Part::Metadata;
    m_reader.start(path, m_part, statement_file::MaxMetadata);
}

void SavedStatementReader::partRead(const pdf_metadata::Read& read)
{
    if (m_part == pdf_metadata::Part::Metadata) {
        if (!read.problem.isEmpty()) {
            emit done(statement_file::Problem{read.problem, {}});
            return;
        }
        Result result = statement_file::read(read.data);
        const auto* problem = std::get_if<statement_file::Problem>(&result);
        if (!problem || !problem->noEntries) {
            emit done(result);
            return;
        }
        // Whether the file was this program's once: its document information says so.
        m_noEntries = *problem;
        m_part = pdf_metadata::Part::Info;
        m_reader.start(m_path, m_part, InfoRoom);
        return;
    }
    const QString creator = pdf_metadata::infoField(read.data, QStringLiteral("Creator"));
    QString producer = pdf_metadata::infoField(read.data, QStringLiteral("Producer"));
    // This program's own PDFs are produced by the toolkit's writer: a page it printed, say.
    if (!read.problem.isEmpty() || creator != QCoreApplication::applicationName() ||
        producer.isEmpty() || producer.startsWith(QLatin1String("Qt "))) {
        emit done(m_noEntries);
        return;
    }
    for (QChar& c : producer)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    if (producer.size() > NameRoom)
        producer = producer.left(NameRoom) + QChar(0x2026);
    emit done(statement_file::Problem{
        QStringLiteral("it was rewritten by %1, which did not keep the statement's entries: open "
                       "the copy this program saved")
            .arg(producer),
        {}});
}
