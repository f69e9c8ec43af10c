#pragma once

#include "app/figure_widgets.h"
#include "app/form.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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

// The pixels a control draws for its text, as a box in its own coordinates: where a grab of it
// (from its window: as the user sees it, with whatever covers it) differs from the same grab
// without the text. `ground` gets the grab without the text.
inline QRect inkBox(QWidget* w, bool asSeen, QImage* ground = nullptr)
{
    QWidget* window = w->window();
    const QRect area(w->mapTo(window, QPoint()), w->size());
    const auto grab = [&] { return (asSeen ? window->grab(area) : w->grab()).toImage(); };
    const QImage with = grab();
    QImage without;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A label's frame is drawn in its text colour: take the text away instead.
        const QString text = label->text();
        label->setText(QString());
        without = grab();
        label->setText(text);
    } else {
        // Boxes keep their text, selection and undo history: only its colour goes.
        const QPalette own = w->palette();
        const bool ownPalette = w->testAttribute(Qt::WA_SetPalette);
        QPalette clear = own;
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                QPalette::HighlightedText, QPalette::PlaceholderText})
            clear.setColor(role, Qt::transparent);
        w->setPalette(clear);
        without = grab();
        w->setPalette(ownPalette ? own : QPalette());
    }
    QRect box;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    if (ground)
        *ground = without;
    return box;
}

// What of its text the user does not see whole in a control, or "" when they see all of it:
// nothing of the window covers any of it, and it lies inside the control with at least a pixel
// of the ground it stands on between it and the control's frame on either side; a caption
// without a frame shows as much of it as the same text drawn in its font without any bounds.
inline QString textCutOff(QWidget* w)
{
    QImage ground;
    const QRect own = inkBox(w, false);
    const QRect seen = inkBox(w, true, &ground);
    const auto describe = [&](const QString& what) {
        return QStringLiteral("%1 (%2x%3) shows its text %4: ink at %5,%6 %7x%8")
            .arg(w->objectName())
            .arg(w->width())
            .arg(w->height())
            .arg(what)
            .arg(seen.x())
            .arg(seen.y())
            .arg(seen.width())
            .arg(seen.height());
    };
    if (own != seen)
        return describe(QStringLiteral("partly covered (all of it: %1,%2 %3x%4)")
                            .arg(own.x())
                            .arg(own.y())
                            .arg(own.width())
                            .arg(own.height()));
    if (seen.isEmpty())
        return {};
    auto* caption = qobject_cast<QLabel*>(w);
    if (caption && !qobject_cast<FigureLabel*>(w) && caption->frameWidth() == 0) {
        const QRect bounds(0, 0, caption->wordWrap() ? caption->width() : 4 * w->width(),
                           4 * w->height());
        QImage whole(bounds.size(), QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter p(&whole);
        p.setFont(caption->font());
        p.setPen(Qt::black);
        p.drawText(bounds,
                   Qt::AlignLeft | Qt::AlignTop | (caption->wordWrap() ? Qt::TextWordWrap : 0),
                   caption->text());
        p.end();
        QRect all;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (whole.pixel(x, y) != qRgb(255, 255, 255))
                    all |= QRect(x, y, 1, 1);
        if (all.size() != seen.size())
            return describe(QStringLiteral("cut, of %1x%2").arg(all.width()).arg(all.height()));
        return {};
    }
    // A frameless label may draw from its very edge on the side it aligns its text to.
    QRect room = w->rect();
    if (caption && caption->frameWidth() == 0) {
        const Qt::Alignment a = caption->alignment();
        room.adjust(a & Qt::AlignLeft ? -1 : 0, a & Qt::AlignTop ? -1 : 0,
                    a & Qt::AlignRight ? 1 : 0, a & Qt::AlignBottom ? 1 : 0);
    }
    const QRect ring = seen.adjusted(-1, -1, 1, 1);
    if (!room.contains(ring))
        return describe(QStringLiteral("cut at its edge"));
    // Left and right of the text lies the ground it stands on (a selection's, a button's
    // shading), not a frame: each pixel there is much as the one under the text next to it.
    // Above and below, the form's heights leave some figures no more than the frame's edge.
    const auto beside = [&](int x, int y, int inX) {
        if (!w->rect().contains(x, y))
            return true;
        const QColor a = ground.pixelColor(x, y), b = ground.pixelColor(inX, y);
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <
               60;
    };
    for (int y = seen.top(); y <= seen.bottom(); ++y)
        if (!beside(ring.left(), y, seen.left()) || !beside(ring.right(), y, seen.right()))
            return describe(QStringLiteral("touching its frame"));
    return {};
}

// What the user would miss of a figure: empty when its control shows the text whole, and,
// where it is drawn smaller than the control's own font, with a tooltip that shows it at that
// font's size.
inline QString figureCutOff(QWidget* w)
{
    if (!qobject_cast<FigureLabel*>(w) && !qobject_cast<EntryBox*>(w))
        return w->objectName() + QStringLiteral(" is not drawn to show a figure whole");
    if (const QString cut = textCutOff(w); !cut.isEmpty())
        return cut;
    const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                  : qobject_cast<QLineEdit*>(w)->displayText();
    // The figure at the control's own size, as a reference.
    const auto inkOf = [](const QImage& image, QRgb ground) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != ground)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    QImage reference(QFontMetrics(w->font()).boundingRect(text).size() + QSize(20, 20),
                     QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter p(&reference);
        p.setFont(w->font());
        p.drawText(10, 10 + QFontMetrics(w->font()).ascent(), text);
    }
    const QSize full = inkOf(reference, qRgb(255, 255, 255)).size();
    const QSize drawn = inkBox(w, false).size();
    if (drawn.height() >= full.height())
        return {};
    QHelpEvent hover(QEvent::ToolTip, w->rect().center(), w->mapToGlobal(w->rect().center()));
    QApplication::sendEvent(w, &hover);
    QWidget* tip = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QLatin1String("qtooltip_label") && t->isVisible())
            tip = t;
    const QImage tipImage = tip ? tip->grab().toImage() : QImage();
    const QString tipText = QToolTip::text();
    QToolTip::hideText();
    const QRect inside = tip ? tip->contentsRect().adjusted(1, 1, -1, -1) : QRect();
    const QSize shown =
        tip ? inkOf(tipImage.copy(inside), tipImage.pixel(inside.topLeft())).size() : QSize();
    if (!tipText.contains(text.toHtmlEscaped()) || qAbs(shown.height() - full.height()) > 1 ||
        qAbs(shown.width() - full.width()) > 2)
        return QStringLiteral("%1 shows \"%2\" shrunk (%3x%4 px of ink for %5x%6 at its size),"
                              " and its tooltip shows %7x%8")
            .arg(w->objectName(), text)
            .arg(drawn.width())
            .arg(drawn.height())
            .arg(full.width())
            .arg(full.height())
            .arg(shown.width())
            .arg(shown.height());
    return {};
}

