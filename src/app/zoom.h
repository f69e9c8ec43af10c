#pragma once

#include <QKeySequence>

#include <algorithm>
#include <optional>
#include <utility>

class QWheelEvent;

// The program's zoom: one level for all its windows, by which every position, size, font size
// and rule of the layout sheets is multiplied. Desktop scaling applies on top of it.
namespace zoom {

// In percent; 100 is the form as drawn.
inline constexpr int Levels[] = {100, 125, 150, 175, 200, 250, 300};
inline constexpr int Normal = 100;

enum class Step { In, Out, Reset };

// The level a step leads to from `percent`: the next larger or smaller one, or 100 %. A step
// beyond the first or last level stays where it is.
int next(int percent, Step step);

// A length of the form at the level, in whole pixels.
inline int scaled(double pixels, int percent) { return qRound(pixels * percent / Normal); }

// A rule or border at the level: it grows with the form but never thins out of sight.
inline int line(int pixels, int percent) { return std::max(1, scaled(pixels, percent)); }

// The keys that zoom: Ctrl++ (also Ctrl+= and the keypad's plus), Ctrl+- and Ctrl+0.
inline const std::pair<QKeySequence, Step> Keys[] = {
    {QKeySequence(Qt::CTRL | Qt::Key_Plus), Step::In},
    {QKeySequence(Qt::CTRL | Qt::Key_Equal), Step::In},
    {QKeySequence(Qt::CTRL | Qt::Key_Minus), Step::Out},
    {QKeySequence(Qt::CTRL | Qt::Key_0), Step::Reset},
};

// Turns the mouse wheel turned with Ctrl held into steps: one a notch, turned away from the user
// to zoom in. A fine-grained wheel adds up its small turns to notches.
class Wheel {
public:
    static bool zooms(const QWheelEvent& event);
    // The step this turn completes, if any.
    std::optional<Step> turned(const QWheelEvent& event);

private:
    int m_turned = 0; // eighths of a degree since the last step
};

} // namespace zoom
