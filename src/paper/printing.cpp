#include "printing.h"

#include "app/zoom.h"
#include "cups_printer.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPolygonF>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <vector>

namespace printing {
namespace {

Service& service()
{
    static Service s;
    return s;
}

// The statement's own words: what went wrong, and how to print again.
const Document StatementDocument{QStringLiteral("statement"), QStringLiteral("press Print")};

QString tryAgain(const QString& what, const Document& document)
{
    return what + QStringLiteral(", then %1 again.").arg(document.printAgain);
}

bool isDark(const QPalette& p)
{
    return p.color(QPalette::Window).lightness() < p.color(QPalette::WindowText).lightness();
}

// The colours of paper: the desktop's own when they are light, the style's light ones when
// the desktop's scheme is dark.
QPalette paperColours(const QPalette& desktop)
{
    if (!isDark(desktop))
        return desktop;
    const QPalette standard = QApplication::style()->standardPalette();
    return isDark(standard) ? QPalette(QColor(239, 239, 239)) : standard;
}

constexpr QPalette::ColorGroup Groups[] = {QPalette::Active, QPalette::Inactive,
                                           QPalette::Disabled};
// Where two roles share a colour on the desktop, the surfaces and their text come first.
constexpr QPalette::ColorRole Roles[] = {QPalette::Base,          QPalette::Window,
                                         QPalette::Button,        QPalette::Text,
                                         QPalette::WindowText,    QPalette::ButtonText,
                                         QPalette::Shadow,        QPalette::Light,
                                         QPalette::Midlight,      QPalette::Dark,
                                         QPalette::Mid,           QPalette::BrightText,
                                         QPalette::Highlight,     QPalette::HighlightedText,
                                         QPalette::Link,          QPalette::LinkVisited,
                                         QPalette::AlternateBase, QPalette::ToolTipBase,
                                         QPalette::ToolTipText,   QPalette::PlaceholderText};

// A widget's colours were taken from the desktop's roles when the window was built; each one
// becomes the same role's colour on paper. Colours of the form's own (the result boxes) stay.
QPalette onPaper(const QPalette& own, const QPalette& desktop, const QPalette& paper)
{
    QPalette p = own;
    for (const QPalette::ColorGroup g : Groups) {
        for (const QPalette::ColorRole role : Roles) {
            const QColor colour = own.color(g, role);
            QColor printed = colour;
            if (desktop.color(g, role) == colour) {
                printed = paper.color(g, role);
            } else {
                for (const QPalette::ColorRole other : Roles) {
                    if (desktop.color(g, other) == colour) {
                        printed = paper.color(g, other);
                        break;
                    }
                }
            }
            p.setColor(g, role, printed);
        }
        // A selection is the screen's business: on paper the text shows as it is.
        p.setColor(g, QPalette::Highlight, p.color(g, QPalette::Base));
        p.setColor(g, QPalette::HighlightedText, p.color(g, QPalette::Text));
    }
    return p;
}

// Gives a window built in the desktop's colours the colours of paper. Every colour is taken
// before any is changed: a window's new colours would otherwise reach the controls it holds.
void giveColoursOfPaper(QWidget* window)
{
    const QPalette desktop = QApplication::palette();
    const QPalette paper = paperColours(desktop);
    std::vector<std::pair<QWidget*, QPalette>> own{{window, window->palette()}};
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->testAttribute(Qt::WA_SetPalette))
            own.emplace_back(w, w->palette());
    for (const auto& [w, colours] : own)
        w->setPalette(onPaper(colours, desktop, paper));
}

// The page as a window of its own, never shown: the sheet's table at 100 % with its texts,
// without the controls left off, in the colours of paper. Not the user's window, so that paper
// changes nothing there and gets neither a zoom, the focus, a cursor nor a selection from it.
std::unique_ptr<QWidget> pageWindow(const Sheet& sheet)
{
    BuiltWindow built = buildWindow(sheet.layout, std::make_unique<QWidget>(), zoom::Normal);
    for (auto it = sheet.texts.cbegin(); it != sheet.texts.cend(); ++it) {
        QWidget* control = built.controls.value(it.key());
        Q_ASSERT_X(control, "printing::pageWindow", qPrintable(it.key()));
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->setText(it.value());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            if (list->isEditable()) {
                list->setEditText(it.value());
            } else if (!it.value().isEmpty()) {
                // A list the user only picks from shows the entry picked, its only one here.
                list->addItem(it.value());
                list->setCurrentIndex(0);
            }
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(it.value());
        }
    }
    for (const QString& name : sheet.leftOut) {
        QWidget* control = built.controls.value(name);
        Q_ASSERT_X(control, "printing::pageWindow", qPrintable(name));
        if (control)
            control->hide();
    }
    giveColoursOfPaper(built.window.get());
    return std::move(built.window);
}

