#pragma once

#include <QHash>
#include <QPalette>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QWidget;
class QPushButton;

// A window's controls as a table that reads like its layout sheet. Positions and sizes
// are in twips (1440 to the inch, 15 to a pixel at 96 dots per inch).
inline constexpr int TwipsPerPixel = 15;
inline int toPixels(double twips) { return qRound(twips / TwipsPerPixel); }

enum class Look {
    Container,    // white box with a flat border that takes the focus itself
    Caption,      // transparent label, sized to fit its caption
    FixedCaption, // transparent label, keeps its size
    Instruction,  // opaque label in the window colour, sized to fit on one line
    WrapCaption,  // opaque label in the window colour, caption wraps within its size
    Amount,       // flat text box, right-aligned
    Description,  // flat text box, left-aligned
    CalcAmount,   // sunken text box, left-aligned
    StationList,  // drop-down with an edit field
    MonthList,    // drop-down the user can only pick from
    Result,       // pale yellow total, right-aligned
    Balance,      // light grey total, right-aligned
    Total,        // calculator total
    Button,
    DefaultButton, // Enter clicks it wherever the focus is, but on another button
    Table,         // rows and columns of figures, read-only, picked a row at a time
    Progress,      // how far a long task has come
};

struct ControlSpec {
    QString name;
    int index; // Index within its control array, or -1
    Look look;
    int left, top, width, height;
    QString caption;
    double points; // 0: the window's font
    bool bold;
    int tabIndex;
    QString accessibleName; // a figure label: its description, the line
    QString container;      // empty: the window itself
};

// A straight rule between two points of its container.
struct RuleSpec {
    QString name;
    int x1, y1, x2, y2;
    int widthPixels;
    QString container;
};

struct FormSpec {
    QString name;
    QString caption;
    int clientWidth, clientHeight;
    int designLeft, designTop; // of the client area on the screen
    QPalette::ColorRole background;
    bool ownIcon;
    std::vector<ControlSpec> controls;
    std::vector<RuleSpec> rules;
};

// "txtBox(7)" for a member of a control array, the plain name otherwise.
QString controlName(const QString& name, int index);

struct BuiltWindow {
    std::unique_ptr<QWidget> window;
    QHash<QString, QWidget*> controls; // by controlName()
    QPushButton* defaultButton = nullptr;
    std::vector<QWidget*> tabOrder; // focusable controls, by TabIndex
};

// Builds a fresh window from its table, laid out at the zoom level (in percent). The window's
// own class comes from the caller, so that it can route the close box and the Enter key.
BuiltWindow buildWindow(const FormSpec& sheet, std::unique_ptr<QWidget> window, int percent);

// Lays the controls of a built window out again at a zoom level: their positions, sizes, fonts,
// rules and borders, on the widgets that are there. The window keeps its own size.
void layOut(const FormSpec& sheet, const QHash<QString, QWidget*>& controls, QWidget* window,
            int percent);

// The size of the window's client area at a zoom level.
QSize clientSize(const FormSpec& sheet, int percent);
