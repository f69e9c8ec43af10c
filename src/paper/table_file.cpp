#include "table_file.h"

#include "app/fonts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QTextOption>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace table_file {
namespace {

// Quoted only where RFC 4180 needs it, so that a figure reaches a spreadsheet as a number.
QByteArray csvField(const QString& cell)
{
    static const QRegularExpression special(QStringLiteral("[,\"\r\n]"));
    if (!cell.contains(special))
        return cell.toUtf8();
    return '"' + QString(cell).replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
}

// A cell of words that a spreadsheet would take for a formula (a file named "=HYPERLINK(…)")
// is kept as words, by the apostrophe spreadsheets take for that; figures are numbers as they are.
QByteArray csvRecord(const QStringList& cells, const QList<int>& figures)
{
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\t\r]"));
    QByteArrayList fields;
    for (int column = 0; column < cells.size(); ++column)
        fields << csvField(!figures.contains(column) && cells[column].contains(formula)
                               ? QLatin1Char('\'') + cells[column]
                               : cells[column]);
    return fields.join(',') + "\r\n";
}

// Eight columns across a portrait sheet, in points.
constexpr double TitlePoints = 12;
constexpr double CellPoints = 8;
constexpr double MarginMillimetres = 15;
constexpr int Resolution = 1200;

// Cells come from files other people sent: a line break or any other control character would
// start a second line inside the row, so each is drawn as the replacement character.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    return text;
}

// Every column as wide as its widest cell where the room allows; where it does not, the narrow
// columns keep their width and the wide ones share what is left equally.
std::vector<double> fairWidths(std::vector<double> widths, double room)
{
    std::vector<size_t> narrowFirst(widths.size());
    std::iota(narrowFirst.begin(), narrowFirst.end(), 0);
    std::sort(narrowFirst.begin(), narrowFirst.end(),
              [&](size_t a, size_t b) { return widths[a] < widths[b]; });
    for (size_t i = 0; i < narrowFirst.size(); ++i) {
        double& width = widths[narrowFirst[i]];
        width = std::min(width, room / double(narrowFirst.size() - i));
        room -= width;
    }
    return widths;
}

// The pages of one table, laid out before the first is drawn so that each can say how many
// there are. Lengths are in the writer's dots, from the top left of the area inside the margins.
// A cell too long for its column goes on over more lines of its row: nothing of it is lost.
class TablePages {
public:
    TablePages(const Table& table, const QPdfWriter& writer, QPainter& painter)
        : m_table(table), m_painter(painter), m_title(sheetFont(TitlePoints, true)),
          m_cell(sheetFont(CellPoints, false)), m_bold(sheetFont(CellPoints, true)),
          m_area(QPointF(), writer.pageLayout().paintRectPixels(writer.resolution()).size()),
          m_line(QFontMetricsF(m_bold, &writer).height() * 1.5),
          m_titleHeight(QFontMetricsF(m_title, &writer).height() * 2),
          m_gap(Resolution / 12.0) // six points between two columns
    {
        m_wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        measureColumns(writer);
        paginate();
    }