// The style paints a list's frame and arrow through a small pixmap it caches at the screen's
// resolution, whatever the painter. On paper the list is drawn here instead, as lines and
// fills in the same places, and its text by the style, as text.
class ListOnPaper : public QComboBox {
public:
    static void paint(QPainter& painter, const QComboBox* list)
    {
        QStyleOptionComboBox option;
        (list->*(&ListOnPaper::initStyleOption))(&option);
        const QStyle* style = list->style();
        const QRectF arrow =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
        const QPalette& colours = option.palette;
        painter.save();
        painter.translate(list->mapTo(list->window(), QPoint()));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(colours.color(QPalette::Window).darker(140));
        painter.setBrush(colours.button());
        painter.drawRoundedRect(frame, 2, 2);
        if (option.editable) {
            // The typed text sits on the base colour, the arrow on a button of its own.
            painter.setPen(Qt::NoPen);
            painter.setBrush(colours.base());
            painter.drawRect(frame.adjusted(1, 1, -(frame.right() - arrow.left()) - 0.5, -1));
            painter.setPen(colours.color(QPalette::Window).darker(140));
            painter.drawLine(QPointF(arrow.left(), frame.top()),
                             QPointF(arrow.left(), frame.bottom()));
        }
        const QPointF tip = arrow.center() + QPointF(0, 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.color(QPalette::ButtonText));
        painter.drawPolygon(QPolygonF{tip, tip + QPointF(-4, -4), tip + QPointF(4, -4)});
        painter.restore();
        painter.setFont(list->font());
        painter.setPen(colours.color(QPalette::Text));
        // What is typed into the list is drawn as its text, without the field's cursor.
        option.editable = false;
        style->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, list);
        painter.restore();
    }
};

// The page as drawing commands. The toolkit's render paints through one big pixmap when its
// target is a printer; recorded first, text stays text and lines stay lines. Returns the page's
// size: the form's own.
QSize record(const Sheet& sheet, QPicture& page)
{
    const std::unique_ptr<QWidget> window = pageWindow(sheet);
    QPainter painter(&page);
    QRegion rest(window->rect());
    // The window is never shown: a control is on the page where it would show with the window.
    const QList<QComboBox*> lists = window->findChildren<QComboBox*>();
    for (const QComboBox* list : lists)
        if (list->isVisibleTo(window.get()))
            rest -= QRect(list->mapTo(window.get(), QPoint()), list->size());
    window->render(&painter, QPoint(), rest, QWidget::DrawWindowBackground | QWidget::DrawChildren);
    for (const QComboBox* list : lists)
        if (list->isVisibleTo(window.get()))
            ListOnPaper::paint(painter, list);
    return window->size();
}

// The form's twips are physical: a pixel of the window is 15 twips, 1/96 of an inch, on paper
// too. Shrinks only when the area is smaller than the form; offset places it on the area.
void paintPage(QPainter& painter, const QPicture& page, QSize size, const QRectF& area,
               int resolution, QPointF offset = {})
{
    const double dotsPerPixel = resolution * double(TwipsPerPixel) / 1440.0;
    const double scale =
        std::min({dotsPerPixel, area.width() / size.width(), area.height() / size.height()});
    // A picture plays at the resolution of the device it plays on: its inch stays an inch.
    const double played = double(painter.device()->logicalDpiX()) / page.logicalDpiX();
    painter.translate(offset);
    painter.scale(scale / played, scale / played);
    painter.drawPicture(0, 0, page);
}

