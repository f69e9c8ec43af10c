#include "summary_reading.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

SummaryReading::SummaryReading(QObject* parent) : QObject(parent)
{
    // Each reader is a process of its own: as many at a time as there are processors to run them.
    const int readers = std::max(1, QThread::idealThreadCount());
    for (size_t i = 0; i < size_t(readers); ++i) {
        m_readers.push_back({std::make_unique<SavedStatementReader>()});
        connect(m_readers[i].reader.get(), &SavedStatementReader::done, this,
                [this, i](const SavedStatementReader::Result& result) { fileRead(i, result); });
    }
}

SummaryReading::~SummaryReading() = default;

QStringList SummaryReading::filesOf(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        // Whatever is named .pdf, also a pipe, a device or a link that leads nowhere: each is
        // then refused with its reason, not passed over unsaid.
        const QDir folder(path);
        for (const QString& name : folder.entryList({QStringLiteral("*.pdf")},
                                                    QDir::Files | QDir::System | QDir::Hidden,
                                                    QDir::Name))
            files << folder.filePath(name);
    }
    return files;
}

bool SummaryReading::isOneOf(const QString& path, const QStringList& files)
{
    const auto where = [](const QString& name) {
        const QFileInfo file(name);
        return file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    };
    const QString target = where(path);
    return std::any_of(files.begin(), files.end(),
                       [&](const QString& file) { return where(file) == target; });
}

void SummaryReading::start(const QStringList& files)
{
    stop();
    m_files = files;
    m_read.assign(files.size(), std::nullopt);
    m_next = m_done = 0;
    m_reading = true;
    emit progress(0, int(files.size()));
    for (size_t i = 0; i < m_readers.size(); ++i)
        readNext(i);
    if (m_files.isEmpty())
        finish();
}

void SummaryReading::readNext(size_t reader)
{
    Reader& r = m_readers[reader];
    r.file = m_next < m_files.size() ? m_next++ : -1;
    if (r.file >= 0)
        r.reader->start(m_files[r.file]);
}

void SummaryReading::fileRead(size_t reader, const SavedStatementReader::Result& result)
{
    const int file = m_readers[reader].file;
    if (const auto* problem = std::get_if<statement_file::Problem>(&result))
        m_read[file] = SummaryInput{m_files[file], SavedStatementReader::reason(*problem)};
    else
        m_read[file] = SummaryInput{m_files[file], std::get<statement_file::Saved>(result)};
    ++m_done;
    emit progress(m_done, int(m_files.size()));
    if (m_done == m_files.size())
        finish();
    else
        readNext(reader);
}

void SummaryReading::stop()
{
    if (!m_reading)
        return;
    for (Reader& r : m_readers) {
        r.reader->cancel();
        r.file = -1;
    }
    finish();
}

void SummaryReading::finish()
{
    m_reading = false;
    std::vector<SummaryInput> read;
    for (std::optional<SummaryInput>& input : m_read)
        if (input)
            read.push_back(std::move(*input));
    m_read.clear();
    emit finished(read);
}