    // False when the painter could not start a page.
    bool draw(QPdfWriter& writer) const
    {
        QPainter& painter = m_painter;
        painter.setPen(QPen(Qt::black, Resolution / 144.0)); // rules of half a point
        const int pages = int(m_rowsOnPage.size());
        size_t row = 0;
        for (int page = 0; page < pages; ++page) {
            if (page > 0 && !writer.newPage())
                return false;
            double y = 0;
            if (page == 0) {
                painter.setFont(m_title);
                painter.drawText(QRectF(0, 0, m_area.width(), m_titleHeight / 2),
                                 Qt::AlignLeft | Qt::TextSingleLine, oneLine(m_table.title));
                y = m_titleHeight;
            }
            y += drawRow(m_table.header, y, m_bold);
            painter.drawLine(QPointF(0, y), QPointF(m_area.width(), y));
            for (int i = 0; i < m_rowsOnPage[page]; ++i, ++row)
                y += drawRow(m_table.rows[row], y, m_cell);
            if (page == pages - 1 && !m_table.footer.isEmpty()) {
                painter.drawLine(QPointF(0, y), QPointF(m_area.width(), y));
                drawRow(m_table.footer, y, m_bold);
            }
            painter.setFont(m_cell);
            painter.drawText(QRectF(0, m_area.height() - m_line, m_area.width(), m_line),
                             Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                             QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
        }
        return true;
    }

    bool fits() const { return !m_rowsOnPage.empty(); }

private:
    void measureColumns(const QPdfWriter& writer)
    {
        std::vector<double> widest;
        const auto measure = [&](const QStringList& cells, const QFont& font) {
            const QFontMetricsF metrics(font, &writer);
            widest.resize(std::max(widest.size(), size_t(cells.size())));
            for (int c = 0; c < cells.size(); ++c)
                widest[c] = std::max(widest[c], metrics.horizontalAdvance(oneLine(cells[c])));
        };
        measure(m_table.header, m_bold);
        for (const QStringList& row : m_table.rows)
            measure(row, m_cell);
        measure(m_table.footer, m_bold);
        const double gaps = m_gap * double(std::max<size_t>(widest.size(), 1) - 1);
        m_widths = fairWidths(widest, m_area.width() - gaps);
    }

    // How tall a row stands: its tallest cell, its text wrapped in its column.
    double heightOf(const QStringList& cells, const QFont& font) const
    {
        m_painter.setFont(font);
        double lines = 0;
        for (int c = 0; c < cells.size(); ++c)
            lines = std::max(lines, m_painter.boundingRect(QRectF(0, 0, m_widths[c], 1e9),
                                                           oneLine(cells[c]), m_wrap).height());
        return std::max(m_line, lines + m_line - QFontMetricsF(font, m_painter.device()).height());
    }

    // As many rows on a page as there is room for under its header and above its number; the
    // footer follows the last row, on a page of its own only where the last one is full.
    void paginate()
    {
        const double header = heightOf(m_table.header, m_bold);
        const double footer = m_table.footer.isEmpty() ? 0 : heightOf(m_table.footer, m_bold);
        size_t row = 0;
        for (int page = 0;; ++page) {
            double room = m_area.height() - header - m_line - (page == 0 ? m_titleHeight : 0.0);
            int here = 0;
            while (row < m_table.rows.size()) {
                const double height = heightOf(m_table.rows[row], m_cell);
                if (height > room)
                    break;
                room -= height;
                ++row;
                ++here;
            }
            if (here == 0 && row < m_table.rows.size()) {
                m_rowsOnPage.clear(); // a sheet too small for a row
                return;
            }
            m_rowsOnPage.push_back(here);
            if (row == m_table.rows.size() && footer <= room)
                return;
        }
    }

    // The row's cells, each wrapped in its column; how tall it stood.
    double drawRow(const QStringList& cells, double y, const QFont& font) const
    {
        const double height = heightOf(cells, font);
        const double inset = (m_line - QFontMetricsF(font, m_painter.device()).height()) / 2;
        double x = 0;
        for (int c = 0; c < cells.size(); ++c) {
            QTextOption option = m_wrap;
            option.setAlignment(m_table.figures.contains(c) ? Qt::AlignRight : Qt::AlignLeft);
            // Plain text: drawText never reads markup.
            m_painter.drawText(QRectF(x, y + inset, m_widths[c], height), oneLine(cells[c]),
                               option);
            x += m_widths[c] + m_gap;
        }
        return height;
    }

    const Table& m_table;
    QPainter& m_painter;
    const QFont m_title;
    const QFont m_cell;
    const QFont m_bold;
    const QRectF m_area;
    const double m_line;
    const double m_titleHeight;
    const double m_gap;
    QTextOption m_wrap;
    std::vector<double> m_widths;
    std::vector<int> m_rowsOnPage;
};

} // namespace

QByteArray csv(const Table& table)
{
    QByteArray text;
    if (!table.header.isEmpty())
        text += csvRecord(table.header, {});
    for (const QStringList& row : table.rows)
        text += csvRecord(row, table.figures);
    if (!table.footer.isEmpty())
        text += csvRecord(table.footer, table.figures);
    return text;
}

QByteArray pdf(const Table& table, const QPageSize& sheet)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setTitle(table.title);
        writer.setCreator(QCoreApplication::applicationName());
        const QMarginsF margins(MarginMillimetres, MarginMillimetres, MarginMillimetres,
                                MarginMillimetres);
        if (!writer.setPageLayout(
                QPageLayout(sheet, QPageLayout::Portrait, margins, QPageLayout::Millimeter)))
            return {};
        writer.setResolution(Resolution);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const TablePages pages(table, writer, painter);
        if (!pages.fits() || !pages.draw(writer) || !painter.end())
            return {};
    }
    return bytes.data();
}

} // namespace table_file
