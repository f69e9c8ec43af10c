#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Prints a window's client area, as it stands, on the default printer or into a PDF file:
// text stays text and rules stay lines, in the light colours of paper.
namespace printing {

struct Outcome {
    bool printed;
    QString problem;        // what went wrong and what to do, when not printed
    bool noPrinter = false; // nothing went wrong: there is no printer to print on
};

Outcome printForm(QWidget* window);

// The same page as printForm, at true size on the locale's paper, written to path: the file
// appears whole or not at all, and a file already there stays as it was when writing fails.
Outcome saveFormAsPdf(QWidget* window, const QString& path);

// A file name made of these words, without the characters a file name cannot hold:
// {"FORM QM-415", "Station 7", "March"} gives "FORM QM-415 Station 7 March.pdf".
QString pdfFileName(const QStringList& words);

// Window tests print into a function of their own; an empty one brings back the printer.
using Service = std::function<Outcome(QWidget* window)>;
void setService(Service service);

} // namespace printing
