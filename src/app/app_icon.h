#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

class QPainter;

// The program's icon: a money bag marked with a dollar sign over a stack of green notes and
// a grey ledger. It is drawn as vectors on a 32 x 32 grid, without any font, so that the same
// drawing makes every bitmap size and the scalable SVG, at build time as well as at run time.
void paintAppIcon(QPainter& painter, qreal size);
QImage appIconImage(int size = 32);
QIcon appIcon();

// The sizes the desktop's icon theme asks for, and the window offers.
inline const QList<int>& appIconSizes()
{
    static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}
