#pragma once

#include "app/layout.h"

// The income-side calculator as drawn, and its expense-side twin: the same window standing
// 120 twips lower, with its own names and a tab order that runs the other way.
FormSpec popLayout();
FormSpec p2Layout();
