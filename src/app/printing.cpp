#include "printing.h"

#include "form.h"
#include "layout.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPointer>
#include <QPolygonF>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTransform>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace printing {
namespace {

Service& service()
{
    static Service s;
    return s;
}

QString tryAgain(const QString& what) { return what + QStringLiteral(", then press Print again."); }

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

// A style sheet with its palette(role) colours written out as those of the given palette.
QString withColours(QString sheet, const QPalette& palette)
{
    static const std::pair<const char*, QPalette::ColorRole> roles[] = {
        {"window-text", QPalette::WindowText},
        {"button-text", QPalette::ButtonText},
        {"bright-text", QPalette::BrightText},
        {"highlighted-text", QPalette::HighlightedText},
        {"alternate-base", QPalette::AlternateBase},
        {"link-visited", QPalette::LinkVisited},
        {"placeholder-text", QPalette::PlaceholderText},
        {"button", QPalette::Button},
        {"light", QPalette::Light},
        {"midlight", QPalette::Midlight},
        {"dark", QPalette::Dark},
        {"mid", QPalette::Mid},
        {"text", QPalette::Text},
        {"base", QPalette::Base},
        {"window", QPalette::Window},
        {"shadow", QPalette::Shadow},
        {"highlight", QPalette::Highlight},
        {"link", QPalette::Link},
    };
    for (const auto& [name, role] : roles)
        sheet.replace(QStringLiteral("palette(%1)").arg(QLatin1String(name)),
                      palette.color(role).name(), Qt::CaseInsensitive);
    return sheet;
}

// Gives a window the colours of paper for as long as it lives, then its own back.
class PaperColours {
public:
    explicit PaperColours(QWidget* window) : m_desktop(QApplication::palette())
    {
        const QPalette paper = paperColours(m_desktop);
        m_saved.emplace_back(window, window->palette());
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->testAttribute(Qt::WA_SetPalette))
                m_saved.emplace_back(w, w->palette());
        for (auto& [w, own] : m_saved)
            w->setPalette(onPaper(own, m_desktop, paper));
        // A style sheet takes its palette colours when it is applied, not when it paints.
        if (paper == m_desktop)
            return;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->styleSheet().contains(QStringLiteral("palette("))) {
                m_styled.emplace_back(w, w->styleSheet());
                restyle(w, withColours(w->styleSheet(), paper));
            }
        }
    }
    ~PaperColours()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            if (it->first)
                it->first->setPalette(it->second);
        for (auto& [w, sheet] : m_styled)
            if (w)
                restyle(w, sheet);
    }
    PaperColours(const PaperColours&) = delete;
    PaperColours& operator=(const PaperColours&) = delete;

private:
    // A new style sheet drops the font the widget had from its window; it keeps it here.
    static void restyle(QWidget* w, const QString& sheet)
    {
        const QFont font = w->font();
        w->setStyleSheet(sheet);
        if (w->font() != font)
            w->setFont(font);
    }

    const QPalette m_desktop;
    std::vector<std::pair<QPointer<QWidget>, QPalette>> m_saved;
    std::vector<std::pair<QPointer<QWidget>, QString>> m_styled;
};

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
        style->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, list);
        painter.restore();
    }
};

// The window's client area as drawing commands. The toolkit's render paints through one big
// pixmap when its target is a printer; recorded first, text stays text and lines stay lines.
// Returns the page's size: the form's own, whatever the zoom on the screen.
QSize record(QWidget* window, QPicture& page)
{
    const TrueSize trueSize(window);
    const PaperColours colours(window);
    QPainter painter(&page);
    QRegion rest(QRect(QPoint(), trueSize.clientSize()));
    const QList<QComboBox*> lists = window->findChildren<QComboBox*>();
    for (const QComboBox* list : lists)
        if (list->isVisible())
            rest -= QRect(list->mapTo(window, QPoint()), list->size());
    window->render(&painter, QPoint(), rest, QWidget::DrawWindowBackground | QWidget::DrawChildren);
    for (const QComboBox* list : lists) {
        if (!list->isVisible())
            continue;
        ListOnPaper::paint(painter, list);
        // What is typed into a list is a text box of its own, drawn as text like the others.
        for (QWidget* inside : list->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (inside->isVisible())
                inside->render(&painter, inside->mapTo(window, QPoint()), QRegion(),
                               QWidget::DrawChildren);
    }
    return trueSize.clientSize();
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

Outcome printOnDefaultPrinter(QWidget* window)
{
    // A plain QPrinter falls back to a file or to some other queue; the form goes to the
    // default printer or nowhere.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {false, QStringLiteral("No printer is installed."), true};
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        return {false, tryAgain(QStringLiteral("The printer \"%1\" is not ready. Check it")
                                    .arg(info.printerName()))};

    QPicture page;
    const QSize size = record(window, page);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(window->windowTitle());
    // CUPS turns the page into PostScript for most queues. Its usual converter keeps the glyphs
    // but not which letters they are, so a PDF printer's file could not be searched or read
    // back; Cairo's keeps both. The job option is CUPS's own (the toolkit's key for CUPS
    // options); queues that need no PostScript ignore it.
    constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    printer.printEngine()->setProperty(
        CupsOptions, QStringList{QStringLiteral("pdftops-renderer"), QStringLiteral("pdftocairo")});
    QPainter painter;
    if (!painter.begin(&printer))
        return {false,
                tryAgain(QStringLiteral("The printer \"%1\" did not accept the job. Check it")
                             .arg(info.printerName()))};
    paintPage(painter, page, size, printer.pageLayout().paintRectPixels(printer.resolution()),
              printer.resolution());
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {false, tryAgain(QStringLiteral("The printer \"%1\" reported an error. Check it")
                                    .arg(info.printerName()))};
    return {true, {}};
}

QString notSaved(const QString& path, const QString& why)
{
    return QStringLiteral("The statement could not be saved as \"%1\": %2.").arg(path, why);
}

} // namespace

void setService(Service s) { service() = std::move(s); }

Outcome printForm(QWidget* window)
{
    return service() ? service()(window) : printOnDefaultPrinter(window);
}

Outcome saveFormAsPdf(QWidget* window, const QString& path)
{
    // Written beside the target and renamed over it only once complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, notSaved(path, file.errorString())};

    QPicture page;
    const QSize size = record(window, page);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(window->windowTitle());
        pdf.setCreator(QApplication::applicationName());
        const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
        pdf.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF()));
        pdf.setResolution(1200);
        QPainter painter;
        if (!painter.begin(&pdf))
            return {false, notSaved(path, file.errorString())};
        // Across the middle of the sheet, as far from the top as from the sides.
        const QRectF sheet = pdf.pageLayout().fullRectPixels(pdf.resolution());
        const double width = size.width() * pdf.resolution() / 96.0;
        const double margin = std::max(0.0, (sheet.width() - width) / 2);
        paintPage(painter, page, size, sheet.adjusted(margin, margin, -margin, -margin),
                  pdf.resolution(), QPointF(margin, margin));
        if (!painter.end())
            return {false, notSaved(path, file.errorString())};
    }
    if (!file.commit())
        return {false, notSaved(path, file.errorString())};
    return {true, {}};
}

QString pdfFileName(const QStringList& words)
{
    QStringList kept;
    for (QString word : words) {
        // A slash would make a folder of part of the name; control characters have no place.
        for (QChar& c : word)
            if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
                c = u'-';
        word = word.simplified();
        if (!word.isEmpty())
            kept << word;
    }
    return kept.join(u' ') + QStringLiteral(".pdf");
}

} // namespace printing
