// Reading and writing one amount, the work Calculate does for every box.
#include "money/money.h"

#include <benchmark/benchmark.h>

#include <utility>

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

// The same where the locale's signs are not ASCII: no-break spaces, its own digits, marks.
static void BM_ReadAndFormatAmountIn(benchmark::State& state)
{
    static const std::pair<const char*, const char*> cases[] = {
        {"es_ES", "1.234.567,89"},
        {"de_CH", "1'234.50"},
        {"fr_FR", "1\u202f234,50\u00a0€"},
        {"fa_IR", "\u200e\u2212۱٬۲۳۴٫۵۰"},
    };
    const auto& [name, typed] = cases[state.range(0)];
    const QLocale locale{QString::fromLatin1(name)};
    const QString text = QString::fromUtf8(typed);
    state.SetLabel(name);
    for (auto _ : state) {
        const money::Amount a = money::read(text, locale);
        QString shown = money::standard(a.cents, locale);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_ReadAndFormatAmountIn)->DenseRange(0, 3);

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
