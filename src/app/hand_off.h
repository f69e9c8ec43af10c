#pragma once

#include <QString>

class Form;

// Where one window hands a figure it worked out: a line of a form to fill, and the control of
// that form that takes the focus back afterwards. Given by name, not by pointer: the form may be
// unloaded and loaded anew meanwhile, and the name then reaches the new control.
struct HandOff {
    Form* form = nullptr;
    QString line;
    QString focusBack;
};
