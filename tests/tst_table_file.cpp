// A table's two files as others read them: the CSV's bytes as a spreadsheet gets them, the PDF
// as poppler reads it back.
#include "paper/printing.h"
#include "paper/table_file.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

using table_file::Table;
Q_DECLARE_METATYPE(Table)

// What a poppler tool reads in the file, and what it says when it cannot.
static QString poppler(const QString& tool, const QStringList& arguments)
{
    QProcess reader;
    reader.start(tool, arguments);
    reader.waitForFinished(20000);
    return QString::fromUtf8(reader.readAllStandardOutput() + reader.readAllStandardError());
}

static const auto Lines = QRegularExpression::MultilineOption;

class TestTableFile : public QObject {
    Q_OBJECT
private slots:
    void csvBytes_data()
    {
        QTest::addColumn<Table>("table");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("nothing") << Table{} << QByteArray();
        QTest::newRow("a header alone") << Table{"T", {"Station", "Month"}} << QByteArray("Station,Month\r\n");
        QTest::newRow("a comma, a quote") << Table{"", {"a,b", "say \"no\""}} << QByteArray("\"a,b\",\"say \"\"no\"\"\"\r\n");
        QTest::newRow("CR, LF, CRLF") << Table{"", {"x"}, {{"a\rb", "c\nd", "e\r\nf"}}} << QByteArray("x\r\n\"a\rb\",\"c\nd\",\"e\r\nf\"\r\n");
        QTest::newRow("blanks kept") << Table{"", {" a ", ""}, {{"", " "}}} << QByteArray(" a ,\r\n, \r\n");
        QTest::newRow("UTF-8, no mark") << Table{"", {"Zürich", "Москва", "東京"}} << QByteArray("Zürich,Москва,東京\r\n");
        QTest::newRow("the footer last") << Table{"", {"Station", "Income"}, {{"Station 1", "-1234.50"}}, {"Total", "-1234.50"}, {1}} << QByteArray("Station,Income\r\nStation 1,-1234.50\r\nTotal,-1234.50\r\n");
        QTest::newRow("words a spreadsheet would take for a formula") << Table{"", {"File", "Income"}, {{"=HYPERLINK(\"x\")", "-1.00"}, {"@a", "+1"}}, {}, {1}}
            << QByteArray("File,Income\r\n\"'=HYPERLINK(\"\"x\"\")\",-1.00\r\n'@a,+1\r\n");
        // clang-format on
    }
    void csvBytes()
    {
        QFETCH(Table, table);
        QFETCH(QByteArray, bytes);
        QCOMPARE(table_file::csv(table), bytes);
    }

    // 120 rows on the sheet of the locale each row names, read back page by page.
    void pdfPages_data()
    {
        QTest::addColumn<QString>("sheet"); // as pdfinfo names it
        QTest::newRow("en_US") << "letter";
        QTest::newRow("de_DE") << "A4";
        QTest::newRow("en_GB") << "A4"; // imperial, but not the US's
    }
    void pdfPages()
    {
        QFETCH(QString, sheet);
        // clang-format off
        Table table{"Summary, March", {"Station", "File", "Income", "Problems"}, {}, {"Total", "", "7260.00"}, {2}};
        QStringList lines; // each row's line as it reads back
        for (int i = 1; i <= 120; ++i) {
            table.rows.push_back({QString("Station %1").arg(i % 34 + 1), QString("statement-%1.pdf").arg(i), QString("%1.00").arg(i), "late"});
            lines << "^ *" + table.rows.back().join(" +") + "$";
        }
        // A line break in a file name keeps its row on one line; a name too long for its column goes
        // on in the lines below, whole, and the next column is whole too.
        table.rows[6][1] = "two\nlines.pdf";
        lines[6] = "^ *Station 8 +two[\\x{FFFD} ]lines\\.pdf +7\\.00 +late$";
        table.rows[7][1] = QString(300, 'x');
        lines[7] = "^ *Station 9 +x+ +8\\.00 +late$";
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(table_file::pdf(table, printing::localeSheet(QLocale(QTest::currentDataTag())))) > 0 && file.flush());
        const QString about = poppler("pdfinfo", {file.fileName()});
        const int pages = QRegularExpression("^Pages: +(\\d+)$", Lines).match(about).captured(1).toInt();
        QVERIFY2(pages > 1 && about.contains("pts (" + sheet + ")\n") &&
                     about.contains(QRegularExpression("^Title: +Summary, March\nCreator: +tst_table_file$", Lines)),
                 qPrintable("not a Summary, March on several " + sheet + " sheets:\n" + about));
        const QString text = poppler("pdftotext", {"-layout", file.fileName(), "-"});
        const QStringList page = text.split('\f'); // each page ends with a form feed
        QCOMPARE(page.size(), pages + 1);
        for (int p = 0; p < pages; ++p)
            QVERIFY2(page[p].trimmed().startsWith(table.title) == (p == 0) && page[p].contains(QRegularExpression("Station +File +Income +Problems")) &&
                         page[p].contains(QString("Page %1 of %2").arg(p + 1).arg(pages)) && page[p].contains(QRegularExpression("^ *Total +7260\\.00$", Lines)) == (p == pages - 1),
                     qPrintable(QString("page %1 lacks its own title, header, number or footer, or has another's:\n").arg(p + 1) + page[p]));
        // Figures are right-aligned: the last row's ends where the total does.
        const auto end = [&](const QString& figure) { return QRegularExpression("^.*" + figure, Lines).match(page[pages - 1]).capturedLength(); };
        QCOMPARE(end("120\\.00"), end("Total +7260\\.00"));
        for (const QString& line : lines)
            QVERIFY2(text.count(QRegularExpression(line, Lines)) == 1, qPrintable("not once on a line of its own: " + line + "\n" + text));
        QCOMPARE(text.count('x'), 300);
        // clang-format on
    }
};

QTEST_MAIN(TestTableFile)
#include "tst_table_file.moc"
