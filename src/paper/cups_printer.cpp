#include "cups_printer.h"

#include <QLibrary>
#include <QPageSize>
#include <QSizeF>

#include <cups/cups.h>

#include <memory>

namespace printing::cups {
namespace {

// The functions of CUPS the program calls, each under its own name.
#define QM415_CUPS_FUNCTIONS(F)                                                                    \
    F(cupsAddOption)                                                                               \
    F(cupsCancelDestJob)                                                                           \
    F(cupsCopyDestInfo)                                                                            \
    F(cupsCreateDestJob)                                                                           \
    F(cupsDoRequest)                                                                               \
    F(cupsFindDestDefault)                                                                         \
    F(cupsFinishDestDocument)                                                                      \
    F(cupsFreeDestInfo)                                                                            \
    F(cupsFreeDests)                                                                               \
    F(cupsFreeOptions)                                                                             \
    F(cupsGetDestMediaByName)                                                                      \
    F(cupsGetNamedDest)                                                                            \
    F(cupsGetOption)                                                                               \
    F(cupsLastErrorString)                                                                         \
    F(cupsStartDestDocument)                                                                       \
    F(cupsWriteRequestData)                                                                        \
    F(ippAddString)                                                                                \
    F(ippDelete)                                                                                   \
    F(ippFindAttribute)                                                                            \
    F(ippGetString)                                                                                \
    F(ippNewRequest)

struct Library {
#define QM415_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    QM415_CUPS_FUNCTIONS(QM415_CUPS_POINTER)
#undef QM415_CUPS_POINTER
};

// The system's CUPS library, loaded on first use and kept; null where it is not installed.
const Library* loaded()
{
    static const std::optional<Library> library = []() -> std::optional<Library> {
        QLibrary cups(QStringLiteral("cups"), 2);
        if (!cups.load())
            return std::nullopt;
        Library functions;
        bool complete = true;
#define QM415_CUPS_RESOLVE(name)                                                                   \
    functions.name = reinterpret_cast<decltype(functions.name)>(cups.resolve(#name));              \
    complete = complete && functions.name;
        QM415_CUPS_FUNCTIONS(QM415_CUPS_RESOLVE)
#undef QM415_CUPS_RESOLVE
        return complete ? std::optional(functions) : std::nullopt;
    }();
    return library ? &*library : nullptr;
}

// Called only once loaded() has found the library.
const Library& lib() { return *loaded(); }

struct FreeDest {
    void operator()(cups_dest_t* dest) const { lib().cupsFreeDests(1, dest); }
};
struct FreeDestInfo {
    void operator()(cups_dinfo_t* info) const { lib().cupsFreeDestInfo(info); }
};
using Dest = std::unique_ptr<cups_dest_t, FreeDest>;
using DestInfo = std::unique_ptr<cups_dinfo_t, FreeDestInfo>;

QByteArray option(const cups_dest_t& dest, const char* name)
{
    return lib().cupsGetOption(name, dest.num_options, dest.options);
}

std::optional<Destination> defaultDestinationOf()
{
    const Dest dest(lib().cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest)
        return std::nullopt;
    Destination to{QString::fromUtf8(dest->name), {}};
    const DestInfo info(lib().cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    // The user's own default for this printer, else the printer's. (cupsGetDestMediaDefault
    // takes Letter where the user has none, whatever the printer's default.)
    QByteArray media = option(*dest, "media");
    ipp_attribute_t* printers =
        media.isEmpty()
            ? lib().cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info.get(), "media")
            : nullptr;
    if (printers)
        media = lib().ippGetString(printers, 0, nullptr);
    cups_size_t size;
    // In hundredths of a millimetre; the nearest standard size by that name.
    if (info && !media.isEmpty() &&
        lib().cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest.get(), info.get(), media.constData(),
                                     0, &size))
        to.paper = QPageSize(QSizeF(size.width, size.length) / 100, QPageSize::Millimeter);
    return to;
}

// Why the printer does not print now, as whoever stopped it put it ("Out of paper"), or as
// CUPS's keywords ("paused") when nobody did.
QString stateMessage(const cups_dest_t& dest)
{
    ipp_t* request = lib().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    lib().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                       option(dest, "printer-uri-supported").constData());
    lib().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                       "printer-state-message");
    ipp_t* response = lib().cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    const QString message = QString::fromUtf8(lib().ippGetString(
        lib().ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT), 0, nullptr));
    lib().ippDelete(response);
    return message.trimmed().isEmpty() ? QString::fromUtf8(option(dest, "printer-state-reasons"))
                                       : message.trimmed();
}

std::optional<QString> printOn(const Destination& to, const QByteArray& pdf, const QString& title)
{
    const Dest dest(
        lib().cupsGetNamedDest(CUPS_HTTP_DEFAULT, to.name.toUtf8().constData(), nullptr));
    if (!dest)
        return QString::fromUtf8(lib().cupsLastErrorString());
    // CUPS holds a job for a stopped printer until someone starts it again: the user would wait
    // for a page that does not come.
    if (option(*dest, "printer-state") == "5" ||
        option(*dest, "printer-is-accepting-jobs") == "false")
        return stateMessage(*dest);

    const DestInfo info(lib().cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    cups_option_t* options = nullptr;
    // CUPS turns the page into PostScript for most queues. Its usual converter keeps the glyphs
    // but not which letters they are, so a PDF printer's file could not be searched or read
    // back; Cairo's keeps both. The page is made for the sheet already: never scaled to fit.
    int count = lib().cupsAddOption("pdftops-renderer", "pdftocairo", 0, &options);
    count = lib().cupsAddOption("print-scaling", "none", count, &options);
    // The user's own sheet for this printer, which the page was made for, is not the server's
    // to know: it is named with the job.
    if (const QByteArray media = option(*dest, "media"); !media.isEmpty())
        count = lib().cupsAddOption("media", media.constData(), count, &options);
    const QByteArray name = title.toUtf8();
    int job = 0;
    ipp_status_t status = lib().cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest.get(), info.get(), &job,
                                                  name.constData(), count, options);
    lib().cupsFreeOptions(count, options);
    if (status > IPP_STATUS_OK_CONFLICTING)
        return QString::fromUtf8(lib().cupsLastErrorString());
    const bool sent = lib().cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get(), job,
                                                  name.constData(), CUPS_FORMAT_PDF, 0, nullptr,
                                                  1) == HTTP_STATUS_CONTINUE &&
                      lib().cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                                 size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
    status = lib().cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get());
    if (sent && status <= IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;
    // Half a document is no page: the job goes.
    const QString why = QString::fromUtf8(lib().cupsLastErrorString());
    lib().cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest.get(), job);
    return why;
}

} // namespace

std::optional<Destination> defaultDestination()
{
    return loaded() ? defaultDestinationOf() : std::nullopt;
}

std::optional<QString> print(const Destination& to, const QByteArray& pdf, const QString& title)
{
    if (!loaded())
        return QStringLiteral("the print system is not installed");
    return printOn(to, pdf, title);
}

} // namespace printing::cups
