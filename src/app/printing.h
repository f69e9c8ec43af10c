#pragma once

#include <QString>

#include <functional>

class QWidget;

// Prints an image of a window's client area, as it stands, on the default printer.
namespace printing {

struct Outcome {
    bool printed;
    QString problem; // what went wrong and what to do, when not printed
};

Outcome printForm(QWidget* window);

// Window tests print into a function of their own; an empty one brings back the printer.
using Service = std::function<Outcome(QWidget* window)>;
void setService(Service service);

} // namespace printing
