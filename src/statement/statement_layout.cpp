#include "statement_layout.h"

namespace {
constexpr double Regular = 9.75; // most captions of the form
const QString P = QStringLiteral("Picture1");
} // namespace

// clang-format off
FormSpec statementLayout()
{
    using L = Look;
    FormSpec s{
        "frmQM415", "Financial Statement", 11370, 8865, 4350, 3270, QPalette::Base, true, {}, {},
    };
    s.controls = {
    // name           idx look               left   top  width height caption                       pt    bold   tab  accessible name                           container
    {"Label28",       -1, L::Caption,         480,  120, 4470,  435, "FINANCIAL STATEMENT",         18,   true,   61, {}, {}},
    {"Label29",       -1, L::Caption,        9240,  120, 1710,  360, "FORM QM-415",                 13.5, false,  62, {}, {}},
    {"Picture1",      -1, L::Container,       360,  600, 10695, 7900, {},                           0,    false,   0, "Financial statement", {}},

    {"Label1",        -1, L::Caption,         240,  120, 2985,  300, "Financial Statement For:",    12,   true,   57, {}, P},
    {"lstStations",   -1, L::StationList,    3600,  120, 1695,  420, {},                            12,   false,   1, "Station", P},
    {"Label2",        -1, L::Caption,        6720,  120, 1755,  300, "Month Ending:",               12,   true,   56, {}, P},
    {"lstMonths",     -1, L::MonthList,      8640,  120, 1815,  420, {},                            12,   false,   2, "Month ending", P},
    {"Label30",       -1, L::Caption,        2160,  720, 1050,  300, "INCOME",                      12,   true,   63, {}, P},
    {"Label31",       -1, L::Caption,        7680,  720, 1440,  300, "EXPENSES",                    12,   true,   64, {}, P},

    {"Label3",        -1, L::Caption,         240, 1200, 2655,  240, "Balance Carried Forward:",    Regular, true, 55, {}, P},
    {"txtBox",         0, L::Amount,         4200, 1200,  975,  285, {},                            0,    false,   3, "Balance carried forward", P},
    {"Label4",        -1, L::Caption,         240, 1560, 1170,  240, "House Dues:",                 Regular, false, 54, {}, P},
    {"Label5",        -1, L::Caption,         480, 1920,  540,  240, "1 Unit:",                     Regular, false, 53, {}, P},
    {"txtBox",         1, L::Amount,         4200, 1920,  975,  285, {},                            0,    false,   4, "House dues, 1 unit", P},
    {"Label6",        -1, L::Caption,         480, 2280,  540,  240, "2 Unit:",                     Regular, false, 52, {}, P},
    {"txtBox",         2, L::Amount,         4200, 2280,  975,  285, {},                            0,    false,   5, "House dues, 2 units", P},
    {"Label7",        -1, L::Caption,         480, 2640,  540,  240, "3 Unit:",                     Regular, false, 51, {}, P},
    {"txtBox",         3, L::Amount,         4200, 2640,  975,  285, {},                            0,    false,   6, "House dues, 3 units", P},
    {"Label8",        -1, L::Caption,         240, 3000, 1770,  240, "Special Collections:",        Regular, false, 50, {}, P},
    {"txtBox",         4, L::Amount,         4200, 3240,  975,  285, {},                            0,    false,   7, "Special collections, 1 unit", P},
    {"Label9",        -1, L::Caption,         480, 3360,  540,  240, "1 Unit:",                     Regular, false, 49, {}, P},
    {"txtBox",         5, L::Amount,         4200, 3600,  975,  285, {},                            0,    false,   8, "Special collections, 2 units", P},
    {"Label10",       -1, L::Caption,         480, 3720,  540,  240, "2 Unit:",                     Regular, false, 48, {}, P},
    {"txtBox",         6, L::Amount,         4200, 3960,  975,  285, {},                            0,    false,   9, "Special collections, 3 units", P},
    {"Label11",       -1, L::Caption,         480, 4080,  540,  240, "3 Unit:",                     Regular, false, 47, {}, P},
    {"Label12",       -1, L::Caption,         240, 4320, 2190,  240, "Sales -- Candy,Pop, etc..",   Regular, false, 46, {}, P},
    {"txtBox",         7, L::Amount,         4200, 4320,  975,  285, {},                            0,    false,  10, "Sales of candy and pop", P},
    {"Label13",       -1, L::Caption,         240, 4800, 1995,  240, "Other Income:(specify)",      Regular, false, 44, {}, P},
    {"Text1",          0, L::Description,     240, 5160, 3615,  285, {},                            Regular, false, 11, "Other income, line 1, description", P},
    {"txtBox",         8, L::Amount,         4200, 5160,  975,  285, {},                            0,    false,  12, "Other income, line 1", P},
    {"Text1",          1, L::Description,     240, 5520, 3615,  285, {},                            Regular, false, 13, "Other income, line 2, description", P},
    {"txtBox",         9, L::Amount,         4200, 5520,  975,  285, {},                            0,    false,  14, "Other income, line 2", P},
    {"Label22",       -1, L::FixedCaption,    240, 6000, 1935,  255, "Total Cost:",                 Regular, true,  19, {}, P},
    {"lblCost",       -1, L::Result,         4200, 6000,  975,  255, {},                            0,    false,  18, "Income total", P},

    {"Label14",       -1, L::Caption,        5760, 1200, 1035,  240, "Telephone:",                  Regular, false, 42, {}, P},
    {"txtBoxa",        0, L::Amount,         9600, 1200,  855,  285, {},                            0,    false,  15, "Telephone", P},
    {"Label15",       -1, L::Caption,        5760, 1560, 1095,  240, "Newspaper:",                  Regular, false, 40, {}, P},
    {"txtBoxa",        1, L::Amount,         9600, 1560,  855,  285, {},                            0,    false,  17, "Newspaper", P},
    {"Label16",       -1, L::Caption,        5760, 1920, 1470,  240, "Candy,Pop,Etc..:",            Regular, false, 38, {}, P},
    {"txtBoxa",        2, L::Amount,         9600, 1920,  855,  285, {},                            0,    false,  20, "Candy and pop expenses", P},
    {"Label17",       -1, L::Caption,        5760, 2400, 1470,  240, "Other Expenses:",             Regular, false, 36, {}, P},
    {"Text1",          2, L::Description,    5760, 2760, 3375,  285, {},                            Regular, false, 23, "Other expenses, line 1, description", P},
    {"txtBoxa",        3, L::Amount,         9600, 2760,  855,  285, {},                            0,    false,  25, "Other expenses, line 1", P},
    {"Text1",          3, L::Description,    5760, 3120, 3375,  285, {},                            Regular, false, 27, "Other expenses, line 2, description", P},
    {"txtBoxa",        4, L::Amount,         9600, 3120,  855,  285, {},                            0,    false,  29, "Other expenses, line 2", P},
    {"Text1",          4, L::Description,    5760, 3480, 3375,  285, {},                            Regular, false, 31, "Other expenses, line 3, description", P},
    {"txtBoxa",        5, L::Amount,         9600, 3480,  855,  285, {},                            0,    false,  33, "Other expenses, line 3", P},
    {"Text1",          5, L::Description,    5760, 3840, 3375,  285, {},                            Regular, false, 35, "Other expenses, line 4, description", P},
    {"txtBoxa",        6, L::Amount,         9600, 3840,  855,  285, {},                            0,    false,  37, "Other expenses, line 4", P},
    {"Label20",       -1, L::Caption,        5760, 4320, 1695,  240, "Total Expenses:",             Regular, true,  26, {}, P},
    {"lblTexpenses",  -1, L::Result,         9600, 4320,  855,  255, {},                            0,    false,  24, "Expense total", P},
    {"Label18",       -1, L::Caption,        5760, 4800, 1140,  240, "Total Cost:",                 Regular, true,  34, {}, P},
    {"lblTcost",      -1, L::Result,         9600, 4800,  855,  255, {},                            0,    false,  32, "Total cost", P},
    {"Label19",       -1, L::Caption,        5760, 5160, 2355,  240, "Minus Expenses Total:",       Regular, true,  30, {}, P},
    {"lblMinus",      -1, L::Result,         9600, 5160,  855,  255, {},                            0,    false,  28, "Minus expenses total", P},
    {"Label21",       -1, L::Caption,        5760, 5520, 2325,  240, "End of Month Balance:",       Regular, true,  22, {}, P},
    {"lblEnd",        -1, L::Balance,        9600, 5520,  855,  255, {},                            0,    false,  21, "End of month balance", P},

    {"Label23",       -1, L::Caption,         120, 6720,  810,  240, "SIGNED:",                     Regular, false, 16, {}, P},
    {"cmdCalculate",  -1, L::DefaultButton,   240, 7200, 1215,  375, "&Calculate",                  Regular, false, 39, {}, P},
    {"cmdPrint",      -1, L::Button,         3120, 7200, 1215,  375, "&Print",                      Regular, false, 41, {}, P},
    {"cmdClear",      -1, L::Button,         6240, 7200, 1215,  375, "C&lear",                      Regular, false, 43, {}, P},
    {"cmdExit",       -1, L::Button,         9240, 7200, 1215,  375, "E&xit",                       Regular, false, 45, {}, P},
    };
    s.rules = {
    // name    x1     y1     x2     y2   width
    {"Line1",     0,   600, 10680,   600, 1, P},
    {"Line8",     0,  1080, 10680,  1080, 1, P},
    {"Line4",  5400,  1080,  5400,  6360, 1, P},
    {"Line5",  5400,  4680, 10680,  4680, 1, P},
    {"Line3",     0,  6360, 10680,  6360, 1, P},
    {"Line7",   960,  6960,  8400,  6960, 2, P},
    {"Line6",     0,  7080, 10680,  7080, 1, P},
    };
    return s;
}
// clang-format on

QString describedControl(const QString& name)
{
    static const FormSpec sheet = statementLayout();
    for (const ControlSpec& c : sheet.controls)
        if (controlName(c.name, c.index) == name && !c.accessibleName.isEmpty())
            return c.accessibleName;
    return name;
}
