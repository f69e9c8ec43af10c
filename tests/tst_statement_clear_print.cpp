// Clear and Print on the statement. Printing goes into a recording service here; with
// QM415_REAL_PRINT=1 (set by the printing end-to-end test) it goes to the real default printer.
#include "paper/printing.h"
#include "support/crafted_pdf.h"
#include "support/reader_that_hangs.h"
#include "support/statement_fixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <csignal>
#include <sys/resource.h>

namespace {
using Box = ScriptedDialogs::Box;
const Box ClearQuestion{"Are you sure you want to clear the form?", 36, "Form QM-415"};
const char* const Buttons[] = {"cmdCalculate", "cmdPrint", "cmdClear", "cmdExit"};
const char* const Results[] = {"lblCost", "lblTcost", "lblTexpenses", "lblMinus", "lblEnd"};

// Everything the user can see change on the statement, one line per control.
QStringList snapshot(StatementFixture& f)
{
    QStringList all;
    for (int i = 0; i < 10; ++i)
        all << "txtBox" + f.income(i)->text();
    for (int i = 0; i < 7; ++i)
        all << "txtBoxa" + f.expense(i)->text();
    for (int i = 0; i < 6; ++i)
        all << "Text1" + f.description(i)->text();
    for (const char* name : Results)
        all << QString(name) + f.caption(name);
    for (const char* name : {"lstStations", "lstMonths"})
        all << QStringLiteral("%1 %2 [%3] of %4")
                   .arg(name)
                   .arg(f.form().list(name)->currentIndex())
                   .arg(f.form().list(name)->currentText())
                   .arg(f.form().list(name)->count());
    return all;
}

// Fills the statement in, step by step: "txtBox(0)=12" into a box, "lstStations=Station 99" into
// the station list's field, "lstMonths#2" picks the third month, "Calculate" clicks it.
void enter(StatementFixture& f, const QStringList& steps)
{
    for (const QString& entry : steps) {
        if (entry == "Calculate") {
            f.form().button("cmdCalculate")->click();
            continue;
        }
        const QString name = entry.section(QRegularExpression("[=#]"), 0, 0);
        const QString value = entry.mid(name.size() + 1);
        if (entry.at(name.size()) == u'#')
            f.form().list(name)->setCurrentIndex(value.toInt());
        else if (auto* list = qobject_cast<QComboBox*>(f.form().control(name)))
            list->setEditText(value);
        else
            qobject_cast<QLineEdit*>(f.form().control(name))->setText(value);
    }
}

const QStringList Filled{"lstStations#11",  "lstMonths#4",     "txtBox(0)=1234.5", "txtBox(8)=20",
                         "txtBoxa(6)=7.25", "Text1(0)=Raffle", "Text1(5)=Stamps",  "Calculate"};

void fillAndCalculate(StatementFixture& f) { enter(f, Filled); }

// A printer that prints nothing: it counts the times a page was printed or saved, keeps the
// pages it is given, and answers as it is told.
struct RecordingPrinter {
    int attempts = 0;
    QList<QByteArray> pages;
    bool installed = true;
    std::optional<QString> refusal; // why it does not take the job, if it does not
    RecordingPrinter()
    {
        printing::setService(
            {[this]() -> std::optional<printing::Destination> {
                 ++attempts;
                 if (!installed)
                     return std::nullopt;
                 return printing::Destination{"PDF", {}};
             },
             [this](const printing::Destination&, const QByteArray& pdf, const QString&) {
                 pages << pdf;
                 return refusal;
             }});
    }
    ~RecordingPrinter() { printing::setService({}); }
};

bool realPrinting() { return qEnvironmentVariableIntValue("QM415_REAL_PRINT") == 1; }

const QString NoPrinterQuestion =
    "No printer is installed. Save the statement as a PDF file instead?";

// What a reader of the PDF gets: its text, one blank between words (or laid out as on the
// page), or why there is none. A ligature reads as its letters, as a search finds them.
QString pdfText(const QString& path, bool asLaidOut = false)
{
    QProcess reader;
    reader.start("pdftotext",
                 asLaidOut ? QStringList{"-layout", path, "-"} : QStringList{path, "-"});
    if (!reader.waitForFinished(20000) || reader.exitCode() != 0)
        return "(pdftotext could not read " + path + ": " + reader.readAllStandardError() + ")";
    const QString text =
        QString::fromUtf8(reader.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    return asLaidOut ? text : text.simplified();
}

// The page as it looks on paper, at 96 dots to the inch unless told otherwise: a pixel of the
// page is a pixel of the window when the page is at true size.
QImage pdfPage(const QString& path, const QString& folder, int resolution = 96)
{
    const QString image = folder + "/page";
    QProcess::execute("pdftoppm",
                      {"-r", QString::number(resolution), "-png", "-singlefile", path, image});
    return QImage(image + ".png");
}

// What poppler's pdfinfo says of a PDF, one "Name: value" line a field.
QByteArray pdfInfo(const QString& path)
{
    QProcess info;
    info.start("pdfinfo", {path});
    return info.waitForFinished(20000) ? info.readAllStandardOutput() : QByteArray();
}

// A dark desktop: light text on dark grey.
QPalette darkScheme()
{
    const QColor dark(45, 45, 45), light(230, 230, 230);
    return QPalette(light, dark.lighter(120), dark.lighter(150), dark.darker(150), dark, light,
                    Qt::white, QColor(30, 30, 30), dark);
}

// How each control but the buttons (whose focus moves) looks on the screen, by name.
QHash<QString, QImage> controlImages(StatementFixture& f)
{
    QHash<QString, QImage> images;
    for (QWidget* w : f.form().window()->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("cmd"))
            images.insert(w->objectName(), w->grab().toImage());
    return images;
}

// A statement filled in by these steps and saved by Ctrl+S from inside a box, after so many
// presses of Ctrl++; what it showed.
void saveStatement(const QString& path, const QStringList& steps, QStringList* shown = nullptr,
                   int zoomIn = 0)
{
    StatementFixture f;
    QVERIFY(f.ready());
    enter(f, steps);
    if (shown)
        *shown = snapshot(f);
    f.dialogs.saveAs = {path};
    f.focus(f.description(1));
    for (int i = 0; i < zoomIn; ++i)
        pressKey(Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(f.forms.registry().zoom(), PromisedLevels[zoomIn]);
    pressKey(Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY2(QFileInfo(path).size() > 0, qPrintable(f.dialogs.describe()));
}

// The XMP metadata of a PDF as the program reads it, or why it cannot.
QByteArray metadataOf(const QString& path)
{
    pdf_metadata::Reader reader;
    QSignalSpy done(&reader, &pdf_metadata::Reader::done);
    reader.start(path, pdf_metadata::Part::Metadata, 1 << 30);
    if (!done.wait(10000))
        return "(not read in 10 s)";
    const auto read = done.first().first().value<pdf_metadata::Read>();
    return read.problem.isEmpty() ? read.data : read.problem.toUtf8();
}

// Where the save dialog starts for a statement never saved or opened.
QString defaultFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// The same saved entries as other XMP writers put them ("attributes": each property an attribute
// of its description, each box an rdf:Description of attributes; "descriptions": each box's
// fields the elements of an rdf:Description inside its rdf:li), in a PDF of their own.
QByteArray rewritten(QByteArray xmp, const QString& how)
{
    const qsizetype boxes = xmp.indexOf("<qm415:boxes>");
    QByteArray head = xmp.left(boxes), tail = xmp.mid(boxes);
    if (how == "descriptions")
        return craftedPdf(head + tail.replace("<rdf:li rdf:parseType=\"Resource\">",
                                              "<rdf:li><rdf:Description>")
                                     .replace("</rdf:li>", "</rdf:Description></rdf:li>"));
    const QRegularExpression property("<qm415:(\\w+)>([^<]*)</qm415:\\1>\\s*");
    const auto asAttributes = [&](const QString& elements) {
        QString attributes;
        for (const auto& m : property.globalMatch(elements))
            attributes += QStringLiteral(" qm415:%1=\"%2\"")
                              .arg(m.captured(1), m.captured(2).replace("\"", "&quot;"));
        return attributes;
    };
    QString top = QString::fromUtf8(head);
    const qsizetype tag = top.indexOf("rdf:about=\"\">", top.indexOf("xmlns:qm415"));
    const QString properties = top.mid(tag + 14);
    top = top.left(tag) + "rdf:about=\"\"" + asAttributes(properties) + ">";
    QString bag = QString::fromUtf8(tail);
    const QRegularExpression box("<rdf:li rdf:parseType=\"Resource\">(.*?)</rdf:li>",
                                 QRegularExpression::DotMatchesEverythingOption);
    for (auto m = box.match(bag); m.hasMatch(); m = box.match(bag))
        bag.replace(m.capturedStart(), m.capturedLength(),
                    "<rdf:li><rdf:Description" + asAttributes(m.captured(1)) + "/></rdf:li>");
    return craftedPdf((top + bag).toUtf8());
}

// The most memory the program has held since the last reset, and its memory now, in KiB.
qint64 memoryKiB(const char* field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Every file and folder in a folder, hidden ones too, each with its size.
QStringList listing(const QString& folder)
{
    QStringList all;
    for (const QFileInfo& f : QDir(folder).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        all << QStringLiteral("%1 %2").arg(f.fileName()).arg(f.size());
    return all;
}
} // namespace

class TestStatementClearPrint : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void clearAnsweredNoChangesNothing()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        const QStringList before = snapshot(f);
        f.dialogs.answers = {dialogs::No};
        QTest::keyClick(f.form().window()->focusWidget(), Qt::Key_L, Qt::AltModifier);
        QTRY_COMPARE(f.dialogs.shown, QList<Box>{ClearQuestion});
        QCOMPARE(snapshot(f), before);
        QTRY_COMPARE(focusName(), "lstStations");
    }

    void clearAnsweredYesEmptiesTheStatement()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        frmPop().show();
        frmPop().textBox("txtP1", 3)->setText("8");
        frmPop().button("cmdCalculate")->click();
        f.form().list("lstStations")->setEditText("Station 99"); // typed, not picked
        f.dialogs.answers = {dialogs::Yes};
        f.form().button("cmdClear")->click();
        QCOMPARE(f.dialogs.shown, QList<Box>{ClearQuestion});

        StatementFixture* fresh = &f; // what a just-started statement shows
        QStringList empty;
        for (int i = 0; i < 10; ++i)
            empty << "txtBox";
        for (int i = 0; i < 7; ++i)
            empty << "txtBoxa";
        for (int i = 0; i < 6; ++i)
            empty << "Text1";
        for (const char* name : Results)
            empty << name;
        empty << "lstStations -1 [] of 34"
              << "lstMonths -1 [] of 12";
        QCOMPARE(snapshot(*fresh), empty);
        QTRY_COMPARE(f.form().window()->focusWidget()->objectName(), "lstStations");
        // The calculator is not the statement's to clear.
        QCOMPARE(frmPop().textBox("txtP1", 3)->text(), "8.00");
        QCOMPARE(frmPop().label("lblP1")->text(), "$8.00");
    }

    void calculateAfterClearAsksForAStation()
    {
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        f.dialogs.answers = {dialogs::Yes};
        f.form().button("cmdClear")->click();
        f.form().button("cmdClear")->click(); // an empty form asks the same and stays empty
        f.form().button("cmdCalculate")->click();
        QCOMPARE(f.dialogs.shown.size(), 3);
        QCOMPARE(f.dialogs.shown[1], ClearQuestion);
        QCOMPARE(f.dialogs.shown[2].prompt, "You must select a Station");
    }

    void printHidesTheButtonsOnlyWhilePrinting()
    {
        RecordingPrinter printer;
        StatementFixture f;
        QVERIFY(f.ready());
        f.income(0)->setText("12"); // printed as typed: Print neither checks nor calculates
        f.focus(f.form().button("cmdPrint"));
        QTest::keyClick(f.form().window()->focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(printer.pages.size(), 1);
        // The page shows the entry and no button; the window kept them all.
        QTemporaryFile page;
        QVERIFY(page.open() && page.write(printer.pages[0]) > 0 && page.flush());
        const QString text = pdfText(page.fileName());
        QVERIFY2(text.contains("12") &&
                     !text.contains(QRegularExpression("Calculate|Print|Clear|Exit")),
                 qPrintable("the printed page reads: " + text));
        for (const char* name : Buttons)
            QVERIFY2(f.form().button(name)->isVisible(), name);
        QCOMPARE(focusName(), "cmdClear");
        QCOMPARE(f.income(0)->text(), "12");
        QCOMPARE(f.caption("lblCost"), "");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void printFailureIsReportedAndLosesNothing()
    {
        RecordingPrinter printer;
        printer.refusal = "Out of paper.";
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        const QStringList before = snapshot(f);
        f.form().button("cmdPrint")->click();
        QCOMPARE(f.dialogs.shown,
                 (QList<Box>{{"The printer \"PDF\" did not take the statement: Out "
                              "of paper. Check it, then press Print again.",
                              64, "Print"}}));
        for (const char* name : Buttons)
            QVERIFY2(f.form().button(name)->isVisible(), name);
        QCOMPARE(snapshot(f), before);
        QTRY_COMPARE(focusName(), "cmdPrint");
    }

    // With no printer the user may save the page as a PDF file instead. The file is the page
    // the printer would have had, or nothing at all.
    void noPrinterOffersToSaveAPdf_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");  // relative to a fresh folder; "": cancelled
        QTest::addColumn<QString>("failure"); // the reason in the "Print" box, if any
        QTest::addColumn<bool>("darkScheme");
        QTest::addColumn<bool>("existing");     // a file of that name is already there
        QTest::addColumn<QString>("station");   // typed into the list
        QTest::addColumn<QString>("suggested"); // the name the save dialog offers
        QTest::addColumn<QString>("paper"); // the locale's, the saved page's: en_US's or en_AU's
        QTest::addColumn<int>("zoomIn");    // presses of Ctrl++ before printing, 4: 200 %

        // clang-format off
        QTest::newRow("saved") << dialogs::Yes << "statement.pdf"
                               << "" << false << false << "Station 7"
                               << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("saved under a dark scheme") << dialogs::Yes << "statement.pdf"
                                                   << "" << true << false << "Station 7"
                                                   << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("replacing a file") << dialogs::Yes << "statement.pdf"
                                          << "" << false << true << "Station 7"
                                          << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("answered No") << dialogs::No << "statement.pdf"
                                     << "" << false << false << "Station 7"
                                     << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("save cancelled") << dialogs::Yes << ""
                                        << "" << false << false << "Station 7"
                                        << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("missing folder")
            << dialogs::Yes << "missing/statement.pdf"
            << "No such file or directory" << false << false << "Station 7"
            << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("a file where a folder should be")
            << dialogs::Yes << "statement.pdf/statement.pdf"
            << "Not a directory" << false << true << "Station 7"
            << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        QTest::newRow("a station typed with a slash and blanks") << dialogs::Yes << "statement.pdf"
                                                      << "" << false << false << " Station  7/8 "
                                                      << "FORM QM-415 Station 7-8 March.pdf" << "letter" << 0;
        QTest::newRow("saved where sheets are A4") << dialogs::Yes << "statement.pdf"
                                                   << "" << false << false << "Station 7"
                                                   << "FORM QM-415 Station 7 March.pdf" << "A4" << 0;
        QTest::newRow("a full disk: the write fails after the file was opened")
            << dialogs::Yes << "statement.pdf" << "File too large" << false << true << "Station 7"
            << "FORM QM-415 Station 7 March.pdf" << "letter" << 0;
        // The page is the form at its own size whatever the zoom: the same text in the same
        // places as at 100 %.
        QTest::newRow("saved at 200 %") << dialogs::Yes << "statement.pdf"
                                        << "" << false << false << "Station 7"
                                        << "FORM QM-415 Station 7 March.pdf" << "letter" << 4;
        // clang-format on
    }
    void noPrinterOffersToSaveAPdf()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(QString, failure);
        QFETCH(bool, darkScheme);
        QFETCH(bool, existing);
        QFETCH(QString, station);
        QFETCH(QString, suggested);
        QFETCH(QString, paper);
        QLocale::setDefault(QLocale(paper == "A4" ? "en_AU" : "en_US"));
        QFETCH(int, zoomIn);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString old = "an earlier statement, to be kept unless a new one is complete";
        if (existing) {
            QFile file(folder.filePath("statement.pdf"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old.toUtf8()) > 0);
        }
        const QStringList before = listing(folder.path());
        const QPalette desktop = QApplication::palette();
        if (darkScheme)
            QApplication::setPalette(::darkScheme());
        const auto restoreScheme = qScopeGuard([&] { QApplication::setPalette(desktop); });

        RecordingPrinter printer;
        printer.installed = false;
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        f.form().list("lstStations")->setCurrentIndex(6);
        f.form().list("lstStations")->setEditText(station);
        f.form().list("lstMonths")->setCurrentIndex(2);
        f.description(1)->setText("Bake sale / raffle");
        const QStringList statement = snapshot(f);
        const QHash<QString, QImage> looks = controlImages(f);
        const QString path = saveAs.isEmpty() ? QString() : folder.filePath(saveAs);
        f.dialogs.answers = {answer};
        f.dialogs.saveAs = {path};
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const auto lift = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &unlimited); });
        const rlimit full{4096, unlimited.rlim_max}; // every file ends at 4 KB
        if (failure == "File too large" && signal(SIGXFSZ, SIG_IGN) != SIG_ERR)
            setrlimit(RLIMIT_FSIZE, &full);
        f.focus(f.form().button("cmdPrint"));
        for (int i = 0; i < zoomIn; ++i)
            pressKey(Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(f.form().window()->focusWidget(), Qt::Key_P, Qt::AltModifier);

        QList<Box> boxes{{NoPrinterQuestion, 36, "Print"}};
        if (!failure.isEmpty())
            boxes << Box{QStringLiteral("The statement could not be saved as \"%1\": %2.")
                             .arg(path, failure),
                         64, "Print"};
        QTRY_VERIFY2(f.dialogs.shown == boxes, qPrintable("the user saw " + f.dialogs.describe()));
        if (zoomIn > 0) {
            // The screen stays zoomed; its checks below are made at 100 %.
            QVERIFY2(zoomedWrong(statementLayout(), f.form(), 200).isEmpty(),
                     qPrintable(zoomedWrong(statementLayout(), f.form(), 200)));
            pressKey(Qt::Key_0, Qt::ControlModifier);
        }
        const QString suggestedPath = defaultFolder() + "/" + suggested;
        const QList<QStringList> saveDialogs{
            {"Save the Statement as PDF", suggestedPath, "PDF files (*.pdf)"}};
        QCOMPARE(f.dialogs.saveDialogs,
                 answer == dialogs::Yes ? saveDialogs : QList<QStringList>{});
        // Printed, or tried to, and saved; the window kept its buttons throughout (the saved
        // page is read below without them).
        const bool triedToSave = answer == dialogs::Yes && !path.isEmpty();
        QCOMPARE(printer.attempts, triedToSave ? 2 : 1);
        for (const char* name : Buttons)
            QVERIFY2(f.form().button(name)->isVisible(), name);
        QCOMPARE(snapshot(f), statement);
        // Paper colours are for paper only: every control looks on the screen as it did.
        const QHash<QString, QImage> after = controlImages(f);
        for (auto it = looks.cbegin(); it != looks.cend(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(),
                     qPrintable(it.key() + " looks different on the screen after printing"));

        const bool saved = answer == dialogs::Yes && !path.isEmpty() && failure.isEmpty();
        QTRY_COMPARE(focusName(), saved ? "cmdClear" : "cmdPrint");
        if (!saved) {
            if (answer == dialogs::Yes) {
                // Ctrl+S from inside a box fails alike and says so, under its own title, or is
                // cancelled alike; the focus stays in the box.
                f.dialogs.saveAs = {path};
                f.focus(f.description(1));
                pressKey(Qt::Key_S, Qt::ControlModifier);
                if (!failure.isEmpty())
                    boxes << Box{boxes.last().prompt, 64, "Save"};
                QTRY_VERIFY2(f.dialogs.shown == boxes,
                             qPrintable("after Ctrl+S the user saw " + f.dialogs.describe()));
                QCOMPARE(focusName(), "Text1(1)");
            }
            QVERIFY2(listing(folder.path()) == before,
                     qPrintable("the folder holds " + listing(folder.path()).join(", ") +
                                " instead of " + before.join(", ")));
            if (existing) {
                QFile file(folder.filePath("statement.pdf"));
                QVERIFY(file.open(QIODevice::ReadOnly) || QFileInfo(file).isDir());
                QCOMPARE(QString::fromUtf8(file.readAll()), old);
            }
            return;
        }
        QCOMPARE(listing(folder.path()).size(), 1); // the PDF and no temporary file
        // Titled as its suggested name, which a PDF viewer shows; on the sheet of the locale.
        const QString about = QString::fromUtf8(pdfInfo(path));
        const QString title = QFileInfo(suggested).completeBaseName();
        QVERIFY2(about.contains(QRegularExpression("^Title: +" + QRegularExpression::escape(title) +
                                                   "$", QRegularExpression::MultilineOption)) &&
                     about.contains("pts (" + paper + ")\n"),
                 qPrintable(QStringLiteral("the saved PDF is not \"%1\" on %2: %3")
                                .arg(title, paper, about)));
        if (zoomIn > 0) {
            // At 100 %, by Ctrl+S from inside a box whose cursor shows: the same page still.
            const QString at100 = folder.filePath("at 100 %.pdf");
            f.dialogs.saveAs = {at100};
            f.focus(f.description(1));
            pressKey(Qt::Key_End);
            pressKey(Qt::Key_S, Qt::ControlModifier);
            QTRY_VERIFY(QFileInfo(at100).size() > 0);
            QCOMPARE(focusName(), "Text1(1)");
            QCOMPARE(pdfText(path, true), pdfText(at100, true));
            QVERIFY2(pdfPage(path, folder.path()) == pdfPage(at100, folder.path()),
                     "the page saved at 200 % and the one saved from a box at 100 % differ");
        }
        const QString text = pdfText(path);
        for (const char* expected :
             {"FINANCIAL STATEMENT", "FORM QM-415", "Station 7", "March",
              "Balance Carried Forward:", "1,234.50", "20.00", "7.25", "Raffle",
              "Bake sale / raffle", "Stamps", "$1,254.50", "$7.25", "$1,247.25", "SIGNED:"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)),
                     qPrintable(QStringLiteral("the saved PDF does not show \"%1\"; it reads: %2")
                                    .arg(expected, text)));
        for (const char* button : {"Calculate", "Print", "Clear", "Exit"})
            QVERIFY2(
                !text.contains(QString(button)),
                qPrintable(
                    QStringLiteral("the saved PDF shows the %1 button: %2").arg(button, text)));

        QProcess images;
        images.start("pdfimages", {"-list", path});
        QVERIFY(images.waitForFinished(20000));
        const QStringList rows = QString::fromUtf8(images.readAllStandardOutput())
                                     .split(u'\n', Qt::SkipEmptyParts)
                                     .mid(2); // below the heading and its rule
        QVERIFY2(rows.isEmpty(), qPrintable("the saved PDF holds pictures where the page should be "
                                            "lines and text: " +
                                            rows.join("; ")));

        // At true size and in the colours of paper, whatever the desktop's scheme: the
        // statement's box is as wide as on the screen, white inside, the totals pale yellow.
        const QImage page = pdfPage(path, folder.path());
        QVERIFY2(!page.isNull(), "the saved PDF could not be drawn");
        const QRect box = f.form().control("Picture1")->geometry();
        // The box's border: its left side is the leftmost ink on the page, its top runs right
        // from the top of that side.
        const auto ink = [&](int x, int y) { return page.pixelColor(x, y).lightness() < 128; };
        int left = 0, top = 0;
        while (left < page.width() && [&] {
            for (int y = 0; y < page.height(); ++y)
                if (ink(left, y))
                    return false;
            return true;
        }())
            ++left;
        while (top < page.height() && !ink(left, top))
            ++top;
        int right = left;
        while (right + 1 < page.width() && ink(right + 1, top))
            ++right;
        QVERIFY2(std::abs(right - left + 1 - box.width()) <= 1,
                 qPrintable(QStringLiteral("the statement's box is %1 pixels wide on paper, not "
                                           "%2 as on the screen")
                                .arg(right - left + 1)
                                .arg(box.width())));
        const QPoint windowToPage = QPoint(left, top) - box.topLeft();
        // The form stands across the middle of the sheet, as far from its top as from its sides.
        QVERIFY2(std::abs(windowToPage.x() - windowToPage.y()) <= 1 &&
                     std::abs(2 * windowToPage.x() + f.form().window()->width() - page.width()) <= 2,
                 qPrintable(QStringLiteral("the form stands %1 pixels from the left edge of a sheet "
                                           "%2 wide and %3 from its top")
                                .arg(windowToPage.x())
                                .arg(page.width())
                                .arg(windowToPage.y())));
        const auto colourAt = [&](const char* control) {
            const QWidget* w = f.form().control(control);
            return page.pixelColor(w->mapTo(f.form().window(), QPoint(4, 4)) + windowToPage);
        };
        QCOMPARE(colourAt("Picture1"), QColor(Qt::white));
        QCOMPARE(colourAt("lblCost"), QColor(255, 255, 192));
        QCOMPARE(colourAt("lblEnd"), QColor(224, 224, 224));
        QCOMPARE(colourAt("txtBox(2)"), QColor(Qt::white));
    }

