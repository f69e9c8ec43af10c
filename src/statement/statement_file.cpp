#include "statement_file.h"

#include "money/money.h"

#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace statement_file {
namespace {

const QString Rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const QString Ours = QString::fromLatin1(Namespace);

// What the box showed: the toolkit draws a control character as a blank. The two characters
// XML cannot hold at all come back as the replacement character.
QString shown(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
        else if (c == QChar(0xfffe) || c == QChar(0xffff))
            c = QChar::ReplacementCharacter;
    }
    return text;
}

bool holdsControls(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// Every box of the statement by name: its place in the order of the format, and its kind.
struct Known {
    int order;
    bool amount;
};
const QHash<QString, Known>& knownBoxes()
{
    static const QHash<QString, Known> known = [] {
        QHash<QString, Known> names;
        for (const BoxArray& array : Arrays)
            for (int i = 0; i < array.count; ++i)
                names.insert(QStringLiteral("%1(%2)").arg(QLatin1String(array.name)).arg(i),
                             {int(names.size()), array.amounts});
        return names;
    }();
    return known;
}

// The simple properties and the boxes' fields, as the XML gave them, before any is checked.
struct Raw {
    bool ours = false;    // anything in the program's namespace at all
    bool damaged = false; // not XML, or not in the shape the format gives
    QHash<QString, QString> properties;
    std::vector<QHash<QString, QString>> boxes;
};

Raw parse(const QByteArray& xmp)
{
    Raw raw;
    QXmlStreamReader xml(xmp);
    bool inBoxes = false, hadBoxes = false;
    std::optional<QHash<QString, QString>> box;
    // Elements open around the reader. A reader may hand on what follows the packet (a stream
    // edited by hand runs on past its length): the document ends with its root element.
    int depth = 0;
    // A value given twice is no longer one value.
    const auto take = [&](QHash<QString, QString>& into, const QString& name) {
        const QString value = xml.readElementText();
        --depth;
        if (into.contains(name))
            raw.damaged = true;
        into.insert(name, value);
    };
    while (!xml.atEnd() && !raw.damaged && !(xml.isEndElement() && depth == 0)) {
        xml.readNext();
        depth += xml.isStartElement() ? 1 : xml.isEndElement() ? -1 : 0;
        const bool ours = xml.namespaceUri() == Ours;
        const QString name = xml.name().toString();
        if (xml.isStartElement()) {
            raw.ours = raw.ours || ours;
            if (box) {
                if (ours) {
                    take(*box, name);
                } else {
                    xml.skipCurrentElement();
                    --depth;
                }
            } else if (inBoxes) {
                if (xml.namespaceUri() == Rdf && name == QLatin1String("li"))
                    box.emplace();
                else if (ours)
                    raw.damaged = true;
            } else if (ours && name == QLatin1String("boxes")) {
                raw.damaged = hadBoxes;
                inBoxes = hadBoxes = true;
            } else if (ours) {
                take(raw.properties, name);
            }
        } else if (xml.isEndElement()) {
            if (box && xml.namespaceUri() == Rdf && name == QLatin1String("li")) {
                raw.boxes.push_back(std::move(*box));
                box.reset();
            } else if (ours && name == QLatin1String("boxes")) {
                inBoxes = false;
            }
        }
    }
    raw.damaged = raw.damaged || xml.hasError();
    return raw;
}

// A whole number written in plain digits, with a minus sign at most.
std::optional<qint64> number(const QString& text)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || text != QString::number(n))
        return std::nullopt;
    return n;
}

// A number from first to last, or nothing where there is none. Out of range: outside.
std::optional<int> picked(const QHash<QString, QString>& properties, const char* name, int last)
{
    const QString key = QLatin1String(name);
    if (!properties.contains(key))
        return 0;
    const std::optional<qint64> n = number(properties.value(key));
    if (!n || *n < 1 || *n > last)
        return std::nullopt;
    return int(*n);
}

Problem damaged() { return {QStringLiteral("its saved statement is damaged"), {}}; }

// Why a text cannot go into its box, if it cannot.
std::optional<Problem> untypable(const QString& text, const QString& box)
{
    if (text.size() > MaxText)
        return Problem{QStringLiteral("the entry for %1 is longer than its box takes"), box};
    if (holdsControls(text))
        return Problem{QStringLiteral("the entry for %1 holds control characters"), box};
    return std::nullopt;
}

} // namespace

