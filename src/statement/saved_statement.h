#pragma once

#include "paper/pdf_metadata.h"
#include "model/statement_file.h"

#include <QObject>

#include <variant>

// Reads the entries of a statement saved as a PDF while the event loop goes on. A file that
// cannot be taken is refused with its reason in the user's words: where a PDF this program made
// comes back without its entries, the program that rewrote it is named.
class SavedStatementReader : public QObject {
    Q_OBJECT
public:
    using Result = std::variant<statement_file::Saved, statement_file::Problem>;

    explicit SavedStatementReader(QObject* parent = nullptr);

    // done() follows once, unless cancel() comes first.
    void start(const QString& path);
    void cancel() { m_reader.cancel(); }
    bool isReading() const { return m_reader.isReading(); }

    // Why a file was refused, in words: the box at fault, if any, by what a screen reader calls it.
    static QString reason(const statement_file::Problem& problem);

signals:
    void done(const SavedStatementReader::Result& result);

private:
    void partRead(const pdf_metadata::Read& read);

    pdf_metadata::Reader m_reader;
    QString m_path;
    pdf_metadata::Part m_part = pdf_metadata::Part::Metadata;
    statement_file::Problem m_noEntries;
};
