// One step of the zoom on a filled statement with a calculator open, up and down the levels,
// and what a hundred round trips from 100 % to 300 % and back leave behind in memory.
#include "popcalc/popcalc_form.h"
#include "program/forms.h"
#include "statement_bench.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <iterator>
#include <memory>

#include <unistd.h>

namespace {

// A calculated statement, every box filled, with the income calculator open and calculated.
struct Filled {
    Forms forms;
    Filled()
    {
        forms.registry().setEndOfProgram([] {});
        StatementForm& form = frmQM415();
        form.show();
        fillStatement(form);
        form.button("cmdCalculate")->click();
        frmPop().show();
        for (int i = 0; i < 9; ++i)
            frmPop().textBox("txtP1", i)->setText(QString::number(1234.5 * i, 'f', 2));
        frmPop().button("cmdCalculate")->click();
        QApplication::processEvents();
    }
    // One step and the windows painted anew, as the user sees it.
    void step(zoom::Step step)
    {
        forms.registry().zoomBy(step);
        QApplication::processEvents();
    }
};
std::unique_ptr<Filled> g_filled;

// Up from 100 % to 300 %, then down again, one level a step.
void BM_ZoomStep(benchmark::State& state)
{
    static int level = 0;
    static int direction = 1;
    for (auto _ : state) {
        if (level + direction < 0 || level + direction >= int(std::size(zoom::Levels)))
            direction = -direction;
        level += direction;
        g_filled->step(direction > 0 ? zoom::Step::In : zoom::Step::Out);
    }
}
BENCHMARK(BM_ZoomStep)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly(true);

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(statm.readAll()).split(u' ').value(1).toLong() *
           sysconf(_SC_PAGESIZE) / 1024;
}

// A hundred round trips, after a first one that fills the caches of glyphs and sizes.
void BM_ZoomRoundTrips(benchmark::State& state)
{
    const auto roundTrip = [] {
        for (size_t i = 1; i < std::size(zoom::Levels); ++i)
            g_filled->step(zoom::Step::In);
        for (size_t i = 1; i < std::size(zoom::Levels); ++i)
            g_filled->step(zoom::Step::Out);
    };
    g_filled->step(zoom::Step::Reset);
    const long beforeFirst = residentKiB();
    roundTrip();
    const long before = residentKiB();
    for (auto _ : state)
        for (int i = 0; i < 100; ++i)
            roundTrip();
    state.counters["first_trip_KiB"] = double(before - beforeFirst);
    state.counters["rss_change_KiB"] = double(residentKiB() - before);
}
BENCHMARK(BM_ZoomRoundTrips)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    // A screen on which the statement fits at 300 %.
    QTemporaryFile screens;
    if (!screens.open() ||
        screens.write(R"({"screens": [{"name": "large", "width": 2560, "height": 1920}]})") < 0)
        return 1;
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    g_filled = std::make_unique<Filled>();
    benchmark::RunSpecifiedBenchmarks();
    g_filled.reset();
    benchmark::Shutdown();
    return 0;
}
