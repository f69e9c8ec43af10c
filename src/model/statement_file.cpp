#include "statement_file.h"

#include "money/money.h"

#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <utility>

namespace statement_file {
namespace {

const QString Rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const QString Ours = QString::fromLatin1(Namespace);
const QString XmpMeta = QStringLiteral("adobe:ns:meta/");

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

Problem newer(qint64 version)
{
    return {QStringLiteral("it was saved by a newer version of the program (format %1; this "
                           "version reads format %2)")
                .arg(version)
                .arg(FormatVersion),
            {}};
}

// The fields of one box, as the metadata gives them.
struct Fields {
    std::optional<QString> name, text, cents;
};

// A box as the metadata gives it, once checked on its own.
struct Box {
    int index;
    QString text;
    std::optional<qint64> cents;
};

// Reads the metadata by descent: each function reads one element of the format, from its start
// to its end, with what it may hold. Elements of others are passed over, though no deeper than
// the format's own go, and the first thing a statement never holds ends the reading.
class Reader {
public:
    explicit Reader(QByteArrayView xmp) : m_xml(QByteArray::fromRawData(xmp.data(), xmp.size())) {}

    std::variant<Saved, Problem> read();

private:
    // How deep the format's elements stand: a box's field inside an rdf:Description inside an
    // rdf:li of the bag, below x:xmpmeta, rdf:RDF, the description and qm415:boxes.
    static constexpr int Deepest = 8;

    bool going() const { return !m_stop && !m_xml.hasError(); }
    void stop(Problem problem)
    {
        if (!m_stop)
            m_stop = std::move(problem);
    }
    bool is(const QString& ns, const char* name) const
    {
        return m_xml.namespaceUri() == ns && m_xml.name() == QLatin1String(name);
    }
    bool ours() const { return m_xml.namespaceUri() == Ours; }
    // A simple value: text only, an element inside it is none of the format's.
    QString text() { return m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement); }

    void document();
    void rdf();
    void description();
    void property(const QString& name, const QString& value);
    void boxes();
    void box();
    void fields(Fields& into, bool mayNest);
    void field(Fields& into, QStringView name, const QString& value);
    void passOver(int depth);

