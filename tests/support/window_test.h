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

// The zoom levels the manual page promises, in percent.
inline constexpr int PromisedLevels[] = {100, 125, 150, 175, 200, 250, 300};

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

// A box as a message shows it: "12,3 40x9".
inline QString shown(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Where two images of the same place differ, as a box.
inline QRect differing(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The ink of a control's text as the user sees it in its window, whatever covers it: where it
// differs from the same place without the text, which `ground` gets.
inline QRect inkBox(QWidget* w, QImage* ground = nullptr)
{
    const QRect area(w->mapTo(w->window(), QPoint()), w->size());
    const auto grab = [&] { return w->window()->grab(area).toImage(); };
    const QImage with = grab();
    QImage without;
    if (auto* label = qobject_cast<QLabel*>(w)) { // its frame is in the text's colour
        const QString text = label->text();
        label->setText(QString());
        without = grab();
        label->setText(text);
    } else { // a box keeps its text, selection and undo history: only the colour goes
        const QPalette own = w->palette();
        const bool set = w->testAttribute(Qt::WA_SetPalette);
        QPalette clear = own;
        for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
            clear.setColor(role, Qt::transparent);
        w->setPalette(clear);
        without = grab();
        w->setPalette(set ? own : QPalette());
    }
    if (ground)
        *ground = without;
    return differing(with, without);
}

// The size of the ink of a text drawn in a font without bounds, or wrapped at a width.
inline QSize inkSize(const QFont& font, const QString& text, int wrap = 0)
{
    QImage blank(wrap ? wrap : 4 * QFontMetrics(font).horizontalAdvance(text) + 8,
                 4 * QFontMetrics(font).height(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    QImage image = blank;
    QPainter p(&image);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0), text);
    p.end();
    return differing(image, blank).size();
}

// What of its text the user does not see whole in a control, or "" when they see all of it. A
// caption without a frame shows all the ink the text has in its font; any other control shows
// it inside, with at least a pixel of its ground between the ink and the frame on either side.
inline QString textCutOff(QWidget* w)
{
    QImage ground;
    const QRect ink = inkBox(w, &ground);
    const auto cut = [&](const QString& how) {
        return QStringLiteral("%1 (%2) shows its text %3: ink at %4")
            .arg(w->objectName(), shown(w->rect()), how, shown(ink));
    };
    auto* label = qobject_cast<QLabel*>(w);
    const bool frameless = label && label->frameWidth() == 0;
    if (ink.isEmpty())
        return {};
    if (frameless && !qobject_cast<FigureLabel*>(w)) {
        const QSize all = inkSize(w->font(), label->text(), label->wordWrap() ? w->width() : 0);
        return ink.size() == all ? QString() : cut("in part, of " + shown(QRect({}, all)));
    }
    // A frameless figure may start at its edge on the side it is aligned to.
    const Qt::Alignment a = frameless ? label->alignment() : Qt::Alignment();
    const QRect room = w->rect().adjusted(a & Qt::AlignLeft ? -1 : 0, a & Qt::AlignTop ? -1 : 0,
                                          a & Qt::AlignRight ? 1 : 0, 0);
    if (!room.contains(ink.adjusted(-1, -1, 1, 1)))
        return cut(QStringLiteral("cut at its edge"));
    // Beside the text lies its ground (a selection's, a button's shading), not a frame.
    const auto apart = [&](int x, int y, int inside) {
        return !w->rect().contains(x, y) ||
               qAbs(qGray(ground.pixel(x, y)) - qGray(ground.pixel(inside, y))) < 40;
    };
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        if (!apart(ink.left() - 1, y, ink.left()) || !apart(ink.right() + 1, y, ink.right()))
            return cut(QStringLiteral("touching its frame"));
    return {};
}

// What the user would miss of a figure: "" when its control shows it whole and, where it is
// drawn smaller than the control's own font, has a tooltip that draws it at that font's size.
inline QString figureCutOff(QWidget* w)
{
    if (const QString cut = textCutOff(w); !cut.isEmpty())
        return cut;
    auto* label = qobject_cast<QLabel*>(w);
    const QString text = label ? label->text() : qobject_cast<QLineEdit*>(w)->displayText();
    const QSize full = inkSize(w->font(), text);
    const QSize drawn = inkBox(w).size();
    if (drawn.height() >= full.height())
        return {};
    QHelpEvent hover(QEvent::ToolTip, w->rect().center(), w->mapToGlobal(w->rect().center()));
    QApplication::sendEvent(w, &hover);
    QSize onTip;
    for (QWidget* tip : QApplication::topLevelWidgets())
        if (tip->objectName() == QLatin1String("qtooltip_label") && tip->isVisible())
            onTip = inkBox(tip).size();
    const bool whole = QToolTip::text().contains(text.toHtmlEscaped());
    QToolTip::hideText();
    if (!whole || qAbs(onTip.height() - full.height()) > 1 ||
        qAbs(onTip.width() - full.width()) > 2)
        return QStringLiteral("%1 shows \"%2\" shrunk to %3 px of ink (%4 at its size), and its "
                              "tooltip draws %5")
            .arg(w->objectName(), text, shown(QRect({}, drawn)), shown(QRect({}, full)),
                 shown(QRect({}, onTip)));
    return {};
}

// What is amiss with a form at a zoom level, or "": a control that does not stand where its
// layout sheet puts it times the level (within a pixel; a caption sized to fit its text is
// placed, not sized), or a text that the user does not see whole.
inline QString zoomedWrong(const FormSpec& sheet, Form& form, int percent)
{
    const auto px = [percent](double twips) { return twips * percent / 1500; };
    const int border = std::max(1, qRound(percent / 100.0)); // of the statement's box
    QStringList wrong;
    const auto place = [&](const QString& name, double x, double y, double w, double h,
                           bool sized) {
        const QRect r = name == sheet.name ? form.window()->rect() : form.control(name)->geometry();
        if (std::abs(r.x() - x) > 1 || std::abs(r.y() - y) > 1 ||
            (sized && (std::abs(r.width() - w) > 1 || std::abs(r.height() - h) > 1)))
            wrong << QStringLiteral("%1 at %2, not %3").arg(name, shown(r), shown({x, y, w, h}));
    };
    place(sheet.name, 0, 0, px(sheet.clientWidth), px(sheet.clientHeight), true);
    for (const ControlSpec& c : sheet.controls) {
        const QString name = controlName(c.name, c.index);
        const int origin = c.container.isEmpty() ? 0 : border;
        place(name, origin + px(c.left), origin + px(c.top), px(c.width), px(c.height),
              c.look != Look::Caption && c.look != Look::Instruction);
        // A description too long for its box shows its start, inside the box.
        QWidget* w = form.control(name);
        const bool figure = qobject_cast<FigureLabel*>(w) ||
                            (qobject_cast<EntryBox*>(w) && c.look != Look::Description);
        if (c.look != Look::Container)
            wrong << (figure ? figureCutOff(w) : textCutOff(w));
    }
    for (const RuleSpec& r : sheet.rules) {
        const double length = std::max(1.0, px(std::abs(r.x2 - r.x1) + std::abs(r.y2 - r.y1)));
        const int width = std::max(1, qRound(r.widthPixels * percent / 100.0));
        place(r.name, border + px(std::min(r.x1, r.x2)), border + px(std::min(r.y1, r.y2)),
              r.y1 == r.y2 ? length : width, r.y1 == r.y2 ? width : length, true);
    }
    wrong.removeAll(QString());
    return wrong.join(QStringLiteral("; "));
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
