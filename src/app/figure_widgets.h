#pragma once

#include <QLabel>
#include <QLineEdit>

// The font in which `text` fits into `width` pixels: `font` itself when it fits, otherwise the
// largest smaller size of the same face that does. A figure is never cut to fit its box.
QFont fittingFont(const QFont& font, const QString& text, qreal width);

// A label that shows a total: a figure wider than the label is drawn whole in a smaller size
// of its font, and the tooltip shows it at the label's own size.
class FigureLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Where the text is drawn: inside the border, the margin and the indent.
    QRect textRect() const;
    // The font the text is drawn in now.
    QFont drawnFont() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

// A text box that shows its selection only while it has the focus, so that a column whose
// boxes are all selected shows one highlight on screen and none on paper. Without the focus
// it shows its text from the start; an amount box shrinks a figure that is wider than the box
// instead of cutting it, and its tooltip shows the figure at the box's own size.
class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    enum class Overflow { Clip, Shrink };
    explicit EntryBox(Overflow overflow, QWidget* parent = nullptr);

    // Where the text is drawn while the box does not have the focus.
    QRect textRect() const;
    // The font the text is drawn in now.
    QFont drawnFont() const;

protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    Overflow m_overflow;
};
