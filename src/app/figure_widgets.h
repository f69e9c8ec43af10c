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

    // While one lives, every box draws itself as it does without the focus: the page gets
    // neither the cursor nor the selection of the box the user is in, and a figure whole.
    class DrawnForPaper {
    public:
        DrawnForPaper() { ++s_forPaper; }
        ~DrawnForPaper() { --s_forPaper; }
        DrawnForPaper(const DrawnForPaper&) = delete;
        DrawnForPaper& operator=(const DrawnForPaper&) = delete;
    };

protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool showsFocus() const { return hasFocus() && s_forPaper == 0; }

    Overflow m_overflow;
    static inline int s_forPaper = 0;
};
