#include "printing.h"

#include "layout.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace printing {
namespace {

Service& service()
{
    static Service s;
    return s;
}

QString tryAgain(const QString& what) { return what + QStringLiteral(", then press Print again."); }

Outcome printOnDefaultPrinter(QWidget* window)
{
    // A plain QPrinter falls back to a file or to some other queue; the form goes to the
    // default printer or nowhere.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {false, tryAgain(QStringLiteral("No printer is installed. Add a printer"))};
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        return {false, tryAgain(QStringLiteral("The printer \"%1\" is not ready. Check it")
                                    .arg(info.printerName()))};

    QPrinter printer(info, QPrinter::HighResolution);
    // The printer's top resolution (1200 dpi on a PDF queue) makes the toolkit paint every
    // frame and gradient as a huge pixmap for no visible gain; 300 dpi is sharp on paper.
    printer.setResolution(std::min(printer.resolution(), 300));
    printer.setDocName(window->windowTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        return {false,
                tryAgain(QStringLiteral("The printer \"%1\" did not accept the job. Check it")
                             .arg(info.printerName()))};

    // The form's twips are physical: a pixel of the window is 15 twips, 1/96 of an inch, on
    // paper too. Shrink only when the page is smaller than the form.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double dotsPerPixel = printer.resolution() * double(TwipsPerPixel) / 1440.0;
    const double scale =
        std::min({dotsPerPixel, page.width() / window->width(), page.height() / window->height()});
    painter.scale(scale, scale);
    window->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {false, tryAgain(QStringLiteral("The printer \"%1\" reported an error. Check it")
                                    .arg(info.printerName()))};
    return {true, {}};
}

} // namespace

void setService(Service s) { service() = std::move(s); }

Outcome printForm(QWidget* window)
{
    return service() ? service()(window) : printOnDefaultPrinter(window);
}

} // namespace printing
