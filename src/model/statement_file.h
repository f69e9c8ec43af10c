#pragma once

#include "statement.h"

#include <QByteArrayView>
#include <QString>

#include <variant>

class QXmlStreamWriter;

// A statement as a saved statement keeps it: inside the PDF of its page, in the document's XMP
// metadata, as an rdf:Description of the program's own namespace. Versioned, and the same in
// every locale; the README describes it.
namespace statement_file {

inline constexpr int FormatVersion = 1;
inline constexpr char Namespace[] = "https://qm415.org/ns/statement/";
// The most metadata a statement with every box full can need: each text of the boxes, the
// station and the title at most six bytes a character (a character escaped in XML), and room
// for what PDF tools add of their own. Anything longer is no statement, and is not read.
inline constexpr qint64 MaxMetadata = (BoxCount + 2) * qint64(MaxText) * 6 + 64 * 1024;

// What a file keeps of a statement: its entries, and whether the totals shown were worked out
// from exactly these. Totals themselves are never kept: a reader works them out anew.
struct Saved {
    Statement statement;
    bool calculated = false;
    bool operator==(const Saved&) const = default;
};

// Writes the statement as an rdf:Description into XMP being written. A character no box could
// have been given by typing (a control character) is written as the blank the box showed.
void write(QXmlStreamWriter& xmp, const Saved& saved);

// The XMP packet of the statement's document: its title again, as XMP gives it, for the readers
// that look there first, and the statement as above.
QByteArray packet(const Saved& saved);

// Why a document's entries cannot be taken, in the user's words. Where one entry is at fault,
// `box` names it and the reason holds %1 for what the user calls it. `noEntries` marks metadata
// that holds nothing of a statement at all.
struct Problem {
    QString reason;
    QString box;
    bool noEntries = false;
};

// The statement of a document's XMP metadata, written in the locale it names, each entry
// checked as if it were typed into its box: a station or month on the lists, known boxes only,
// texts a box takes, amounts below a trillion, each amount the one its text reads in that
// locale. A document of a newer format is refused, not guessed at. Any way XMP allows of
// writing the properties is read: elements, attributes, rdf:parseType="Resource", an
// rdf:Description inside an rdf:li. Reading stops at the first thing no statement holds (a
// declaration, an unknown or repeated box, nesting deeper than the format's), so that it is
// linear in the input and holds no more than a statement; metadata longer than MaxMetadata is
// not read at all.
std::variant<Saved, Problem> read(QByteArrayView xmp);

} // namespace statement_file
