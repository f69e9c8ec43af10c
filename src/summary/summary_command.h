#pragma once

#include <QString>
#include <QStringList>

// The summary without a window, for `qm415 --summary … --csv FILE --pdf FILE`: the files read
// side by side, the summary written as CSV ("-": standard output) and as a PDF where asked, and
// each problem one line on standard error. Runs the event loop of the application it is given
// until it is done; returns the exit status: 0 when every statement adds up and no station is
// missing from any month summarised, 1 when anything is wrong (the summary is still written).
int writeSummary(const QStringList& files, const QString& csv, const QString& pdf);
