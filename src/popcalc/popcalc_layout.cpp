#include "popcalc_layout.h"

#include <QHash>

// clang-format off
FormSpec popLayout()
{
    using L = Look;
    FormSpec s{"frmPop", "Pop Money Calculation", 6375, 3855, 3660, 3975, QPalette::Button, false, {}, {}};
    s.controls = {
    // name          idx look              left   top  width height caption                                                        pt  bold tab accessible name
    {"Label1",       -1, L::Instruction,    360,  120, 4035,  195, "1. Enter the amount of pop money received for the month", 0, false, 16, {}, {}},
    {"Label2",       -1, L::Instruction,    360,  480, 3375,  195, "2. Use a different box for each amount received",         0, false,  9, {}, {}},
    {"Label3",       -1, L::Instruction,    360,  840, 5685,  195, "3. When finished hit the \"Submit Button\" to send the information to the main form", 0, false, 17, {}, {}},
    {"txtP1",         0, L::CalcAmount,     240, 1320, 1215,  420, {}, 12, false,  0, "Amount 1", {}},
    {"txtP1",         1, L::CalcAmount,     240, 1920, 1215,  420, {}, 12, false,  1, "Amount 2", {}},
    {"txtP1",         2, L::CalcAmount,     240, 2520, 1215,  420, {}, 12, false,  2, "Amount 3", {}},
    {"txtP1",         3, L::CalcAmount,    1680, 1320, 1215,  420, {}, 12, false,  3, "Amount 4", {}},
    {"txtP1",         4, L::CalcAmount,    1680, 1920, 1215,  420, {}, 12, false,  4, "Amount 5", {}},
    {"txtP1",         5, L::CalcAmount,    1680, 2520, 1215,  420, {}, 12, false,  5, "Amount 6", {}},
    {"txtP1",         6, L::CalcAmount,    3120, 1320, 1215,  420, {}, 12, false,  6, "Amount 7", {}},
    {"txtP1",         7, L::CalcAmount,    3120, 1920, 1215,  420, {}, 12, false,  7, "Amount 8", {}},
    {"txtP1",         8, L::CalcAmount,    3120, 2520, 1215,  420, {}, 12, false,  8, "Amount 9", {}},
    {"Label4",       -1, L::WrapCaption,    240, 3120, 2295,  375, "Total Amount Collected for the Month:", 0, false, 11, {}, {}},
    {"lblP1",        -1, L::Total,         3120, 3120, 1215,  495, {}, 12, false, 10, "Total amount collected", {}},
    {"cmdCalculate", -1, L::DefaultButton, 4800, 1320, 1215,  495, "&Calculate", 0, false, 12, {}, {}},
    {"cmdReset",     -1, L::Button,        4800, 1920, 1215,  495, "&Reset",     0, false, 13, {}, {}},
    {"cmdSubmit",    -1, L::Button,        4800, 2520, 1215,  495, "&Submit",    0, false, 14, {}, {}},
    {"cmdCancel",    -1, L::Button,        4800, 3120, 1215,  495, "C&ancel",    0, false, 15, {}, {}},
    };
    return s;
}
// clang-format on

FormSpec p2Layout()
{
    FormSpec s = popLayout();
    s.name = "frmP2";
    s.clientWidth = 6345;
    s.clientHeight = 3945;
    s.designLeft = 4635;
    s.designTop = 3645;
    const QHash<QString, int> tabIndex = {
        {"cmdCalculate", 3}, {"cmdReset", 2}, {"cmdSubmit", 1}, {"cmdCancel", 0}, {"Label1", 14},
        {"Label2", 17},      {"Label3", 13},  {"Label4", 15},   {"lblP2", 16},
    };
    for (ControlSpec& c : s.controls) {
        c.top += 120;
        if (c.name == "txtP1") {
            c.name = "txtP2";
            c.tabIndex = 12 - c.index; // the boxes are visited from the last to the first
        }
        if (c.name == "lblP1")
            c.name = "lblP2";
        c.tabIndex = tabIndex.value(c.name, c.tabIndex);
    }
    return s;
}
