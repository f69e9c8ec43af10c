#pragma once

#include "app/layout.h"

// The statement window as drawn on the paper form.
FormSpec statementLayout();
