// Opening a saved statement, from the file chosen to the entries shown and totalled, on a form
// that holds entries (the question answered Yes at once); and refusing a file of over 10 MiB.
#include "app/dialogs.h"
#include "paper/pdf_metadata.h"
#include "program/forms.h"
#include "statement/statement_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// A statement with every box filled in, calculated, saved as statement.pdf in the folder.
void saveFilled(const QString& path)
{
    StatementForm& form = frmQM415();
    form.list("lstStations")->setCurrentIndex(3);
    form.list("lstMonths")->setCurrentIndex(3);
    for (int i = 0; i < 10; ++i)
        form.textBox("txtBox", i)->setText(QString::number(987654.5 + i * 17.25, 'f', 2));
    for (int i = 0; i < 7; ++i)
        form.textBox("txtBoxa", i)->setText(QString::number(99.99 * i, 'f', 2));
    for (int i = 0; i < 6; ++i)
        form.textBox("Text1", i)->setText(QStringLiteral("Hire of the hall, line %1").arg(i));
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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
