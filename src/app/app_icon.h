#pragma once

#include <QIcon>
#include <QList>

// The program's icon, a money bag over a stack of notes and a ledger. The build draws it once,
// for the desktop's icon theme and into the program's resources; the program draws nothing.
QIcon appIcon();

// The sizes the desktop's icon theme asks for, and the window offers.
inline const QList<int>& appIconSizes()
{
    static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}
