// One whole Calculate on a filled statement: check, add up, rewrite 17 boxes, 5 totals.
#include "program/forms.h"
#include "statement_bench.h"

#include <QPushButton>

static void BM_CalculateFilledStatement(benchmark::State& state)
{
    Forms forms;
    forms.registry().setEndOfProgram([] {});
    StatementForm& form = frmQM415();
    form.show();
    form.list("lstStations")->setCurrentIndex(3);
    form.list("lstMonths")->setCurrentIndex(3);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 10; ++i)
            form.textBox("txtBox", i)->setText(QString::number(1234.5 + i * 17.25, 'f', 2));
        for (int i = 0; i < 7; ++i)
            form.textBox("txtBoxa", i)->setText(QString::number(99.99 * i, 'f', 2));
        state.ResumeTiming();
        form.button("cmdCalculate")->click();
    }
    form.window()->hide();
}
BENCHMARK(BM_CalculateFilledStatement)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
