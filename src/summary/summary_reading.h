#pragma once

#include "model/summary.h"
#include "statement/saved_statement.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Reads many saved statements side by side, each in a reader process of its own and as many at a
// time as the machine has processors, while the event loop goes on. Each file is read as Ctrl+O
// reads it, with its limits and refusals.
class SummaryReading : public QObject {
    Q_OBJECT
public:
    explicit SummaryReading(QObject* parent = nullptr);
    ~SummaryReading() override;

    // The files that files and folders name: each file named, and the .pdf files directly inside
    // each folder named (not its subfolders), a folder's in the order of their names.
    static QStringList filesOf(const QStringList& paths);

    // Whether a path names one of these files, also by another name (a link to it).
    static bool isOneOf(const QString& path, const QStringList& files);

    void start(const QStringList& files);
    // Stops reading: the files not read by now are left out, and finished() follows at once with
    // those that were.
    void stop();
    bool isReading() const { return m_reading; }

signals:
    void progress(int read, int files);
    // Every file read, in the order given.
    void finished(const std::vector<SummaryInput>& read);

private:
    void readNext(size_t reader);
    void fileRead(size_t reader, const SavedStatementReader::Result& result);
    void finish();

    struct Reader {
        std::unique_ptr<SavedStatementReader> reader;
        int file = -1; // the file it reads, -1 when it reads none
    };
    std::vector<Reader> m_readers;
    QStringList m_files;
    std::vector<std::optional<SummaryInput>> m_read;
    int m_next = 0;
    int m_done = 0;
    bool m_reading = false;
};
