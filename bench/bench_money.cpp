// Reading and writing one amount, the work Calculate does for every box.
#include "money/money.h"

#include <benchmark/benchmark.h>

static void BM_ReadAndFormatAmount(benchmark::State& state)
{
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    const QString text = QStringLiteral("1,234.50");
    for (auto _ : state) {
        const money::Amount a = money::read(text, locale);
        QString shown = money::standard(a.cents, locale);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_ReadAndFormatAmount);

static void BM_Currency(benchmark::State& state)
{
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    for (auto _ : state) {
        QString shown = money::currency(-15000, locale);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_Currency);

BENCHMARK_MAIN();
