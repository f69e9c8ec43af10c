// libFuzzer target: reading a saved statement's entries out of whatever a file's metadata holds
// never crashes or hangs, and what it takes, written again, reads back as the same entries.
#include "statement/statement_file.h"

#include <QXmlStreamWriter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = statement_file::read(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const auto* entries = std::get_if<statement_file::Entries>(&read);
    if (!entries)
        return 0;
    QByteArray xmp;
    QXmlStreamWriter writer(&xmp);
    const QString rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
    writer.writeNamespace(rdf, QStringLiteral("rdf"));
    writer.writeStartElement(rdf, QStringLiteral("RDF"));
    statement_file::write(writer, *entries);
    writer.writeEndElement();
    const auto again = statement_file::read(xmp);
    if (!std::holds_alternative<statement_file::Entries>(again) ||
        std::get<statement_file::Entries>(again) != *entries)
        std::abort();
    return 0;
}
