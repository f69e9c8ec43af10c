// Opening a saved statement, from the file chosen to the entries shown and totalled, on a form
// that holds entries (the question answered Yes at once); and refusing a file of over 10 MiB.
#include "app/dialogs.h"
#include "paper/pdf_metadata.h"
#include "program/forms.h"
#include "statement_bench.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

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
    }
    int told = 0;
    dialogs::setResponder([&](const QString&, int, const QString& title) {
        told += title == QLatin1String(expected);
        return dialogs::Yes;
    });
    for (auto _ : state) {
        frmQM415().openFile(path);
        QApplication::processEvents(); // the entries drawn
    }
    if (told != state.iterations())
        state.SkipWithError("the file was not opened, or not refused, every time");
    dialogs::setResponder({});
    dialogs::setFileChooser({});
    frmQM415().window()->hide();
}
BENCHMARK_CAPTURE(BM_OpenSavedStatement, saved, "statement.pdf", "Form QM-415")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenSavedStatement, over_10_MiB, "large.pdf", "Open")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
