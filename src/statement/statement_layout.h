#pragma once

#include "app/layout.h"

// The statement window as drawn on the paper form.
FormSpec statementLayout();

// What a screen reader calls a control of the statement ("Telephone" for "txtBoxa(0)"), which
// messages use too; the name itself where the sheet gives none.
QString describedControl(const QString& name);
