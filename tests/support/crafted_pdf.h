#pragma once

// PDFs made by hand, as a hostile sender would: one page and a metadata stream of the test's own,
// packed by zlib as often as asked.
#include <QByteArray>
#include <QList>
#include <QPair>

#include <zlib.h>

// Parts said so many times over, one after another, packed as a PDF's FlateDecode filter unpacks
// them. Streamed: a part said a million times is never held whole.
inline QByteArray deflated(const QList<QPair<QByteArray, qint64>>& parts)
{
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    QByteArray out;
    char buffer[1 << 16];
    const auto pack = [&](const QByteArray& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
    };
    for (const auto& [part, times] : parts)
        for (qint64 i = 0; i < times; ++i)
            pack(part, Z_NO_FLUSH);
    pack({}, Z_FINISH);
    deflateEnd(&z);
    return out;
}

// A one-page PDF whose metadata stream is `stream`, unpacked `packings` times on reading.
inline QByteArray craftedPdf(const QByteArray& stream, int packings = 0,
                             const QByteArray& info = "/Producer (a test)")
{
    const QByteArray filters = packings ? "/Filter [" + QByteArray("/FlateDecode ").repeated(packings) + "]" : "";
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R /Metadata 4 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
        "<< /Type /Metadata /Subtype /XML /Length " + QByteArray::number(stream.size()) + " " +
            filters + " >>\nstream\n" + stream + "\nendstream",
        "<< " + info + " >>"};
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray xref = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int i = 0; i < objects.size(); ++i) {
        xref += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray start = QByteArray::number(pdf.size());
    return pdf + xref + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + start + "\n%%EOF\n";
}
