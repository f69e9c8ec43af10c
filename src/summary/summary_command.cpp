#include "summary_command.h"

#include "app/dialogs.h"
#include "paper/printing.h"
#include "paper/table_file.h"
#include "summary_reading.h"
#include "summary_text.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

// Writes the bytes where asked; says why not on standard error.
bool written(const QString& path, const QByteArray& bytes)
{
    if (path == QLatin1String("-")) {
        QFile out;
        return out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() &&
               out.flush();
    }
    const printing::Outcome outcome = printing::saveFile(path, bytes, summary_text::Document);
    if (!outcome.done)
        std::fprintf(stderr, "qm415: %s\n", qPrintable(outcome.problem));
    return outcome.done;
}

} // namespace

int writeSummary(const QStringList& files, const QString& csv, const QString& pdf)
{
    SummaryReading reading;
    int status = 0;
    QObject::connect(&reading, &SummaryReading::finished, [&](const std::vector<SummaryInput>& read) {
        const Summary summary = summarise(read);
        bool ok = summary.allWell();
        if (!csv.isEmpty())
            ok = written(csv, table_file::csv(summary_text::table(summary, summary_text::Amounts::Decimal))) && ok;
        if (!pdf.isEmpty())
            ok = written(pdf, table_file::pdf(summary_text::table(summary, summary_text::Amounts::Currency),
                                              printing::localeSheet())) &&
                 ok;
        for (const QString& line : summary_text::problemLines(summary))
            std::fprintf(stderr, "%s\n", qPrintable(dialogs::shownName(line)));
        status = ok ? 0 : 1;
        QCoreApplication::quit();
    });
    // Once the event loop runs, which the end of the reading stops.
    QMetaObject::invokeMethod(&reading, [&] { reading.start(files); }, Qt::QueuedConnection);
    QCoreApplication::exec();
    return status;
}
