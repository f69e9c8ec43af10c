#pragma once

#include "app/layout.h"

// The summary window: the statements read, their totals, and the stations by month, in the
// statement window's size and look.
FormSpec summaryLayout();
