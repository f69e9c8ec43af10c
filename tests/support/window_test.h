#pragma once

#include "app/form.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
