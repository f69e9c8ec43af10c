#include "pdf_metadata.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QXmlStreamWriter>

namespace pdf_metadata {
namespace {

const QString Rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");

// Where a PDF says what it is and where it ends; a reader looks for either within a kilobyte.
constexpr qint64 MarkerRoom = 1024;
// Poppler reads a saved statement in some 10 ms; a file that takes it longer is not one.
constexpr int ReadingTime = 5000;
// The metadata of a statement is a few kilobytes; a long text in every box makes some megabytes.
constexpr qint64 MaxMetadata = 16 * 1024 * 1024;

Read refused(const QString& why) { return {{}, why}; }

QString damaged() { return QStringLiteral("the PDF is damaged or incomplete"); }

// What poppler's pdfinfo prints of the file's metadata, or why it printed none.
Read metadataOf(const QString& path)
{
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (reader.isEmpty())
        return refused(
            QStringLiteral("the PDF reader pdfinfo (from poppler-utils) is not installed"));
    QProcess pdfinfo;
    pdfinfo.setProgram(reader);
    // An absolute path: a file named like an option is still a file.
    pdfinfo.setArguments({QStringLiteral("-meta"), QFileInfo(path).absoluteFilePath()});
    pdfinfo.setStandardErrorFile(QProcess::nullDevice());
    QByteArray out;
    QEventLoop waiting;
    bool tooMuch = false;
    QObject::connect(&pdfinfo, &QProcess::readyReadStandardOutput, &waiting, [&] {
        out += pdfinfo.readAllStandardOutput();
        if (out.size() > MaxMetadata) {
            tooMuch = true;
            pdfinfo.kill();
        }
    });
    QObject::connect(&pdfinfo, &QProcess::finished, &waiting, &QEventLoop::quit);
    QObject::connect(&pdfinfo, &QProcess::errorOccurred, &waiting, &QEventLoop::quit);
    QTimer::singleShot(ReadingTime, &waiting, &QEventLoop::quit);
    pdfinfo.start(QIODevice::ReadOnly);
    // The window is drawn while poppler reads; what the user types waits until it is done.
    if (pdfinfo.state() != QProcess::NotRunning)
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    if (pdfinfo.error() == QProcess::FailedToStart)
        return refused(QStringLiteral("the PDF reader pdfinfo could not be started"));
    if (pdfinfo.state() != QProcess::NotRunning) {
        pdfinfo.kill();
        pdfinfo.waitForFinished();
        return refused(
            QStringLiteral("reading it took longer than %1 seconds").arg(ReadingTime / 1000));
    }
    out += pdfinfo.readAllStandardOutput();
    if (tooMuch)
        return refused(QStringLiteral("its metadata is far larger than a statement's"));
    if (pdfinfo.exitStatus() != QProcess::NormalExit || pdfinfo.exitCode() != 0)
        return refused(damaged());
    return {out, {}};
}

} // namespace

QByteArray packet(const QString& title, const OwnData& own)
{
    QByteArray xmp;
    QXmlStreamWriter writer(&xmp);
    writer.setAutoFormatting(true);
    writer.writeProcessingInstruction(
        QStringLiteral("xpacket"),
        QStringLiteral("begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\""));
    writer.writeNamespace(QStringLiteral("adobe:ns:meta/"), QStringLiteral("x"));
    writer.writeNamespace(Rdf, QStringLiteral("rdf"));
    writer.writeStartElement(QStringLiteral("adobe:ns:meta/"), QStringLiteral("xmpmeta"));
    writer.writeStartElement(Rdf, QStringLiteral("RDF"));
    // The title again, as XMP gives it, for the readers that look there first.
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    writer.writeStartElement(Rdf, QStringLiteral("Description"));
    writer.writeNamespace(dc, QStringLiteral("dc"));
    writer.writeAttribute(Rdf, QStringLiteral("about"), QString());
    writer.writeStartElement(dc, QStringLiteral("title"));
    writer.writeStartElement(Rdf, QStringLiteral("Alt"));
    writer.writeStartElement(Rdf, QStringLiteral("li"));
    writer.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
    writer.writeCharacters(title);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    if (own)
        own(writer);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end=\"w\""));
    return xmp;
}

Read read(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return refused(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile())
        return refused(QStringLiteral("it is not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.errorString());
    if (file.size() > MaxFileSize)
        return refused(QStringLiteral("it is larger than the 10 MiB a statement can be"));
    // A PDF starts by saying so and ends with its end marker; a file cut short has none.
    if (!file.read(MarkerRoom).contains("%PDF-"))
        return refused(QStringLiteral("it is not a PDF file"));
    if (!file.seek(std::max<qint64>(0, file.size() - MarkerRoom)) ||
        !file.read(MarkerRoom).contains("%%EOF"))
        return refused(damaged());
    return metadataOf(path);
}

} // namespace pdf_metadata