    // The page is the statement's, not the window's: at every zoom level and in either scheme it
    // is the page of tests/support/pages, made before paper drew from a sheet of its own.
    void savedPageIsTheReference_data()
    {
        QTest::addColumn<int>("zoomIn");
        QTest::addColumn<QString>("scheme");
        for (const QString scheme : {"light", "dark"})
            for (int i = 0; i < int(std::size(PromisedLevels)); ++i)
                QTest::addRow("%d %% %s", PromisedLevels[i], qPrintable(scheme)) << i << scheme;
    }
    void savedPageIsTheReference()
    {
        if (qEnvironmentVariable("FONTCONFIG_FILE").endsWith("dejavu_only.conf"))
            QSKIP("the reference pages are drawn in Liberation Sans, which is left out here");
        QFETCH(int, zoomIn);
        QFETCH(QString, scheme);
        const QString reference = QFINDTESTDATA("support/pages/statement-" + scheme + ".pdf");
        const QPalette desktop = QApplication::palette();
        if (scheme == "dark")
            QApplication::setPalette(::darkScheme());
        const auto restoreScheme = qScopeGuard([&] { QApplication::setPalette(desktop); });
        QTemporaryDir folder;
        const QString path = folder.filePath("statement.pdf");
        RecordingPrinter printer;
        printer.installed = false;
        // clang-format off
        saveStatement(path, {"lstStations#6", "lstMonths#11", "txtBox(0)=1234.5", "txtBox(1)=20",
            "txtBox(2)=30", "txtBox(3)=(25.00)", "txtBox(4)=5", "txtBox(5)=6", "txtBox(6)=7",
            "txtBox(8)=8.1", "txtBox(9)=999999999999.99", "txtBoxa(0)=45.10", "txtBoxa(1)=12",
            "txtBoxa(3)=3", "txtBoxa(4)=-0.5", "txtBoxa(5)=1e3", "txtBoxa(6)=7.25", "Text1(0)=Raffle",
            "Text1(1)=Bake sale & \"raffle\" <2>", "Text1(2)=Stamps",
            "Text1(3)=A description far longer than its box can show",
            "Text1(4)=\u00c6\u00d8\u00c5 \u2713", "Text1(5)=Hall", "Calculate"}, nullptr, zoomIn);
        // clang-format on
        if (QTest::currentTestFailed())
            return;
        const QStringList text = pdfText(path, true).split(u'\n');
        const QStringList expectedText = pdfText(reference, true).split(u'\n');
        for (qsizetype i = 0; i < std::max(text.size(), expectedText.size()); ++i)
            QVERIFY2(text.value(i) == expectedText.value(i),
                     qPrintable(QStringLiteral("line %1 of the page reads \"%2\", not \"%3\"")
                                    .arg(i + 1)
                                    .arg(text.value(i), expectedText.value(i))));
        QCOMPARE(pdf_metadata::infoField(pdfInfo(path), "Page size"),
                 pdf_metadata::infoField(pdfInfo(reference), "Page size"));
        QCOMPARE(metadataOf(path), metadataOf(reference));
        const QImage page = pdfPage(path, folder.path(), 150);
        const QImage expected = pdfPage(reference, folder.path(), 150);
        QVERIFY2(!page.isNull() && page.size() == expected.size(), "the page could not be drawn");
        QVERIFY2(page == expected, qPrintable("the page differs from the reference at 150 dpi in " +
                                              shown(differing(page, expected))));
    }

