// The summary window: what only a window shows of many statements read at once. Its rules are
// rows of the model's tests.
#include "statement/statement_page.h"
#include "summary/summary_form.h"
#include "support/reader_that_hangs.h"
#include "support/statement_fixture.h"

#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

namespace {

// A statement saved as the program saves it: station, month, and the balance carried forward.
QString saved(const QTemporaryDir& folder, const QString& name, int station, int month,
              const QString& carried)
{
    Statement s(QLocale("en_US"));
    s.setStation(station, stationName(station));
    s.setMonth(month);
    s.setBox(0, carried);
    s.calculate();
    const QString path = folder.filePath(name);
    return statement_page::save({s, true}, path).done ? path : QString();
}

QTableView* table(const char* name) { return qobject_cast<QTableView*>(frmSummary().control(name)); }

// A table's rows as the user reads them, a row a line, its cells between |.
QStringList rows(const char* name)
{
    const QAbstractItemModel* model = table(name)->model();
    QStringList all;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        all << cells.join('|');
    }
    return all;
}

QString status() { return frmSummary().label("lblStatus")->text(); }

} // namespace

class TestSummary : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    // Chosen with Ctrl+Shift+O, read, sorted by a column's header, a row opened by Enter, saved
    // as CSV and PDF but never over a file it read, closed by Ctrl+W.
    void aSummaryOfFilesChosen()
    {
        QTemporaryDir folder;
        const QStringList files{saved(folder, "b.pdf", 2, 3, "250"), saved(folder, "a.pdf", 1, 3, "1,000"),
                                folder.filePath("notes.pdf")};
        QFile notes(files[2]);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("notes") == 5);
        notes.close();
        StatementFixture f;
        QVERIFY(f.ready());
        f.dialogs.openAs = {files.join('\n')};
        pressKey(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(status(), "3 files read, 33 things wrong");
        QCOMPARE(rows("tblRows"), (QStringList{"Station 2|March|b.pdf|$250.00|$250.00|$0.00|$250.00|",
                                               "Station 1|March|a.pdf|$1,000.00|$1,000.00|$0.00|$1,000.00|",
                                               "||notes.pdf|||||refused: it is not a PDF file"}));
        QCOMPARE(rows("tblTotals"), QStringList{"Total||2 of 3 statements add up|$1,250.00|$1,250.00|$0.00|$1,250.00|"});
        QCOMPARE(rows("tblStations").mid(1, 2), (QStringList{"Station 2|$250.00", "Station 3|missing"}));
        QCOMPARE(rows("tblStations").last(), "Total|$1,250.00");
        // Sorted by the balance carried forward, as amounts, not as text: $250.00 before $1,000.00.
        QVERIFY(waitActive(frmSummary().window()));
        QHeaderView* header = table("tblRows")->horizontalHeader();
        do
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(3) + 5, 5));
        while (header->sortIndicatorOrder() != Qt::AscendingOrder);
        QCOMPARE(header->sortIndicatorSection(), 3);
        const QStringList sorted = rows("tblRows");
        QVERIFY2(sorted.indexOf(QRegularExpression(".*b\\.pdf.*")) < sorted.indexOf(QRegularExpression(".*a\\.pdf.*")),
                 qPrintable(sorted.join('\n')));
        table("tblRows")->setFocus();
        table("tblRows")->setCurrentIndex(table("tblRows")->model()->index(sorted.indexOf(QRegularExpression(".*a\\.pdf.*")), 0));
        pressKey(Qt::Key_Return);
        QTRY_COMPARE(f.form().list("lstStations")->currentText(), "Station 1");
        QVERIFY(f.dialogs.shown.isEmpty());

        frmSummary().show();
        QVERIFY(waitActive(frmSummary().window()));
        f.dialogs.saveAs = {folder.filePath("summary.csv"), folder.filePath("summary.pdf"), files[1]};
        for (int i = 0; i < 3; ++i)
            pressKey(Qt::Key_S, Qt::ControlModifier);
        QFile csv(folder.filePath("summary.csv")), pdf(folder.filePath("summary.pdf")), statement(files[1]);
        QVERIFY(csv.open(QIODevice::ReadOnly) && pdf.open(QIODevice::ReadOnly) && statement.open(QIODevice::ReadOnly));
        QVERIFY(csv.readLine().startsWith("Station,Month,File,"));
        QVERIFY(pdf.read(5) == "%PDF-" && statement.readAll().contains("qm415:station>1<"));
        QCOMPARE(f.dialogs.describe(), QStringLiteral("[Save] \"%1\" is one of the statements summarised: save the summary under another name. (style 64)").arg(files[1]));
        pressKey(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(frmSummary().state(), Form::State::Unloaded);
    }

    // Escape stops the reading at once and keeps what was read; no reader is left behind.
    void escapeStopsTheReading()
    {
        QTemporaryDir folder;
        const QString file = saved(folder, "a.pdf", 1, 3, "1");
        const ReaderThatHangs hanging;
        StatementFixture f;
        QVERIFY(f.ready());
        frmSummary().summarise({file, file, file});
        QVERIFY(waitActive(frmSummary().window()));
        QTRY_COMPARE(status(), "Reading 0 of 3 files (Escape stops)");
        pressKey(Qt::Key_Escape);
        QTRY_COMPARE(status(), "Stopped: 0 of 3 files read");
        QCOMPARE(rows("tblRows"), QStringList());
    }

    // Two files or more dropped on the statement are summarised; one opens as before.
    void filesDroppedTogetherAreSummarised()
    {
        QTemporaryDir folder;
        const QString a = saved(folder, "a.pdf", 1, 3, "1"), b = saved(folder, "b.pdf", 2, 3, "2");
        StatementFixture f;
        QVERIFY(f.ready());
        QMimeData both;
        both.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &both, Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &both, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.form().window()->windowHandle(), &enter);
        QApplication::sendEvent(f.form().window()->windowHandle(), &drop);
        QTRY_COMPARE(status(), "2 files read, 32 things wrong");
        QCOMPARE(f.form().list("lstStations")->currentIndex(), -1);
    }
};

QTEST_MAIN(TestSummary)
#include "tst_summary.moc"
