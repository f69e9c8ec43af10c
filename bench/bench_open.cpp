// Opening a saved statement, from the file chosen to the entries shown and totalled, on a form
// that holds entries (the question answered Yes at once); refusing a file of over 10 MiB, and a
// 41 KB file whose metadata unpacks to 880,000 boxes, in at most 50 ms and 64 MiB.
#include "app/dialogs.h"
#include "paper/pdf_metadata.h"
#include "program/forms.h"
#include "statement_bench.h"
#include "support/crafted_pdf.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The program's memory now, or the most it has held since the last reset, in KiB.
qint64 memoryKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

// A statement with every box filled in, calculated, saved by Ctrl+S at path.
void saveFilled(const QString& path)
{
    StatementForm& form = frmQM415();
    fillStatement(form);
    form.button("cmdCalculate")->click();
    dialogs::setFileChooser([path](auto...) { return path; });
    if (QTest::qWaitForWindowActive(form.window()))
        QTest::keyClick(form.window(), Qt::Key_S, Qt::ControlModifier);
}

// Opens the file again and again; every time the user is asked, or told: `expected` is the title.
void BM_OpenSavedStatement(benchmark::State& state, const char* file, const char* expected)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QString::fromLatin1(file));
    Forms forms;
    forms.registry().setEndOfProgram([] {});
    frmQM415().show();
    saveFilled(folder.filePath(QStringLiteral("statement.pdf")));
    if (path.endsWith(QLatin1String("large.pdf"))) {
        QFile large(path);
        large.open(QIODevice::WriteOnly);
        large.resize(pdf_metadata::MaxFileSize + 1);
    } else if (path.endsWith(QLatin1String("bomb.pdf"))) {
        QFile bomb(path);
        bomb.open(QIODevice::WriteOnly);
        bomb.write(craftedPdf(
            deflated({{"<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/"
                       "1999/02/22-rdf-syntax-ns#\"><rdf:Description xmlns:qm415=\"https://"
                       "qm415.org/ns/statement/\"><qm415:boxes><rdf:Bag>",
                       1},
                      {"<rdf:li>a</rdf:li>", 880000}}),
            1));
    }
    int told = 0;
    dialogs::setResponder([&](const QString&, int, const QString& title) {
        told += title == QLatin1String(expected);
        return dialogs::Yes;
    });
    QFile peak(QStringLiteral("/proc/self/clear_refs")); // the most held is counted from here
    if (peak.open(QIODevice::WriteOnly))
        peak.write("5");
    peak.close();
    const qint64 before = memoryKiB("VmRSS:");
    for (auto _ : state) {
        const int answered = told;
        frmQM415().openFile(path);
        while (told == answered)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents(); // the entries drawn
    }
    if (told != state.iterations())
        state.SkipWithError("the file was not opened, or not refused, every time");
    state.counters["MiB"] = double(memoryKiB("VmHWM:") - before) / 1024;
    dialogs::setResponder({});
    dialogs::setFileChooser({});
    frmQM415().window()->hide();
}
BENCHMARK_CAPTURE(BM_OpenSavedStatement, saved, "statement.pdf", "Form QM-415")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenSavedStatement, over_10_MiB, "large.pdf", "Open")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenSavedStatement, item_bomb, "bomb.pdf", "Open")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
