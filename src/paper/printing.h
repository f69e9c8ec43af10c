#pragma once

#include "app/layout.h"
#include "cups_printer.h"

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A form's page made from data into one PDF page: text stays text and rules stay lines, in the
// light colours of paper, at true size. The same page goes to the default printer or into a
// file. No window of the user's is drawn or changed for it.
namespace printing {

// What a page shows: a form's layout table at its own size (100 %), with these texts in its
// controls (by the name controlName() gives: "txtBox(3)", "lstStations", "lblCost"; a box's
// text, a list's shown entry, a label's caption), and the named controls left off.
struct Sheet {
    FormSpec layout;
    QHash<QString, QString> texts;
    QStringList leftOut;
};

struct Outcome {
    bool done;              // printed, or saved
    QString problem;        // what went wrong and what to do, when not done
    bool noPrinter = false; // nothing went wrong: there is no printer to print on
};

// Hands the page to the default printer, on the sheet it takes by default.
Outcome printPage(const Sheet& sheet, const QString& title);

// Writes the page to path, on the default printer's sheet so that the file is the page the
// printer would get, or on the locale's (Letter or A4) when there is no printer, with this XMP
// packet as the document's metadata where there is one. The file appears whole or not at all,
// and a file already there stays as it was when writing fails.
Outcome savePage(const Sheet& sheet, const QString& title, const QString& path,
                 const QByteArray& xmp = {});

// Any other document of the program's: what messages call it, and how the user prints again.
struct Document {
    QString name;       // "summary"
    QString printAgain; // "press Ctrl+P"
};

// Hands a PDF to the default printer, as one job.
Outcome printDocument(const QByteArray& pdf, const QString& title, const Document& document);

// Writes a file whole or not at all: a file already there stays as it was when writing fails.
// Empty bytes are a document that could not be made.
Outcome saveFile(const QString& path, const QByteArray& bytes, const Document& document);

// The default printer's sheet, or the locale's where there is no printer; the locale's own
// sheet, Letter where it measures in US units, A4 elsewhere.
QPageSize defaultSheet();
QPageSize localeSheet(const QLocale& locale = QLocale());

// Where pages go: CUPS. Window tests put functions of their own in its place, so that they never
// print for real; an empty service brings CUPS back.
struct Service {
    std::function<std::optional<Destination>()> defaultDestination;
    // Nothing when the destination took the job, otherwise its reason for not taking it.
    std::function<std::optional<QString>(const Destination& to, const QByteArray& pdf,
                                         const QString& title)>
        print;
};
void setService(Service service);

} // namespace printing