    // A saved statement is the document: opened again, by Ctrl+O or dropped on the window, it
    // shows every entry as saved, with its totals worked out anew, and saved again it holds the
    // same. Under another locale an amount shows in that one's form.
    void savedStatementsOpenAgain_data()
    {
        QTest::addColumn<QString>("savedIn");
        QTest::addColumn<QString>("openedIn");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("changed"); // lines of the form once opened: before, after
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<QStringList>("onto"); // the form's own entries, replaced after a Yes

        // clang-format off
        const QStringList everyKind{
            "lstStations#6", "lstMonths#2", "txtBox(0)=1234.5", "txtBox(3)=(25.00)",
            "txtBox(9)=999999999999.99", "txtBoxa(0)=-0.5", "txtBoxa(6)=7",
            "Text1(0)=Bake sale & \"raffle\" <2>", "Text1(5)=  Stamps, \u00c6\u00d8\u00c5 \u2713 "};
        const QStringList totals{"lblCost$1,000,000,001,209.49", "lblCost",
                                 "lblTcost$1,000,000,001,209.49", "lblTcost",
                                 "lblTexpenses$6.50", "lblTexpenses", "lblMinus$6.50", "lblMinus",
                                 "lblEnd$1,000,000,001,202.99", "lblEnd"};
        QTest::newRow("every kind of entry, calculated")
            << "en_US" << "en_US" << everyKind + QStringList{"Calculate"} << QStringList() << false << QStringList();
        QTest::newRow("as typed, a station typed into its list, dropped on the window")
            << "en_US" << "en_US" << everyKind + QStringList{"lstStations=Station 99", "txtBoxa(3)=abc", "txtBox(5)=1e3"}
            << QStringList() << true << QStringList();
        QTest::newRow("an empty form") << "en_US" << "en_US" << QStringList() << QStringList() << false << QStringList();
        QTest::newRow("calculated, then a box changed: totals no longer of these entries")
            << "en_US" << "en_US" << everyKind + QStringList{"Calculate", "txtBox(1)=12"} << totals << false << QStringList();
        QTest::newRow("saved in German, opened in English")
            << "de_DE" << "en_US"
            << QStringList{"lstStations#6", "lstMonths#2", "txtBox(0)=1.234,50", "txtBoxa(1)=-7,5", "Text1(0)=Kuchen 3,50"}
            << QStringList{"txtBox1.234,50", "txtBox1,234.50", "txtBoxa-7,5", "txtBoxa-7.50",
                           "lstMonths 2 [März] of 12", "lstMonths 2 [March] of 12"} << false << QStringList();
        // The last station and month; a tab pasted from a spreadsheet shows and is saved as a
        // blank; a description that reads as a number is no amount.
        QTest::newRow("the last station and month, a tab pasted, a year as a description")
            << "en_US" << "en_US"
            << QStringList{"lstStations#33", "lstMonths#11", "Text1(2)=a\tb", "Text1(1)=2023", "txtBox(4)=9", "Calculate"}
            << QStringList{"Text1a\tb", "Text1a b"} << false << QStringList();
        // Onto a calculated form, a statement not calculated that names fewer boxes: nothing of
        // the form's own stays, totals neither; a form of typed amounts alone is asked about too.
        QTest::newRow("onto a calculated form") << "en_US" << "en_US" << QStringList{"txtBox(1)=5"}
            << QStringList() << false << QStringList{"lstStations#3", "lstMonths#8", "txtBox(2)=55", "Text1(3)=Kept", "Calculate"};
        QTest::newRow("onto a form of typed amounts alone") << "en_US" << "en_US" << everyKind
            << QStringList() << false << QStringList{"txtBox(2)=55"};
        // As much as the form takes, in the characters that take most room in the metadata.
        QStringList full{"lstStations=" + QString(32767, '&'), "lstMonths#0"};
        for (const auto& [array, count] : {std::pair{"txtBox", 10}, {"txtBoxa", 7}, {"Text1", 6}})
            for (int i = 0; i < count; ++i)
                full << QStringLiteral("%1(%2)=").arg(array).arg(i) + QString(32767, '&');
        QTest::newRow("every box as full as it takes") << "en_US" << "en_US" << full
            << QStringList() << false << QStringList();
        // As other XMP writers write the same entries.
        QTest::newRow("its properties as attributes") << "en_US" << "en_US"
            << everyKind + QStringList{"Calculate", "as attributes"} << QStringList() << false << QStringList();
        QTest::newRow("each box an rdf:Description") << "de_DE" << "de_DE"
            << QStringList{"lstStations#6", "txtBox(0)=1.234,50", "Text1(0)=Kuchen", "as descriptions"}
            << QStringList() << false << QStringList();
        // clang-format on
    }
    void savedStatementsOpenAgain()
    {
        QFETCH(QString, savedIn);
        QFETCH(QString, openedIn);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, changed);
        QFETCH(bool, dropped);
        QFETCH(QStringList, onto);
        const QString otherForm = steps.filter(QRegularExpression("^as ")).value(0);
        steps.removeAll(otherForm);
        QTemporaryDir folder;
        const QString path = folder.filePath("statement.pdf"), again = folder.filePath("again.pdf");
        RecordingPrinter printer;
        printer.installed = false;
        QStringList expected;
        QLocale::setDefault(QLocale(savedIn));
        saveStatement(path, steps, &expected);
        if (QTest::currentTestFailed())
            return;
        const QByteArray saved = metadataOf(path);
        if (!otherForm.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(rewritten(saved, otherForm.mid(3)));
        }
        QLocale::setDefault(QLocale(openedIn));
        for (int i = 0; i + 1 < changed.size(); i += 2) {
            QVERIFY2(expected.contains(changed[i]), qPrintable(expected.join(" | ")));
            expected[expected.indexOf(changed[i])] = changed[i + 1];
        }