    QXmlStreamReader m_xml;
    std::optional<Problem> m_stop;
    bool m_ours = false; // anything of the program's namespace at all
    QHash<QString, QString> m_properties;
    bool m_hadBoxes = false;
    std::vector<Box> m_boxes; // each known box once, in the order met
};

void Reader::document()
{
    // Before its root the metadata holds comments and processing instructions, never a DTD: so
    // no entity is declared, let alone fetched, and none can grow in the reading.
    while (!m_xml.atEnd() && !m_xml.isStartElement()) {
        if (m_xml.readNext() == QXmlStreamReader::DTD)
            return stop({QStringLiteral("its metadata holds a document type declaration, which no "
                                        "saved statement has"),
                         {}});
    }
    if (!m_xml.isStartElement())
        return;
    // The document ends with its root element: whatever a stream holds after it is not read.
    if (is(XmpMeta, "xmpmeta")) {
        while (going() && m_xml.readNextStartElement()) {
            if (is(Rdf, "RDF"))
                rdf();
            else
                passOver(2);
        }
    } else if (is(Rdf, "RDF")) {
        rdf();
    } else {
        passOver(1);
    }
}

void Reader::rdf()
{
    while (going() && m_xml.readNextStartElement()) {
        if (is(Rdf, "Description"))
            description();
        else
            passOver(3);
    }
}

// A description's properties are its attributes or its elements, as XMP allows both.
void Reader::description()
{
    for (const QXmlStreamAttribute& a : m_xml.attributes())
        if (a.namespaceUri() == Ours)
            property(a.name().toString(), a.value().toString());
    while (going() && m_xml.readNextStartElement()) {
        if (!ours()) {
            passOver(4);
        } else if (m_xml.name() == QLatin1String("boxes")) {
            boxes();
        } else {
            const QString name = m_xml.name().toString();
            property(name, text());
        }
    }
}

void Reader::property(const QString& name, const QString& value)
{
    static const QStringList simple{
        QStringLiteral("formatVersion"), QStringLiteral("locale"), QStringLiteral("calculated"),
        QStringLiteral("station"),       QStringLiteral("stationText"), QStringLiteral("month")};
    m_ours = true;
    // A value given twice is no longer one value.
    if (!simple.contains(name) || m_properties.contains(name))
        return stop(damaged());
    m_properties.insert(name, value);
}

void Reader::boxes()
{
    m_ours = true;
    if (std::exchange(m_hadBoxes, true))
        return stop(damaged());
    while (going() && m_xml.readNextStartElement()) {
        if (!is(Rdf, "Bag"))
            return stop(damaged());
        while (going() && m_xml.readNextStartElement()) {
            if (!is(Rdf, "li"))
                return stop(damaged());
            box();
        }
    }
}

// One box, taken as it is met: the reading never holds more boxes than the statement has.
void Reader::box()
{
    Fields f;
    fields(f, true);
    if (!going())
        return;
    if (!f.name || !f.text)
        return stop(damaged());
    const int index = boxIndex(*f.name);
    if (index < 0)
        return stop({QStringLiteral("it names a box the statement does not have"), {}});
    if (std::any_of(m_boxes.begin(), m_boxes.end(), [&](const Box& b) { return b.index == index; }))
        return stop(damaged());
    if (const auto problem = untypable(*f.text, *f.name))
        return stop(*problem);
    Box box{index, *f.text, std::nullopt};
    if (f.cents) {
        box.cents = number(*f.cents);
        if (!box.cents || !isAmountBox(index))
            return stop(damaged());
        if (*box.cents <= -money::LimitCents || *box.cents >= money::LimitCents)
            return stop({QStringLiteral("the amount for %1 is a trillion or more"), *f.name});
    }
    m_boxes.push_back(std::move(box));
}

// A box's fields: attributes of its rdf:li, elements inside it (rdf:parseType="Resource"), or
// the same in the one rdf:Description it holds.
void Reader::fields(Fields& into, bool mayNest)
{
    for (const QXmlStreamAttribute& a : m_xml.attributes())
        if (a.namespaceUri() == Ours)
            field(into, a.name(), a.value().toString());
    while (going() && m_xml.readNextStartElement()) {
        if (mayNest && is(Rdf, "Description")) {
            fields(into, false);
        } else if (ours()) {
            const QString name = m_xml.name().toString();
            field(into, name, text());
        } else {
            return stop(damaged());
        }
    }
}

void Reader::field(Fields& into, QStringView name, const QString& value)
{
    m_ours = true;
    std::optional<QString>* slot = name == QLatin1String("name")    ? &into.name
                                   : name == QLatin1String("text")  ? &into.text
                                   : name == QLatin1String("cents") ? &into.cents
                                                                    : nullptr;
    if (!slot || *slot)
        return stop(damaged());
    *slot = value;
}

// Passes over an element of others with what it holds, no deeper than the format's own go.
void Reader::passOver(int depth)
{
    while (going() && m_xml.readNextStartElement()) {
        if (depth >= Deepest)
            return stop(damaged());
        passOver(depth + 1);
    }
}

std::variant<Saved, Problem> Reader::read()
{
    document();
    const QHash<QString, QString>& p = m_properties;
    const std::optional<qint64> version = number(p.value(QStringLiteral("formatVersion")));
    // A newer format may be written otherwise: it is said so, whatever else the reading met.
    if (version && *version > FormatVersion)
        return newer(*version);
    if (m_stop)
        return *m_stop;
    if (!m_ours)
        return Problem{QStringLiteral("it holds no entries of a statement (only a PDF this "
                                      "program saved has them)"),
                       {},
                       true};
    if (m_xml.hasError() || !version || *version < 1)
        return damaged();

    // The locale the texts were written in, by a name that names it again.
    const QString locale = p.value(QStringLiteral("locale"));
    const QString calculated = p.value(QStringLiteral("calculated"));
    if (locale.isEmpty() || locale.size() > 64 || holdsControls(locale) ||
        QLocale(locale).name() != locale ||
        (calculated != QLatin1String("True") && calculated != QLatin1String("False")))
        return damaged();
    Saved saved{Statement(locale == QLocale().name() ? QLocale() : QLocale(locale)),
                calculated == QLatin1String("True")};
    Statement& statement = saved.statement;

    const std::optional<int> station = picked(p, "station", Stations);
    if (!station)
        return Problem{QStringLiteral("the station it names is not on the list"), {}};
    const std::optional<int> month = picked(p, "month", Months);
    if (!month)
        return Problem{QStringLiteral("the month it names is not on the list"), {}};
    QString stationText = p.value(QStringLiteral("stationText"));
    if (const auto problem = untypable(stationText, QStringLiteral("lstStations")))
        return *problem;
    // A station picked shows its entry, also where the text was left out.
    if (*station != 0 && stationText.isEmpty())
        stationText = stationName(*station);
    statement.setStation(*station, stationText);
    statement.setMonth(*month);

    // Each amount is the one its text reads where it was written: a file that says otherwise
    // would show one amount in one locale and another elsewhere.
    for (const Box& box : m_boxes) {
        statement.setBox(box.index, box.text);
        const money::Amount& amount = statement.amount(box.index);
        if (isAmountBox(box.index) &&
            (amount.status == money::Status::Number ? std::optional(amount.cents)
                                                    : std::nullopt) != box.cents)
            return Problem{QStringLiteral("its saved statement is damaged: the amount saved "
                                          "for %1 is not the one its text reads"),
                           boxName(box.index)};
    }
    return saved;
}

} // namespace

