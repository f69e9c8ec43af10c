// libFuzzer target: reading a saved statement out of whatever a file's metadata holds never
// crashes or hangs, and what it takes, written again, reads back as the same statement.
#include "model/statement_file.h"

#include <QXmlStreamWriter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = statement_file::read(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const auto* saved = std::get_if<statement_file::Saved>(&read);
    if (!saved)
        return 0;
    QByteArray xmp;
    QXmlStreamWriter writer(&xmp);
    const QString rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
    writer.writeNamespace(rdf, QStringLiteral("rdf"));
    writer.writeStartElement(rdf, QStringLiteral("RDF"));
    statement_file::write(writer, *saved);
    writer.writeEndElement();
    const auto again = statement_file::read(xmp);
    if (!std::holds_alternative<statement_file::Saved>(again) ||
        std::get<statement_file::Saved>(again) != *saved)
        std::abort();
    return 0;
}
