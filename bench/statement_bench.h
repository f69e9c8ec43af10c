#pragma once

// What the statement's benchmarks share: a statement filled in as a treasurer fills it, and the
// offscreen application they run in.
#include "statement/statement_form.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

// A station and a month picked, every box filled, large amounts in the income column.
inline void fillStatement(StatementForm& form)
{
    form.list("lstStations")->setCurrentIndex(3);
    form.list("lstMonths")->setCurrentIndex(3);
    for (int i = 0; i < 10; ++i)
        form.textBox("txtBox", i)->setText(QString::number(987654.5 + i * 17.25, 'f', 2));
    for (int i = 0; i < 7; ++i)
        form.textBox("txtBoxa", i)->setText(QString::number(99.99 * i, 'f', 2));
    for (int i = 0; i < 6; ++i)
        form.textBox("Text1", i)->setText(QStringLiteral("Hire of the hall, line %1").arg(i));
}

// Runs the benchmarks on the offscreen platform, under en_US.
inline int runBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
