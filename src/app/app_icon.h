#pragma once

#include <QIcon>
#include <QImage>

// The program's icon: a money bag marked with a dollar sign over a stack of green notes and
// a grey ledger, drawn at 32 x 32 without any font so that it can be drawn at build time too.
QImage appIconImage(int size = 32);
QIcon appIcon();