void write(QXmlStreamWriter& xmp, const Saved& saved)
{
    const Statement& statement = saved.statement;
    xmp.writeStartElement(Rdf, QStringLiteral("Description"));
    xmp.writeNamespace(Ours, QStringLiteral("qm415"));
    xmp.writeAttribute(Rdf, QStringLiteral("about"), QString());
    const auto property = [&](const char* name, const QString& value) {
        xmp.writeTextElement(Ours, QLatin1String(name), value);
    };
    property("formatVersion", QString::number(FormatVersion));
    property("locale", statement.locale().name());
    property("calculated", saved.calculated ? QStringLiteral("True") : QStringLiteral("False"));
    if (statement.station() != 0)
        property("station", QString::number(statement.station()));
    if (!statement.stationText().isEmpty())
        property("stationText", shown(statement.stationText()));
    if (statement.month() != 0)
        property("month", QString::number(statement.month()));
    xmp.writeStartElement(Ours, QStringLiteral("boxes"));
    xmp.writeStartElement(Rdf, QStringLiteral("Bag"));
    for (int box = 0; box < BoxCount; ++box) {
        if (statement.box(box).isEmpty())
            continue;
        xmp.writeStartElement(Rdf, QStringLiteral("li"));
        xmp.writeAttribute(Rdf, QStringLiteral("parseType"), QStringLiteral("Resource"));
        // The cents are those of the text as written, which a reader compares them with.
        const QString text = shown(statement.box(box));
        property("name", boxName(box));
        property("text", text);
        const money::Amount amount =
            isAmountBox(box) ? money::read(text, statement.locale()) : money::Amount{};
        if (amount.status == money::Status::Number)
            property("cents", QString::number(amount.cents));
        xmp.writeEndElement();
    }
    xmp.writeEndElement();
    xmp.writeEndElement();
    xmp.writeEndElement();
}

QByteArray packet(const Saved& saved)
{
    QByteArray xmp;
    QXmlStreamWriter writer(&xmp);
    writer.setAutoFormatting(true);
    writer.writeProcessingInstruction(
        QStringLiteral("xpacket"),
        QStringLiteral("begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\""));
    writer.writeNamespace(XmpMeta, QStringLiteral("x"));
    writer.writeNamespace(Rdf, QStringLiteral("rdf"));
    writer.writeStartElement(XmpMeta, QStringLiteral("xmpmeta"));
    writer.writeStartElement(Rdf, QStringLiteral("RDF"));
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    writer.writeStartElement(Rdf, QStringLiteral("Description"));
    writer.writeNamespace(dc, QStringLiteral("dc"));
    writer.writeAttribute(Rdf, QStringLiteral("about"), QString());
    writer.writeStartElement(dc, QStringLiteral("title"));
    writer.writeStartElement(Rdf, QStringLiteral("Alt"));
    writer.writeStartElement(Rdf, QStringLiteral("li"));
    writer.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
    writer.writeCharacters(saved.statement.title());
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndElement();
    write(writer, saved);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end=\"w\""));
    return xmp;
}

std::variant<Saved, Problem> read(QByteArrayView xmp)
{
    if (xmp.size() > MaxMetadata)
        return Problem{QStringLiteral("its metadata is far larger than a statement's"), {}};
    return Reader(xmp).read();
}

} // namespace statement_file
