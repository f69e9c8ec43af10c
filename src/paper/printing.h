#pragma once

#include "cups_printer.h"
#include "pdf_metadata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// A window's client area, as it stands, made into one PDF page: text stays text and rules stay
// lines, in the light colours of paper, at true size. The same page goes to the default printer
// or into a file.
namespace printing {

struct Outcome {
    bool printed;
    QString problem;        // what went wrong and what to do, when not printed
    bool noPrinter = false; // nothing went wrong: there is no printer to print on
};

// Hands the page to the default printer, on the sheet it takes by default.
Outcome printForm(QWidget* window, const QString& title);

// Writes the page to path, on the default printer's sheet so that the file is the page the
// printer would get, or on the locale's (Letter or A4) when there is no printer, with the
// program's own data in the document's metadata. The file appears whole or not at all, and a
// file already there stays as it was when writing fails.
Outcome saveFormAsPdf(QWidget* window, const QString& title, const QString& path,
                      const pdf_metadata::OwnData& own = {});

// A document title made of these words, without the characters a file name cannot hold:
// {"FORM QM-415", "Station 7", "March"} gives "FORM QM-415 Station 7 March".
QString documentTitle(const QStringList& words);

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
