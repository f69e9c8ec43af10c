#pragma once

#include "app/figure_widgets.h"
#include "app/form.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

// The control that has the keyboard focus, by its name, or "(none)".
inline QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

// What a screen reader reads for a control: the captions that label it, then its name.
inline QString heard(QWidget* control)
{
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    QStringList captions;
    for (const auto& [caption, relation] : reader->relations(QAccessible::Label))
        captions << caption->text(QAccessible::Name);
    captions << reader->text(QAccessible::Name);
    return captions.join(u' ');
}

// Offscreen activation is queued: wait for it before moving the focus.
inline bool waitActive(QWidget* window) { return QTest::qWaitForWindowActive(window, 2000); }

// Deletes the windows that unloads left for later, so that every test starts clean.
inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QTest::keyClick(target, key, modifiers);
}

inline void typeText(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

// What the user would miss of a figure: empty when its control shows the text whole at the
// size it draws it in, with a tooltip holding the whole text when that size is smaller.
inline QString figureCutOff(QWidget* w)
{
    QFont drawn;
    QString text;
    int room = 0;
    if (auto* label = qobject_cast<FigureLabel*>(w)) {
        drawn = label->drawnFont();
        text = label->text();
        room = label->contentsRect().width();
    } else if (auto* box = qobject_cast<EntryBox*>(w)) {
        drawn = box->drawnFont();
        text = box->displayText();
        room = box->textRect().width();
    } else {
        return w->objectName() + QStringLiteral(" is not drawn to show a figure whole");
    }
    const auto describe = [&](const QString& what) {
        return QStringLiteral("%1 shows \"%2\" %3 (drawn at %4 pt, %5 px wide, room %6 px)")
            .arg(w->objectName(), text, what)
            .arg(QFontInfo(drawn).pointSizeF())
            .arg(QFontMetricsF(drawn).horizontalAdvance(text))
            .arg(room);
    };
    if (QFontMetricsF(drawn).horizontalAdvance(text) > room)
        return describe(QStringLiteral("cut off"));
    if (drawn == w->font())
        return {};
    QHelpEvent hover(QEvent::ToolTip, w->rect().center(), w->mapToGlobal(w->rect().center()));
    QApplication::sendEvent(w, &hover);
    const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    if (!tip.contains(text.toHtmlEscaped()))
        return describe(QStringLiteral("shrunk, with the tooltip \"%1\"").arg(tip));
    return {};
}

// Whether the control, as painted now, shows the highlight of a selection anywhere.
inline bool showsHighlight(QWidget* w)
{
    const QImage image = w->grab().toImage();
    const QRgb highlight = w->palette().color(QPalette::Highlight).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == highlight)
                return true;
    return false;
}
