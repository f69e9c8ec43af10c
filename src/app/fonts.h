#pragma once

#include "layout.h"

#include <QFont>

class QWidget;

// The window's font size, where a control's row names none.
inline constexpr double WindowPoints = 8.25;

// The fonts of the layout sheets, with a metric-compatible face where the original is missing.
QFont sheetFont(double points, bool bold);

// A caption or a button text that does not fit its control is drawn in the largest smaller
// size that does: never cut, and never under the next control. `client` is the window's client
// area at the level, where a caption's room ends at the latest.
void fitText(const ControlSpec& c, QWidget* control, const QSize& client);
