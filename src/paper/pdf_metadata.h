#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QXmlStreamWriter;

// A PDF's own data: its XMP metadata, where PDF readers expect what a document says of itself.
// The program writes its own data there beside the page, and reads it back from a file.
namespace pdf_metadata {

// Larger files are refused before anything reads them: a saved statement is a few kilobytes.
inline constexpr qint64 MaxFileSize = 10 * 1024 * 1024;

// Writes the program's own rdf:Description into the metadata being written.
using OwnData = std::function<void(QXmlStreamWriter& xmp)>;

// The XMP packet of a document with this title and the program's own data.
QByteArray packet(const QString& title, const OwnData& own);

// A file's XMP metadata, as its PDF holds it (empty where it holds none), or why the file cannot
// be read as a PDF: the system's reason, too large, not a PDF, damaged or incomplete. The PDF is
// read by poppler's pdfinfo in a process of its own, so that no file can crash or hang the
// program: it is given a few seconds, and the window is drawn meanwhile.
struct Read {
    QByteArray xmp;
    QString problem; // empty when the file was read
};
Read read(const QString& path);

} // namespace pdf_metadata