void write(QXmlStreamWriter& xmp, const Entries& entries)
{
    xmp.writeStartElement(Rdf, QStringLiteral("Description"));
    xmp.writeNamespace(Ours, QStringLiteral("qm415"));
    xmp.writeAttribute(Rdf, QStringLiteral("about"), QString());
    const auto property = [&](const char* name, const QString& value) {
        xmp.writeTextElement(Ours, QLatin1String(name), value);
    };
    property("formatVersion", QString::number(FormatVersion));
    property("locale", entries.locale);
    property("calculated", entries.calculated ? QStringLiteral("True") : QStringLiteral("False"));
    if (entries.station != 0)
        property("station", QString::number(entries.station));
    if (!entries.stationText.isEmpty())
        property("stationText", shown(entries.stationText));
    if (entries.month != 0)
        property("month", QString::number(entries.month));
    xmp.writeStartElement(Ours, QStringLiteral("boxes"));
    xmp.writeStartElement(Rdf, QStringLiteral("Bag"));
    for (const Box& box : entries.boxes) {
        xmp.writeStartElement(Rdf, QStringLiteral("li"));
        xmp.writeAttribute(Rdf, QStringLiteral("parseType"), QStringLiteral("Resource"));
        property("name", box.name);
        property("text", shown(box.text));
        if (box.cents)
            property("cents", QString::number(*box.cents));
        xmp.writeEndElement();
    }
    xmp.writeEndElement();
    xmp.writeEndElement();
    xmp.writeEndElement();
}

std::variant<Entries, Problem> read(QByteArrayView xmp)
{
    const Raw raw = parse(xmp.toByteArray());
    if (!raw.ours)
        return Problem{QStringLiteral("it holds no entries of a statement (only a PDF this "
                                      "program saved has them)"),
                       {}};
    if (raw.damaged)
        return damaged();
    const QHash<QString, QString>& p = raw.properties;
    const std::optional<qint64> version = number(p.value(QStringLiteral("formatVersion")));
    if (!version || *version < 1)
        return damaged();
    if (*version > FormatVersion)
        return Problem{QStringLiteral("it was saved by a newer version of the program (format "
                                      "%1; this version reads format %2)")
                           .arg(*version)
                           .arg(FormatVersion),
                       {}};

    Entries entries;
    entries.locale = p.value(QStringLiteral("locale"));
    const QString calculated = p.value(QStringLiteral("calculated"));
    if (entries.locale.isEmpty() || entries.locale.size() > 64 || holdsControls(entries.locale) ||
        (calculated != QLatin1String("True") && calculated != QLatin1String("False")))
        return damaged();
    entries.calculated = calculated == QLatin1String("True");

    const std::optional<int> station = picked(p, "station", Stations);
    if (!station)
        return Problem{QStringLiteral("the station it names is not on the list"), {}};
    entries.station = *station;
    const std::optional<int> month = picked(p, "month", 12);
    if (!month)
        return Problem{QStringLiteral("the month it names is not on the list"), {}};
    entries.month = *month;
    entries.stationText = p.value(QStringLiteral("stationText"));
    if (const auto problem = untypable(entries.stationText, QStringLiteral("lstStations")))
        return *problem;

    QHash<QString, bool> seen;
    for (const QHash<QString, QString>& fields : raw.boxes) {
        const QString name = fields.value(QStringLiteral("name"));
        if (!fields.contains(QStringLiteral("text")) || seen.contains(name))
            return damaged();
        if (!knownBoxes().contains(name))
            return Problem{QStringLiteral("it names a box the statement does not have"), {}};
        seen.insert(name, true);
        Box box{name, fields.value(QStringLiteral("text")), std::nullopt};
        if (const auto problem = untypable(box.text, name))
            return *problem;
        if (fields.contains(QStringLiteral("cents"))) {
            box.cents = number(fields.value(QStringLiteral("cents")));
            if (!box.cents || !knownBoxes().value(name).amount)
                return damaged();
            if (*box.cents <= -money::LimitCents || *box.cents >= money::LimitCents)
                return Problem{QStringLiteral("the amount for %1 is a trillion or more"), name};
        }
        if (!box.text.isEmpty())
            entries.boxes.push_back(std::move(box));
    }
    std::sort(entries.boxes.begin(), entries.boxes.end(), [](const Box& a, const Box& b) {
        return knownBoxes().value(a.name).order < knownBoxes().value(b.name).order;
    });
    return entries;
}

} // namespace statement_file
