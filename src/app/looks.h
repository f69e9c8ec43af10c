#pragma once

#include "layout.h"

#include <QColor>
#include <QPalette>

class QWidget;

// How each kind of control of the layout sheets looks and is made: its widget, its colours,
// made readable on whatever the scheme gives, and its borders at a zoom level.

// A control of its kind, in the colours of the window it stands in.
QWidget* makeControl(const ControlSpec& c, QWidget* parent, const QPalette& windowPalette);

// A rule of the sheet: a straight line in the window-text colour, as long and thick as its
// geometry.
QWidget* makeRule(QWidget* parent);

// The flat borders grow with the form, as its rules do.
void setBorders(const ControlSpec& c, QWidget* control, int percent);

// Fills the widget's background with `colour`.
void setBackground(QWidget* w, const QColor& colour);

// Labels that show a figure: drawn whole, and a screen reader reads the figure as their name.
bool showsFigure(Look look);

// Labels that name what stands beside them.
bool isCaption(Look look);
