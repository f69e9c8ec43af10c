#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QProcess;

// A PDF's own data: its XMP metadata, where PDF readers expect what a document says of itself,
// and its document information (creator, producer). The program writes its own data there beside
// the page, and reads it back from a file.
namespace pdf_metadata {

// Larger files are refused before anything reads them: a saved statement is a few kilobytes.
inline constexpr qint64 MaxFileSize = 10 * 1024 * 1024;
// What the reader of a file may take: poppler reads a saved statement in some 10 ms and 10 MiB.
inline constexpr int ReadingSeconds = 5;
inline constexpr qint64 ReaderMemory = 40 * 1024 * 1024;


// What is read of a PDF: its XMP metadata, or its document information, one "Name: value" line
// a field, as poppler's pdfinfo prints it.
enum class Part { Metadata, Info };

// What was read (empty where the PDF holds none), or why the file cannot be read as a PDF: the
// system's reason, too large, not a PDF, damaged or incomplete, protected by a password, or a
// limit of the reading reached.
struct Read {
    QByteArray data;
    QString problem; // empty when the file was read
};

// Reads a part of one PDF in a process of its own, poppler's pdfinfo, so that no file can crash
// or hang the program or take its memory: the process is given ReadingSeconds and ReaderMemory
// and ends with the program. The event loop of the reader's thread goes on meanwhile, and runs
// nothing of the reading's own but its end: done() follows each start() once, also for a file
// refused before any process is started, unless cancel() comes first.
class Reader : public QObject {
    Q_OBJECT
public:
    explicit Reader(QObject* parent = nullptr);
    ~Reader() override;

    // More than maxBytes of the part is not read: the file is refused.
    void start(const QString& path, Part part, qint64 maxBytes);
    void cancel();
    bool isReading() const { return m_reading; }

signals:
    void done(const pdf_metadata::Read& read);

private:
    void finish(const Read& read);
    void processEnded();

    QProcess* m_process = nullptr; // a child: it goes with the reader at the latest
    QTimer m_clock, m_refusal;
    QString m_refused;
    QByteArray m_out, m_errors;
    qint64 m_maxBytes = 0;
    bool m_reading = false;
};

// A field of the document information ("Producer"), or "" where there is none.
QString infoField(const QByteArray& info, const QString& name);

} // namespace pdf_metadata