// The controls of a form that do not stand where its layout sheet puts them at a zoom level,
// within a pixel; "" when all do. A caption sized to fit its text is placed, not sized.
inline QString misplaced(const FormSpec& sheet, Form& form, int percent)
{
    const auto px = [percent](double twips) { return twips * percent / 100.0 / 15; };
    const int border = std::max(1, qRound(percent / 100.0)); // Picture1's
    QStringList wrong;
    const auto check = [&](const QString& name, const QRect& got, double x, double y, double w,
                           double h, bool sized) {
        if (std::abs(got.x() - x) > 1 || std::abs(got.y() - y) > 1 ||
            (sized && (std::abs(got.width() - w) > 1 || std::abs(got.height() - h) > 1)))
            wrong << QStringLiteral("%1 at %2,%3 %4x%5 instead of %6,%7 %8x%9")
                         .arg(name)
                         .arg(got.x())
                         .arg(got.y())
                         .arg(got.width())
                         .arg(got.height())
                         .arg(x)
                         .arg(y)
                         .arg(w)
                         .arg(h);
    };
    check(sheet.name, QRect(QPoint(), form.window()->size()), 0, 0, px(sheet.clientWidth),
          px(sheet.clientHeight), true);
    for (const ControlSpec& c : sheet.controls) {
        const int origin = c.container.isEmpty() ? 0 : border;
        check(controlName(c.name, c.index), form.control(controlName(c.name, c.index))->geometry(),
              origin + px(c.left), origin + px(c.top), px(c.width), px(c.height),
              c.look != Look::Caption && c.look != Look::Instruction);
    }
    for (const RuleSpec& r : sheet.rules) {
        const double length = std::max(1.0, px(std::abs(r.x2 - r.x1) + std::abs(r.y2 - r.y1)));
        const int width = std::max(1, qRound(r.widthPixels * percent / 100.0));
        check(r.name, form.control(r.name)->geometry(), border + px(std::min(r.x1, r.x2)),
              border + px(std::min(r.y1, r.y2)), r.y1 == r.y2 ? length : width,
              r.y1 == r.y2 ? width : length, true);
    }
    return wrong.join(QStringLiteral("; "));
}

// What the user does not see whole of the texts of a window: "" when every caption, heading,
// button, box, list and figure shows all of its text.
inline QString textsCutOff(const FormSpec& sheet, Form& form)
{
    QStringList cut;
    for (const ControlSpec& c : sheet.controls) {
        QWidget* w = form.control(controlName(c.name, c.index));
        // A description too long for its box shows its start, inside the box.
        const bool figure = qobject_cast<FigureLabel*>(w) ||
                            (qobject_cast<EntryBox*>(w) && c.look != Look::Description);
        const QString missed = figure                      ? figureCutOff(w)
                               : c.look == Look::Container ? QString()
                                                           : textCutOff(w);
        if (!missed.isEmpty())
            cut << missed;
    }
    return cut.join(QStringLiteral("; "));
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