        StatementFixture f;
        QVERIFY(f.ready());
        enter(f, onto);
        if (dropped) {
            // Onto the station list's field, which would take the file's name as text were it
            // not a file; file managers offer both.
            QMimeData file;
            file.setUrls({QUrl::fromLocalFile(path)});
            file.setText(path);
            const QPoint at =
                f.form().list("lstStations")->lineEdit()->mapTo(f.form().window(), QPoint(5, 5));
            QDragEnterEvent enter(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.form().window()->windowHandle(), &enter);
            QApplication::sendEvent(f.form().window()->windowHandle(), &drop);
            // Dragged over a heading, a caption, a total or the empty room of the statement, the
            // file is taken as well, from the moment the drag enters.
            for (const char* over : {"Label28", "Label3", "lblEnd", "Picture1"}) {
                const QPoint spot = f.form().control(over)->mapTo(f.form().window(), QPoint(2, 2));
                QDragEnterEvent entering(spot, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
                QDragMoveEvent moving(spot, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(f.form().window()->windowHandle(), &entering);
                QApplication::sendEvent(f.form().window()->windowHandle(), &moving);
                QVERIFY2(entering.isAccepted() && moving.isAccepted(), over);
                QDragLeaveEvent leaving;
                QApplication::sendEvent(f.form().window()->windowHandle(), &leaving);
            }
        } else {
            f.dialogs.openAs = {path};
            pressKey(Qt::Key_O, Qt::ControlModifier);
        }
        QTRY_VERIFY2(snapshot(f) == expected,
                     qPrintable("the opened statement shows " + snapshot(f).join(" | ") +
                                "\ninstead of " + expected.join(" | ")));
        const QList<Box> asked{{"Are you sure you want to replace the entries on the form with "
                                "those saved in \"statement.pdf\"?",
                                36, "Form QM-415"}};
        QVERIFY2(f.dialogs.shown == (onto.isEmpty() ? QList<Box>() : asked),
                 qPrintable(f.dialogs.describe()));
        QTRY_COMPARE(focusName(), f.caption("lblCost").isEmpty() ? "lstStations" : "cmdPrint");
        // Saved again, where it was opened from unless the user says otherwise.
        f.dialogs.saveAs = {again};
        pressKey(Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(QFileInfo(again).size() > 0);
        QCOMPARE(f.dialogs.saveDialogs.value(0).value(1), path);
        // After Clear the next statement is saved under a name of its own; the folder stays.
        f.form().button("cmdClear")->click();
        pressKey(Qt::Key_S, Qt::ControlModifier);
        pressKey(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs.saveDialogs.value(1).value(1), folder.filePath("FORM QM-415.pdf"));
        QCOMPARE(f.dialogs.openDialogs.value(dropped ? 0 : 1).value(1), folder.path());
        if (savedIn == openedIn)
            QVERIFY2(metadataOf(again) == saved,
                     "saved after it was opened, the statement holds other entries");
        // The desktop's own dialog starts in that folder too.
        dialogs::setFileChooser({});
        QString shownFolder;
        QTimer look;
        connect(&look, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                shownFolder = d->directory().absolutePath();
                d->reject();
            }
        });
        look.start(20);
        pressKey(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(shownFolder, folder.path());
    }

    // A file that is not a statement the form can hold is refused, named with the reason, and the
    // form stays exactly as it was; so it does when the user would not have its entries replaced.
    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QString>("file"); // a saved statement with `from` made `to`, or none
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("reason"); // "": it opens, but the user answers No

        // clang-format off
        QTest::newRow("missing") << "missing" << "" << "" << "No such file or directory";
        QTest::newRow("a folder") << "folder" << "" << "" << "it is a folder";
        QTest::newRow("not a PDF") << "saved" << "%PDF-" << "%XYZ-" << "it is not a PDF file";
        QTest::newRow("a PDF from elsewhere") << "saved" << "qm415.org" << "example.org"
            << "it holds no entries of a statement (only a PDF this program saved has them)";
        QTest::newRow("cut short") << "saved" << "%%EOF" << "" << "the PDF is damaged or incomplete";
        QTest::newRow("larger than 10 MiB") << "saved" << "%%EOF" << "%%EOF" + QString(10 << 20, ' ')
            << "it is larger than the 10 MiB a statement can be";
        QTest::newRow("damaged entries") << "saved" << "<qm415:boxes>" << "<qm415:boxes" << "its saved statement is damaged";
        QTest::newRow("a newer format") << "saved" << "formatVersion>1<" << "formatVersion>2<"
            << "it was saved by a newer version of the program (format 2; this version reads format 1)";
        QTest::newRow("a station off the list") << "saved" << "station>12<" << "station>35<"
            << "the station it names is not on the list";
        QTest::newRow("a month off the list") << "saved" << "month>5<" << "month>0<"
            << "the month it names is not on the list";
        QTest::newRow("longer than a box takes") << "saved" << ">Raffle<" << ">" + QString(32768, 'x') + "<"
            << "the entry for \"Other income, line 1, description\" is longer than its box takes";
        QTest::newRow("a control character") << "saved" << ">Raffle<" << ">Raf\tfle<"
            << "the entry for \"Other income, line 1, description\" holds control characters";
        QTest::newRow("a trillion") << "saved" << "cents>123450<" << "cents>100000000000000<"
            << "the amount for \"Balance carried forward\" is a trillion or more";
        QTest::newRow("a box the form does not have") << "saved" << "txtBoxa(6)" << "txtBoxa(7)"
            << "it names a box the statement does not have";
        QTest::newRow("replacing the entries answered No") << "saved" << "" << "" << "";
        QTest::newRow("text and cents apart") << "saved" << "cents>123450<" << "cents>99<"
            << "its saved statement is damaged: the amount saved for \"Balance carried forward\" is not the one its text reads";
        QTest::newRow("a DTD") << "saved" << "<x:xmpmeta" << "<!DOCTYPE x [<!ENTITY e SYSTEM \"/etc/hostname\">]><x:xmpmeta"
            << "its metadata holds a document type declaration, which no saved statement has";
        QTest::newRow("an entity no one declared") << "saved" << ">Raffle<" << ">&e;<" << "its saved statement is damaged";
        QTest::newRow("a station named by its number alone, answered No") << "saved" << "<qm415:stationText>Station 12</qm415:stationText>" << "" << "";
        // Hostile metadata, packed small: boxes said over and over, nesting a million deep,
        // and more than a statement can be; the reader's own memory, a password, another program.
        const QString item = "<rdf:li rdf:parseType=\"Resource\"><qm415:name>txtBox(0)</qm415:name><qm415:text>1</qm415:text><qm415:cents>100</qm415:cents></rdf:li>";
        QTest::newRow("the same box 30,000 times") << "packed" << "<rdf:Bag>" << item + "*30000" << "its saved statement is damaged";
        QTest::newRow("more than a statement can be") << "packed" << "<rdf:Bag>" << item + "*60000" << "its metadata is far larger than a statement's";
        QTest::newRow("an item bomb") << "packed" << "<rdf:Bag>" << item + "*880000"
            << "reading it needed more than the 40 MiB of memory a statement takes";
        QTest::newRow("nesting a million deep") << "packed" << "<rdf:RDF>" << "<a>*1000000" << "its saved statement is damaged";
        QTest::newRow("unpacked past the reader's memory") << "packed twice" << "<?xpacket" << QString(1 << 20, ' ') + "*60"
            << "reading it needed more than the 40 MiB of memory a statement takes";
        QTest::newRow("a password") << "password" << "" << "" << "it is protected by a password";
        QTest::newRow("rewritten by another program") << "rewritten" << "" << ""
            << "it was rewritten by %1, which did not keep the statement's entries: open the copy this program saved";
        QTest::newRow("a reader that never answers") << "slow" << "" << "" << "reading it took longer than 5 seconds";
        QTest::newRow("10 MiB") << "padded" << "" << "0" << "";
        QTest::newRow("10 MiB and a byte") << "padded" << "" << "1" << "it is larger than the 10 MiB a statement can be";
        // clang-format on
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString saved = folder.filePath("saved.pdf");
        RecordingPrinter printer;
        printer.installed = false;
        saveStatement(saved, Filled);
        if (QTest::currentTestFailed())
            return;
        QFile in(saved);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        const QString path = file == "folder" ? folder.path() : folder.filePath("statement.pdf");
        if (file.startsWith("packed")) {
            // The saved metadata with `to` said N times after `from` ("text*N"), packed.
            const QByteArray xmp = metadataOf(saved);
            const qsizetype at = xmp.indexOf(from.toUtf8()) + from.size();
            bytes = deflated({{xmp.left(at), 1},
                              {to.section('*', 0, -2).toUtf8(), to.section('*', -1).toLongLong()},
                              {xmp.mid(at), 1}});
            bytes = craftedPdf(file == "packed" ? bytes : deflated({{bytes, 1}}), file == "packed" ? 1 : 2);
        } else if (file == "padded") { // as many blanks before its end as make 10 MiB, and `to`
            const qsizetype end = bytes.lastIndexOf("startxref");
            bytes.insert(end, QByteArray((10 << 20) + to.toInt() - bytes.size(), ' '));
        } else if (file == "password" || file == "rewritten") {
            const QStringList password{"-sOwnerPassword=owner", "-sUserPassword=secret"};
            QCOMPARE(QProcess::execute("gs", QStringList{"-q", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite"} +
                                                 (file == "password" ? password : QStringList()) +
                                                 QStringList{"-sOutputFile=" + path, saved}),
                     0);
        } else {
            bytes.replace(from.toUtf8(), to.toUtf8());
        }
        if (file != "missing" && file != "folder" && file != "password" && file != "rewritten") {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        }
        if (file == "rewritten") {
            QProcess info;
            info.start("pdfinfo", {path});
            QVERIFY(info.waitForFinished(20000));
            reason = reason.arg(QRegularExpression("Producer: +(.*)\n").match(info.readAllStandardOutput()).captured(1));
        }
        std::optional<ReaderThatHangs> hanging;
        if (file == "slow")
            hanging.emplace();
        StatementFixture f;
        QVERIFY(f.ready());

        enter(f, {"lstStations#3", "lstMonths#8", "txtBox(2)=55", "Text1(3)=Kept", "Calculate"});
        f.focus(f.description(3));
        QTRY_COMPARE(focusName(), "Text1(3)");
        const QStringList shownBefore = snapshot(f);
        f.dialogs.openAs = {path};
        f.dialogs.answers = {dialogs::No};
        // Whatever the file, the window answers throughout, and the program holds no more than
        // 64 MiB above its own: the longest the event loop waits between two turns, and the most
        // memory held since now.
        QFile peak("/proc/self/clear_refs"); // the most held is counted from here
        QVERIFY(peak.open(QIODevice::WriteOnly) && peak.write("5") == 1);
        peak.close();
        [[maybe_unused]] const qint64 before = memoryKiB("VmRSS:"); // not read under ASan
        QElapsedTimer sinceTurn;
        qint64 longestWait = 0;
        QTimer turns;
        connect(&turns, &QTimer::timeout, [&] {
            longestWait = std::max(longestWait, sinceTurn.restart());
        });
        turns.start(20);
        sinceTurn.start();
        pressKey(Qt::Key_O, Qt::ControlModifier);
        const QList<Box> told{
            reason.isEmpty()
                ? Box{"Are you sure you want to replace the entries on the form with those saved "
                      "in \"statement.pdf\"?",
                      36, "Form QM-415"}
                : Box{QStringLiteral("The file \"%1\" could not be opened: %2.").arg(path, reason),
                      64, "Open"}};
        QTRY_VERIFY2_WITH_TIMEOUT(f.dialogs.shown == told,
                                  qPrintable("the user saw " + f.dialogs.describe()), 10000);
        QVERIFY2(longestWait < 500, qPrintable(QString("the window was deaf for %1 ms").arg(longestWait)));
#ifndef __SANITIZE_ADDRESS__
        QVERIFY2(memoryKiB("VmHWM:") - before < 64 * 1024,
                 qPrintable(QString("opening it took %1 KiB").arg(memoryKiB("VmHWM:") - before)));
#endif
        QCOMPARE(snapshot(f), shownBefore);
        QTRY_COMPARE(focusName(), "Text1(3)");
        // Neither a refused file nor one the user kept out is the document on the form.
        pressKey(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs.saveDialogs.value(0).value(1),
                 defaultFolder() + "/FORM QM-415 Station 4 September.pdf");
    }

    // Ctrl+N: the same station's next month from this one's end balance, after Calculate only;
    // the question of Clear first, unless the statement was saved and not changed since.
    void nextMonthFromTheEndBalance_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("month"); // and the balance carried forward, after Ctrl+N
        const QString clear = "[Form QM-415] Are you sure you want to clear the form? (style 36)";
        const QStringList april{"lstStations#6", "lstMonths#3", "txtBox(0)=100", "txtBoxa(0)=25.5", "Calculate"};
        // clang-format off
        QTest::newRow("not calculated") << QStringList{"lstStations#6", "lstMonths#3", "txtBox(0)=5"} << false << dialogs::Yes
            << "[Next Month] Press Calculate first: the next month starts from this month's end balance. (style 64)" << "April 5";
        QTest::newRow("changed after Calculate") << april + QStringList{"txtBox(1)=1"} << true << dialogs::Yes
            << "[Next Month] Press Calculate first: the next month starts from this month's end balance. (style 64)" << "April 100.00";
        QTest::newRow("not saved, answered No") << april << false << dialogs::No << clear << "April 100.00";
        QTest::newRow("not saved, answered Yes") << april << false << dialogs::Yes << clear << "May 74.50";
        QTest::newRow("saved") << april << true << dialogs::No << "no message box" << "May 74.50";
        QTest::newRow("December into January") << QStringList{"lstStations#6", "lstMonths#11", "txtBoxa(0)=2", "Calculate"} << true << dialogs::No
            << "no message box" << "January -2.00";
        // clang-format on
    }
    void nextMonthFromTheEndBalance()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, saved);
        QFETCH(int, answer);
        QFETCH(QString, told);
        QFETCH(QString, month);
        QTemporaryDir folder;
        RecordingPrinter printer;
        printer.installed = false;
        StatementFixture f;
        QVERIFY(f.ready());
        enter(f, steps);
        if (saved) {
            f.dialogs.saveAs = {folder.filePath("april.pdf")};
            pressKey(Qt::Key_S, Qt::ControlModifier);
            QTRY_VERIFY(QFileInfo(folder.filePath("april.pdf")).size() > 0);
            if (steps.last() != "Calculate")
                f.income(1)->setText("2");
        }
        f.dialogs.answers = {answer};
        const QString before = f.form().list("lstMonths")->currentText();
        pressKey(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.dialogs.describe(), told);
        QCOMPARE(f.form().list("lstMonths")->currentText() + " " + f.income(0)->text(), month);
        if (!month.startsWith(before)) {
            QCOMPARE(f.caption("lblCost"), "");
            QCOMPARE(f.form().list("lstStations")->currentText(), "Station 7");
            QTRY_COMPARE(focusName(), "txtBox(1)");
            // Another document, in the folder of the last.
            pressKey(Qt::Key_S, Qt::ControlModifier);
            const QString named = "FORM QM-415 Station 7 " + month.section(' ', 0, 0) + ".pdf";
            QCOMPARE(f.dialogs.saveDialogs.last().value(1),
                     (saved ? folder.path() : defaultFolder()) + "/" + named);
        }
    }

    // One open at a time: a file dropped while another is read waits its turn, and what the user
    // types or clicks meanwhile is refused, every time; then each file is opened in turn.
    void aSecondFileWaitsItsTurn()
    {
        QTemporaryDir folder;
        const QString first = folder.filePath("first.pdf"), second = folder.filePath("second.pdf");
        saveStatement(first, {"lstStations#1", "txtBox(0)=1"});
        QStringList expected;
        saveStatement(second, {"lstStations#2", "txtBox(0)=2"}, &expected);
        const ReaderThatHangs slow("sleep 1; exec " + QStandardPaths::findExecutable("pdfinfo") + " \"$@\"");
        StatementFixture f;
        QVERIFY(f.ready());
        f.dialogs.openAs = {first};
        pressKey(Qt::Key_O, Qt::ControlModifier);
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(second)});
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.form().window()->windowHandle(), &enter);
        QApplication::sendEvent(f.form().window()->windowHandle(), &drop);
        QTest::qWait(100);
        typeText("7");
        pressKey(Qt::Key_O, Qt::ControlModifier);
        QTest::mouseClick(f.form().button("cmdCalculate"), Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(snapshot(f) == expected, qPrintable(snapshot(f).join(" | ")), 10000);
        QCOMPARE(f.dialogs.openDialogs.size(), 1);
        QCOMPARE(f.dialogs.describe(), "[Form QM-415] Are you sure you want to replace the entries on "
                                       "the form with those saved in \"second.pdf\"? (style 36)");
    }

    // Prints a filled statement on the real default printer and reports how long the window
    // was busy. QM415_EXPECT_NO_PRINTER=1: the same with no printer to be had;
    // QM415_EXPECT_REFUSAL: with a printer that refuses, for that reason.
    void printsOnTheDefaultPrinter()
    {
        if (!realPrinting())
            QSKIP("prints for real only inside the printing end-to-end test");
        StatementFixture f;
        QVERIFY(f.ready());
        fillAndCalculate(f);
        const QStringList before = snapshot(f);
        const QString refusal = qEnvironmentVariable("QM415_EXPECT_REFUSAL");
        f.dialogs.answers = {dialogs::No};
        QElapsedTimer timer;
        timer.start();
        f.form().button("cmdPrint")->click();
        const qint64 busy = timer.elapsed();
        for (const char* name : Buttons)
            QVERIFY2(f.form().button(name)->isVisible(), name);
        if (qEnvironmentVariableIntValue("QM415_EXPECT_NO_PRINTER") == 1) {
            QCOMPARE(f.dialogs.shown.size(), 1);
            QCOMPARE(f.dialogs.shown[0].title, "Print");
            QCOMPARE(f.dialogs.shown[0].style, 36);
            QVERIFY2(f.dialogs.shown[0].prompt.startsWith("No printer is installed."),
                     qPrintable(f.dialogs.describe()));
            QCOMPARE(f.dialogs.shown[0].prompt, NoPrinterQuestion);
            QTRY_COMPARE(focusName(), "cmdPrint");
        } else if (!refusal.isEmpty()) {
            QCOMPARE(f.dialogs.describe(),
                     "[Print] The printer \"PDF\" did not take the statement: " + refusal +
                         ". Check it, then press Print again. (style 64)");
            QTRY_COMPARE(focusName(), "cmdPrint");
        } else {
            QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.describe()));
        }
        QCOMPARE(snapshot(f), before);
        qInfo("Print kept the window busy for %lld ms", busy);
    }
};

QTEST_MAIN(TestStatementClearPrint)
#include "tst_statement_clear_print.moc"
