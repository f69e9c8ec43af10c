#include "figure_widgets.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal SizeStep = 0.25; // points
constexpr qreal SmallestSize = 1.0;

// The widest the text can come out: the screen rounds each advance to whole pixels, paper
// lays the text out unrounded. Rounding moves an advance by less than a pixel: where the rounded
// width is a pixel a letter inside `room`, so is the other, and its font is not loaded for it
// (at start that spares one for every caption).
qreal textWidth(const QFont& font, const QString& text, qreal room = 0)
{
    const qreal rounded = QFontMetricsF(font).horizontalAdvance(text);
    if (rounded + text.size() <= room)
        return rounded;
    QFont unhinted = font;
    unhinted.setHintingPreference(QFont::PreferNoHinting);
    return std::max(rounded, QFontMetricsF(unhinted).horizontalAdvance(text));
}

QFont sized(const QFont& font, qreal points)
{
    QFont f = font;
    f.setPointSizeF(points);
    return f;
}

// Shows the whole figure at the control's own size when it is drawn smaller; false leaves the
// event to the control, which shows its own tooltip or none.
bool showWholeFigure(QWidget* w, QEvent* e, const QFont& drawn, const QString& figure)
{
    if (drawn == w->font() || !w->toolTip().isEmpty())
        return false;
    const QFontInfo info(w->font());
    const QString tip = QStringLiteral("<span style=\"font-family:'%1'; font-size:%2pt;"
                                       " white-space:pre\">%3</span>")
                            .arg(info.family())
                            .arg(info.pointSizeF())
                            .arg(figure.toHtmlEscaped());
    QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), tip, w, w->rect());
    return true;
}

// The left edge of a line of text `width` wide, placed in `room` by `alignment`.
qreal alignedLeft(const QRect& room, qreal width, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return room.x() + room.width() - std::round(width);
    if (alignment & Qt::AlignHCenter)
        return room.x() + (room.width() - width) / 2;
    return room.x();
}

} // namespace

QFont fittingFont(const QFont& font, const QString& text, qreal width)
{
    const qreal wide = textWidth(font, text, width); // the widest, where it does not fit
    if (wide <= width)
        return font;
    const qreal full = QFontInfo(font).pointSizeF();
    // Glyph widths grow almost in proportion to the size; start there and settle on the
    // largest size in whole steps that fits.
    qreal size = std::floor(full * width / wide / SizeStep) * SizeStep;
    size = std::max(SmallestSize, std::min(size, full - SizeStep));
    while (size > SmallestSize && textWidth(sized(font, size), text, width) > width)
        size -= SizeStep;
    while (size + SizeStep < full && textWidth(sized(font, size + SizeStep), text, width) <= width)
        size += SizeStep;
    return sized(font, std::max(size, SmallestSize));
}

// The label ----------------------------------------------------------------------------------

QRect FigureLabel::textRect() const
{
    // As the label places its own text: a framed label without an indent of its own keeps
    // half an "x" away from the border on its aligned sides.
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int m = indent();
    if (m < 0 && frameWidth() > 0)
        m = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    if (m > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
        if (a & Qt::AlignLeft)
            r.setLeft(r.left() + m);
        if (a & Qt::AlignRight)
            r.setRight(r.right() - m);
        if (a & Qt::AlignTop)
            r.setTop(r.top() + m);
        if (a & Qt::AlignBottom)
            r.setBottom(r.bottom() - m);
    }
    return r;
}

// A pixel of the label's ground stays between the figure and the border on its open side.
QFont FigureLabel::drawnFont() const { return fittingFont(font(), text(), textRect().width() - 1); }

bool FigureLabel::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && showWholeFigure(this, e, drawnFont(), text()))
        return true;
    return QLabel::event(e);
}

void FigureLabel::paintEvent(QPaintEvent* e)
{
    const QFont f = drawnFont();
    if (f == font()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    p.setFont(f);
    style()->drawItemText(&p, textRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), text(), foregroundRole());
}

// The text box -------------------------------------------------------------------------------

namespace {
// The room a line edit keeps between its contents rectangle and its text.
constexpr int HorizontalMargin = 2;
} // namespace

EntryBox::EntryBox(Overflow overflow, QWidget* parent) : QLineEdit(parent), m_overflow(overflow) {}

QRect EntryBox::textRect() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect r = style()
                        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                        .marginsRemoved(textMargins());
    // The box ends a right-aligned line two pixels short of its margin; so does this.
    return r.adjusted(HorizontalMargin, 0, -HorizontalMargin - 2, 0);
}

QFont EntryBox::drawnFont() const
{
    if (hasFocus() || m_overflow == Overflow::Clip)
        return font();
    return fittingFont(font(), displayText(), textRect().width());
}

bool EntryBox::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && showWholeFigure(this, e, drawnFont(), displayText()))
        return true;
    return QLineEdit::event(e);
}

// The whole box changes its look with the focus, also when only the window's activation moves
// it, where the box itself would repaint no more than its cursor.
void EntryBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    update();
}

void EntryBox::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    update();
}

void EntryBox::paintEvent(QPaintEvent* e)
{
    if (hasFocus()) {
        QLineEdit::paintEvent(e);
        return;
    }
    // Without the focus: the panel and the text, never a selection or a cursor, placed where
    // the box itself would place it so that nothing moves when the focus comes or goes.
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    const QRect room = textRect();
    p.setClipRect(room.adjusted(-HorizontalMargin, 0, HorizontalMargin + 2, 0));

    const QFont f = drawnFont();
    const QFontMetrics lines(f); // whole pixels, as the box places its line
    const QString text = displayText();
    const int height = std::max(lines.boundingRect(text).height(), lines.height());
    const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
    const int top = a & Qt::AlignTop      ? room.y() + 1
                    : a & Qt::AlignBottom ? room.bottom() - height
                                          : room.y() + (room.height() - height + 1) / 2;
    const qreal width = m_overflow == Overflow::Clip && textWidth(f, text) > room.width()
                            ? room.width() // too long to show whole: show its start
                            : QFontMetricsF(f).horizontalAdvance(text);
    p.setFont(f);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QPointF(alignedLeft(room, width, a), top + lines.ascent()), text);
}
