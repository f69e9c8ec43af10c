#include "summary_layout.h"

// clang-format off
FormSpec summaryLayout()
{
    using L = Look;
    FormSpec s{"frmSummary", "Summary of Statements", 11370, 8865, 4350, 3270, QPalette::Base, true, {}, {}};
    s.controls = {
    // name          idx look            left   top  width height caption                   pt    bold  tab  accessible name                             container
    {"Label1",       -1, L::Caption,      480,  120, 4470,  435, "SUMMARY OF STATEMENTS",   18,   true,  10, {}, {}},
    {"tblRows",      -1, L::Table,        360,  600, 10650, 4335, {},                       9.75, false,  0, "Statements", {}},
    {"tblTotals",    -1, L::Table,        360, 5010, 10650,  630, {},                       9.75, false,  1, "Totals of the statements that add up", {}},
    {"tblStations",  -1, L::Table,        360, 5715, 10650, 2505, {},                       9.75, false,  2, "End balances of the stations by month", {}},
    {"barReading",   -1, L::Progress,     360, 8340, 4935,  285, {},                       0,    false, 11, "Files read", {}},
    {"lblStatus",    -1, L::FixedCaption, 5460, 8340, 5550,  285, {},                      9.75, false, 12, {}, {}},
    };
    return s;
}
// clang-format on
