#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <vector>

// A table as a file: CSV for a spreadsheet, or PDF pages to print or keep. It knows nothing of
// statements: every cell arrives in words, and cells from other people's files are only text.
namespace table_file {

// A table as it leaves the program: a title, a header row, rows of cells, and a footer row
// (the totals), every cell already in words; which columns are figures (drawn right-aligned).
struct Table {
    QString title = {};
    QStringList header = {};
    std::vector<QStringList> rows = {};
    QStringList footer = {}; // may be empty
    QList<int> figures = {}; // columns aligned right
};

// RFC 4180: UTF-8 (no byte-order mark), CRLF line ends, the header row, each row, then the
// footer; a field holding a comma, a double quote, CR or LF is quoted, its quotes doubled. Cells
// are written as given (amounts as plain decimals, "-1234.50"). An empty header or footer is
// left out.
QByteArray csv(const Table& table);

// The table as a PDF on as many pages as it takes, on the sheet (portrait): the title on top of
// the first page, the header on every page, "Page N of M" at the foot of each, the footer row
// after the last row. Text stays text, in the program's font; each column is as wide as its
// widest cell where the sheet allows, and a cell too long is cut with an ellipsis. The
// document's title is `title`, its creator the application's name. Empty when it could not be
// made.
QByteArray pdf(const Table& table, const QPageSize& sheet);

} // namespace table_file
