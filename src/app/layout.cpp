#include "layout.h"

#include "app_icon.h"
#include "fonts.h"
#include "looks.h"
#include "zoom.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>

namespace {

// Each figure and each list is labelled by the caption the user reads beside it: the nearest
// caption on its left on the same row. (A list reads out its current entry as its name.)
void labelByCaptions(const FormSpec& sheet, const QHash<QString, QWidget*>& controls)
{
    for (const ControlSpec& figure : sheet.controls) {
        if (!showsFigure(figure.look) && figure.look != Look::StationList &&
            figure.look != Look::MonthList)
            continue;
        const ControlSpec* caption = nullptr;
        for (const ControlSpec& c : sheet.controls) {
            if (isCaption(c.look) && c.container == figure.container && c.top == figure.top &&
                c.left < figure.left && (!caption || c.left > caption->left))
                caption = &c;
        }
        if (auto* label = qobject_cast<QLabel*>(
                caption ? controls.value(controlName(caption->name, caption->index)) : nullptr))
            label->setBuddy(controls.value(controlName(figure.name, figure.index)));
    }
}

// Children stand in their container's client area, inside its border.
QPoint clientOrigin(QWidget* container)
{
    if (auto* frame = qobject_cast<QFrame*>(container))
        return {frame->frameWidth(), frame->frameWidth()};
    return {};
}

} // namespace

QString controlName(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

QSize clientSize(const FormSpec& sheet, int percent)
{
    return {zoom::scaled(sheet.clientWidth / double(TwipsPerPixel), percent),
            zoom::scaled(sheet.clientHeight / double(TwipsPerPixel), percent)};
}

void layOut(const FormSpec& sheet, const QHash<QString, QWidget*>& controls, QWidget* window,
            int percent)
{
    const auto pixels = [percent](double twips) {
        return zoom::scaled(twips / TwipsPerPixel, percent);
    };
    const auto points = [percent](double size) { return size * percent / zoom::Normal; };
    window->setFont(sheetFont(points(WindowPoints), false));
    for (const ControlSpec& c : sheet.controls) {
        QWidget* control = controls.value(controlName(c.name, c.index));
        setBorders(c, control, percent);
        // Each control is given its font at the level, the window's where the sheet names none.
        control->setFont(c.points > 0 ? sheetFont(points(c.points), c.bold)
                                      : sheetFont(points(WindowPoints), false));
        const QPoint origin = clientOrigin(control->parentWidget());
        control->setGeometry(origin.x() + pixels(c.left), origin.y() + pixels(c.top),
                             pixels(c.width), pixels(c.height));
    }
    for (const RuleSpec& r : sheet.rules) {
        QWidget* rule = controls.value(r.name);
        const QPoint origin = clientOrigin(rule->parentWidget());
        const int x = origin.x() + pixels(std::min(r.x1, r.x2));
        const int y = origin.y() + pixels(std::min(r.y1, r.y2));
        const int length = std::max(pixels(std::abs(r.x2 - r.x1) + std::abs(r.y2 - r.y1)), 1);
        const int thickness = zoom::line(r.widthPixels, percent);
        if (r.y1 == r.y2)
            rule->setGeometry(x, y, length, thickness);
        else
            rule->setGeometry(x, y, thickness, length);
    }
    // Once every control stands in its place: a caption's room ends at the next one.
    const QSize client = clientSize(sheet, percent);
    for (const ControlSpec& c : sheet.controls)
        fitText(c, controls.value(controlName(c.name, c.index)), client);
}

BuiltWindow buildWindow(const FormSpec& sheet, std::unique_ptr<QWidget> window, int percent)
{
    BuiltWindow built;
    QWidget* w = window.get();
    w->setObjectName(sheet.name);
    w->setWindowTitle(sheet.caption);
    if (sheet.ownIcon)
        w->setWindowIcon(appIcon());
    w->setFont(sheetFont(WindowPoints, false));
    setBackground(w, w->palette().color(sheet.background));

    auto containerOf = [&](const QString& name) -> QWidget* {
        return name.isEmpty() ? w : built.controls.value(name, w);
    };

    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlSpec& c : sheet.controls) {
        QWidget* control = makeControl(c, containerOf(c.container), w->palette());
        const QString name = controlName(c.name, c.index);
        control->setObjectName(name);
        if (!c.accessibleName.isEmpty()) {
            // A label's accessible name would replace the figure it shows: there the line's
            // name describes the label instead.
            if (showsFigure(c.look))
                control->setAccessibleDescription(c.accessibleName);
            else
                control->setAccessibleName(c.accessibleName);
        }
        if (c.look == Look::DefaultButton)
            built.defaultButton = static_cast<QPushButton*>(control);
        if (control->focusPolicy() != Qt::NoFocus)
            focusable.emplace_back(c.tabIndex, control);
        built.controls.insert(name, control);
    }

    labelByCaptions(sheet, built.controls);

    for (const RuleSpec& r : sheet.rules) {
        QWidget* rule = makeRule(containerOf(r.container));
        rule->setObjectName(r.name);
        built.controls.insert(r.name, rule);
    }

    layOut(sheet, built.controls, w, percent);
    w->resize(clientSize(sheet, percent));

    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [tabIndex, control] : focusable)
        built.tabOrder.push_back(control);
    for (size_t i = 1; i < built.tabOrder.size(); ++i)
        QWidget::setTabOrder(built.tabOrder[i - 1], built.tabOrder[i]);

    built.window = std::move(window);
    return built;
}