// The page as a PDF document: at true size across the middle of the sheet, as far from its top
// as from its sides, with the XMP packet as its metadata where there is one. Empty when it could
// not be made.
QByteArray pagePdf(const Sheet& sheet, const QPageSize& paper, const QString& title,
                   const QByteArray& xmp = {})
{
    QPicture page;
    const QSize size = record(sheet, page);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setTitle(title);
        pdf.setCreator(QApplication::applicationName());
        if (!xmp.isEmpty())
            pdf.setDocumentXmpMetadata(xmp);
        pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF()));
        pdf.setResolution(1200);
        QPainter painter;
        if (!painter.begin(&pdf))
            return {};
        const QRectF sheet = pdf.pageLayout().fullRectPixels(pdf.resolution());
        const double width = size.width() * pdf.resolution() / 96.0;
        const double margin = std::max(0.0, (sheet.width() - width) / 2);
        paintPage(painter, page, size, sheet.adjusted(margin, margin, -margin, -margin),
                  pdf.resolution(), QPointF(margin, margin));
        if (!painter.end())
            return {};
    }
    return bytes.data();
}

QString refused(const QString& printer, QString why, const Document& document)
{
    if (why.endsWith(u'.'))
        why.chop(1);
    return tryAgain(QStringLiteral("The printer \"%1\" did not take the %2: %3. Check it")
                        .arg(printer, document.name, why),
                    document);
}

QString notSaved(const QString& path, const QString& why, const Document& document)
{
    return QStringLiteral("The %1 could not be saved as \"%2\": %3.").arg(document.name, path, why);
}

std::optional<Destination> defaultDestination()
{
    return service().defaultDestination ? service().defaultDestination()
                                        : cups::defaultDestination();
}

// The printer's own sheet, or the locale's where there is none.
QPageSize paperFor(const std::optional<Destination>& printer)
{
    return printer && printer->paper.isValid() ? printer->paper : localeSheet();
}

Outcome printTo(const std::optional<Destination>& printer, const QByteArray& pdf,
                const QString& title, const Document& document)
{
    if (!printer)
        return {false, QStringLiteral("No printer is installed."), true};
    if (pdf.isEmpty())
        return {false, tryAgain(QStringLiteral("The page could not be made"), document)};
    const std::optional<QString> why =
        service().print ? service().print(*printer, pdf, title) : cups::print(*printer, pdf, title);
    if (why)
        return {false, refused(printer->name, *why, document)};
    return {true, {}};
}

} // namespace

void setService(Service s) { service() = std::move(s); }

QPageSize localeSheet(const QLocale& locale)
{
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

QPageSize defaultSheet() { return paperFor(defaultDestination()); }

Outcome printDocument(const QByteArray& pdf, const QString& title, const Document& document)
{
    return printTo(defaultDestination(), pdf, title, document);
}

Outcome printPage(const Sheet& sheet, const QString& title)
{
    const std::optional<Destination> printer = defaultDestination();
    return printTo(printer, printer ? pagePdf(sheet, paperFor(printer), title) : QByteArray(),
                   title, StatementDocument);
}

Outcome saveFile(const QString& path, const QByteArray& bytes, const Document& document)
{
    // Written beside the target and renamed over it only once complete. Unbuffered: a write the
    // system refuses is seen here, not in a flush whose failure the commit would not notice.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, notSaved(path, file.errorString(), document)};
    if (bytes.isEmpty())
        return {false, notSaved(path, QStringLiteral("the page could not be made"), document)};
    // The system may take the file a part at a time; the part it refuses tells why.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 part = file.write(bytes.constData() + written, bytes.size() - written);
        if (part <= 0)
            return {false, notSaved(path, file.errorString(), document)};
        written += part;
    }
    if (!file.commit())
        return {false, notSaved(path, file.errorString(), document)};
    return {true, {}};
}

Outcome savePage(const Sheet& sheet, const QString& title, const QString& path,
                 const QByteArray& xmp)
{
    return saveFile(path, pagePdf(sheet, defaultSheet(), title, xmp), StatementDocument);
}

} // namespace printing
