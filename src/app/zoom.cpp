#include "zoom.h"

#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace zoom {

int next(int percent, Step step)
{
    switch (step) {
    case Step::In: {
        const auto* larger = std::upper_bound(std::begin(Levels), std::end(Levels), percent);
        return larger == std::end(Levels) ? percent : *larger;
    }
    case Step::Out: {
        const auto* smaller = std::lower_bound(std::begin(Levels), std::end(Levels), percent);
        return smaller == std::begin(Levels) ? percent : *std::prev(smaller);
    }
    case Step::Reset:
        break;
    }
    return Normal;
}

bool Wheel::zooms(const QWheelEvent& event) { return event.modifiers() & Qt::ControlModifier; }

std::optional<Step> Wheel::turned(const QWheelEvent& event)
{
    constexpr int Notch = 120;
    m_turned += event.angleDelta().y();
    if (std::abs(m_turned) < Notch)
        return std::nullopt;
    const Step step = m_turned > 0 ? Step::In : Step::Out;
    m_turned %= Notch;
    return step;
}

} // namespace zoom
