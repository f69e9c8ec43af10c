// make_statements FOLDER: a year of the organisation's saved statements for the summary's
// benchmark (summary.sh), 34 stations by 12 months, each calculated and saved as Ctrl+S saves it.
// Each station's balance carried forward is its end balance of the month before; January's is a
// start of the station's own. Every statement adds up, so that a summary of them all is well.
#include "statement/statement_page.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

// A station's month, a few boxes filled as a treasurer fills them: dues, sales, a hall let, the
// telephone, the candy and pop bought, the cleaning. The figures differ by station and month.
void fill(Statement& statement, int station, int month)
{
    // In cents, written as the locale writes an amount.
    const auto set = [&](const char* box, qint64 cents) {
        statement.setBox(boxIndex(QLatin1String(box)), money::standard(cents));
    };
    set("txtBox(1)", 2500 * (station % 5 + 1));
    set("txtBox(7)", 100000 + 3150 * station + 1725 * month);
    set("txtBox(8)", 7500 + 500 * (month % 3));
    set("txtBoxa(0)", 4217 + 100 * month);
    set("txtBoxa(2)", 80000 + 2975 * station + 1150 * month);
    set("txtBoxa(3)", 6000 + 100 * (station % 7));
    statement.setBox(boxIndex(QStringLiteral("Text1(0)")), QStringLiteral("Hire of the hall"));
    statement.setBox(boxIndex(QStringLiteral("Text1(2)")), QStringLiteral("Cleaning"));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_statements FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_statements: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    // No print system answers there: the page goes on the locale's sheet, and the machine's
    // printers are never asked which is the default.
    qputenv("CUPS_SERVER", QFile::encodeName(folder + QStringLiteral("/no-print-system.sock")));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qm415"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    for (int station = 1; station <= Stations; ++station) {
        Statement statement;
        statement.setStation(station, stationName(station));
        statement.setMonth(1);
        statement.setBox(boxIndex(QStringLiteral("txtBox(0)")),
                         money::standard(50000 + 1000 * station));
        for (int month = 1; month <= Months; ++month) {
            fill(statement, station, month);
            if (const auto problem = statement.calculate()) {
                std::fprintf(stderr, "make_statements: %s\n", qPrintable(problem->prompt));
                return 1;
            }
            const QString path = QStringLiteral("%1/station-%2-month-%3.pdf")
                                     .arg(folder)
                                     .arg(station, 2, 10, QLatin1Char('0'))
                                     .arg(month, 2, 10, QLatin1Char('0'));
            const printing::Outcome saved =
                statement_page::save(statement_file::Saved{statement, true}, path);
            if (!saved.done) {
                std::fprintf(stderr, "make_statements: %s\n", qPrintable(saved.problem));
                return 1;
            }
            if (month < Months)
                statement = *statement.nextMonth();
        }
    }
    return 0;
}
