#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>

#include <optional>

// The print system, through CUPS's own interface. The library is loaded when the user first
// prints: with it come a score of others (TLS, Kerberos, service discovery) that the first frame
// has no use for.
namespace printing {

// The default printer, as the print system knows it.
struct Destination {
    QString name;
    QPageSize paper; // the sheet it takes by default; invalid when it names none
};

namespace cups {

// The default destination, or nothing where there is none, or no CUPS at all.
std::optional<Destination> defaultDestination();

// Hands the PDF to the destination as one job; nothing when it took the job, otherwise its reason.
std::optional<QString> print(const Destination& to, const QByteArray& pdf, const QString& title);

} // namespace cups
} // namespace printing
