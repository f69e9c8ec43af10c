#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

class QXmlStreamWriter;

// What the user entered on a statement, as a saved statement keeps it: inside the PDF of its
// page, in the document's XMP metadata, as an rdf:Description of the program's own namespace.
// Versioned, and the same in every locale; the README describes it. Qt Core only, so that the
// reading can be fuzzed alone.
namespace statement_file {

inline constexpr int FormatVersion = 1;
inline constexpr char Namespace[] = "https://qm415.org/ns/statement/";

// The statement's boxes, array by array, in the order the format lists them.
struct BoxArray {
    const char* name;
    int count;
    bool amounts; // amount boxes, rather than descriptions
};
inline constexpr BoxArray Arrays[] = {
    {"txtBox", 10, true}, {"txtBoxa", 7, true}, {"Text1", 6, false}};
inline constexpr int Stations = 34;
inline constexpr int BoxCount = 23;
// The most a box or the station list takes: the toolkit's limit for a line of text.
inline constexpr int MaxText = 32767;
// The most metadata a statement with every box full can need: each text of the boxes, the
// station and the title at most six bytes a character (a character escaped in XML), and room
// for what PDF tools add of their own. Anything longer is no statement, and is not read.
inline constexpr qint64 MaxMetadata = (BoxCount + 2) * qint64(MaxText) * 6 + 64 * 1024;

// The station list's entry for station n (1 to 34).
QString stationName(int n);

struct Box {
    QString name;                // "txtBox(3)"
    QString text;                // as the box showed it
    std::optional<qint64> cents; // where the text read as an amount where it was written
    bool operator==(const Box&) const = default;
};

struct Entries {
    QString locale;          // where it was written: "de_DE"
    bool calculated = false; // the totals shown were worked out from these very entries
    int station = 0;         // 1 to 34, as picked from the list; 0 when none was picked
    QString stationText;     // what the list showed: the entry picked, or text typed into it
    int month = 0;           // 1 to 12; 0 when none was picked
    std::vector<Box> boxes;  // the boxes that held text, in the order of Arrays
    bool operator==(const Entries&) const = default;
};

// Writes the entries as an rdf:Description into XMP being written. A character no box could
// have been given by typing (a control character) is written as the blank the box showed.
void write(QXmlStreamWriter& xmp, const Entries& entries);

// Why a document's entries cannot be taken, in the user's words. Where one entry is at fault,
// `box` names it and the reason holds %1 for what the user calls it.
// `noEntries` marks metadata that holds nothing of a statement at all.
struct Problem {
    QString reason;
    QString box;
    bool noEntries = false;
};

// The entries of a document's XMP metadata, each checked as if it were typed into its box:
// a station or month on the lists, known boxes only, texts a box takes, amounts below a
// trillion, each amount the one its text reads in the locale it was written in. A document of
// a newer format is refused, not guessed at. Any way XMP allows of writing the properties is
// read: elements, attributes, rdf:parseType="Resource", an rdf:Description inside an rdf:li.
// Reading stops at the first thing no statement holds (a declaration, an unknown or repeated
// box, nesting deeper than the format's), so that it is linear in the input and holds no more
// than a statement; metadata longer than MaxMetadata is not read at all.
std::variant<Entries, Problem> read(QByteArrayView xmp);

} // namespace statement_file
