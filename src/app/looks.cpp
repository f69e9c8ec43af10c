#include "looks.h"

#include "figure_widgets.h"
#include "zoom.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QTableView>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// A straight line drawn in the window-text colour.
class Rule : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), palette().color(QPalette::WindowText));
    }
};

// The white container: draws its flat border and takes the focus without showing it.
class Container : public QFrame {
public:
    using QFrame::QFrame;
};

constexpr auto PaleYellow = QColor(255, 255, 192);
constexpr auto LightGrey = QColor(224, 224, 224);

// How far apart two colours stand for the eye: 1 for the same, 21 for black on white.
double contrast(const QColor& a, const QColor& b)
{
    auto luminance = [](const QColor& c) {
        auto linear = [](float v) {
            return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    const double dark = std::min(la, lb), light = std::max(la, lb);
    return (light + 0.05) / (dark + 0.05);
}

// The scheme's own text colour where it reads well on the background the control stands on,
// black or white otherwise: a fixed pale background keeps black text under a dark scheme.
QColor readableOn(const QColor& background, const QColor& preferred)
{
    constexpr double Readable = 4.5;
    if (contrast(preferred, background) >= Readable)
        return preferred;
    return contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

// Text in the scheme's colour of `role`, made readable on the label's own background or, for
// a transparent label, on its container's.
void setForeground(QWidget* w, QPalette::ColorRole role)
{
    QPalette p = w->palette();
    const QWidget* ground = w->autoFillBackground() ? w : w->parentWidget();
    const QColor colour =
        readableOn(ground ? ground->palette().color(QPalette::Window) : p.color(QPalette::Window),
                   p.color(role));
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

QLabel* makeLabel(const ControlSpec& c, QWidget* parent, const QPalette& windowPalette)
{
    auto* label =
        showsFigure(c.look) ? new FigureLabel(c.caption, parent) : new QLabel(c.caption, parent);
    label->setTextFormat(Qt::PlainText);
    switch (c.look) {
    case Look::Caption:
    case Look::FixedCaption:
        setForeground(label, QPalette::ButtonText);
        break;
    case Look::Instruction:
    case Look::WrapCaption:
        setBackground(label, windowPalette.color(QPalette::Button));
        setForeground(label, QPalette::ButtonText);
        label->setWordWrap(c.look == Look::WrapCaption);
        break;
    case Look::Result:
    case Look::Balance:
        setBackground(label, c.look == Look::Result ? PaleYellow : LightGrey);
        setForeground(label, QPalette::WindowText);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        break;
    case Look::Total:
        // The colour of an inactive window's caption text: a light grey in the classic scheme.
        setBackground(label, windowPalette.color(QPalette::Midlight));
        setForeground(label, QPalette::WindowText);
        break;
    default:
        break;
    }
    if (c.look != Look::Result && c.look != Look::Balance)
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The paper form's boxes: a thin flat border in the scheme's shadow colour on its base colour,
// the text a little in from the border. One style a zoom level draws them all, with the colours
// the box has when it paints; a style sheet on each box would be parsed, matched and kept for
// every one.
class FlatBoxStyle : public QProxyStyle {
public:
    // The style of the boxes at a zoom level: the border grows with the form but stays at least
    // a pixel, and so does the room between it and the text.
    static FlatBoxStyle* at(int percent)
    {
        // Kept by the application, which outlives every window: one for each level shown.
        static QHash<int, QPointer<FlatBoxStyle>> styles;
        QPointer<FlatBoxStyle>& style = styles[percent];
        if (!style) {
            style = new FlatBoxStyle(zoom::line(1, percent), zoom::scaled(2, percent));
            style->setParent(qApp);
        }
        return style;
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_PanelLineEdit) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect;
        painter->fillRect(r, option->palette.color(QPalette::Shadow));
        painter->fillRect(r.adjusted(m_border, m_border, -m_border, -m_border),
                          option->palette.base());
    }

    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override
    {
        if (element != SE_LineEditContents)
            return QProxyStyle::subElementRect(element, option, widget);
        return option->rect.adjusted(m_border + m_padding, m_border, -m_border - m_padding,
                                     -m_border);
    }

private:
    // The same kind of style as the program's own, in a copy of its own: a proxy owns its base.
    FlatBoxStyle(int border, int padding)
        : QProxyStyle(QApplication::style()->name()), m_border(border), m_padding(padding)
    {
    }

    const int m_border, m_padding;
};

QLineEdit* makeTextBox(const ControlSpec& c, QWidget* parent)
{
    auto* box = new EntryBox(c.look == Look::Description ? EntryBox::Overflow::Clip
                                                         : EntryBox::Overflow::Shrink,
                             parent);
    // The paper form's boxes: a thin flat border on white, drawn by the style of each level.
    if (c.look != Look::CalcAmount)
        box->setFrame(false);
    box->setAlignment(c.look == Look::Amount ? Qt::AlignRight | Qt::AlignVCenter
                                             : Qt::AlignLeft | Qt::AlignVCenter);
    return box;
}

// A drop-down list that the mouse wheel turns only while it has the keyboard focus: a wheel
// turned while the pointer merely crosses it would change the month or station unseen.
class List : public QComboBox {
public:
    explicit List(QWidget* parent) : QComboBox(parent)
    {
        // The toolkit's default would let the wheel take the focus first.
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};

QComboBox* makeList(const ControlSpec& c, QWidget* parent)
{
    auto* list = new List(parent);
    if (c.look == Look::StationList) {
        list->setEditable(true);
        // What is typed stays typed; only picking an entry selects one.
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr);
        QLineEdit* field = list->lineEdit();
        // Leaving the field would otherwise pick the entry that matches the typed text.
        QObject::disconnect(field, &QLineEdit::editingFinished, list, nullptr);
        // A typed text is not a pick, even when it reads like an entry, so typing over a
        // picked entry removes the selection and keeps the text as typed.
        QObject::connect(field, &QLineEdit::textEdited, list, [list, field](const QString& text) {
            if (list->currentIndex() == -1)
                return;
            const int cursor = field->cursorPosition();
            list->setCurrentIndex(-1);
            field->setText(text);
            field->setCursorPosition(cursor);
        });
    }
    return list;
}

} // namespace

void setBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

bool showsFigure(Look look)
{
    return look == Look::Result || look == Look::Balance || look == Look::Total;
}

bool isCaption(Look look)
{
    return look == Look::Caption || look == Look::FixedCaption || look == Look::Instruction ||
           look == Look::WrapCaption;
}

QWidget* makeControl(const ControlSpec& c, QWidget* parent, const QPalette& windowPalette)
{
    switch (c.look) {
    case Look::Container: {
        auto* box = new Container(parent);
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        setBackground(box, windowPalette.color(QPalette::Base));
        box->setFocusPolicy(Qt::StrongFocus);
        return box;
    }
    case Look::Amount:
    case Look::Description:
    case Look::CalcAmount:
        return makeTextBox(c, parent);
    case Look::StationList:
    case Look::MonthList:
        return makeList(c, parent);
    case Look::Button:
    case Look::DefaultButton: {
        auto* button = new QPushButton(c.caption, parent);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setDefault(c.look == Look::DefaultButton);
        return button;
    }
    case Look::Table: {
        auto* table = new QTableView(parent);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->verticalHeader()->hide();
        table->setWordWrap(false);
        table->setFocusPolicy(Qt::StrongFocus);
        return table;
    }
    case Look::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    default:
        return makeLabel(c, parent, windowPalette);
    }
}

QWidget* makeRule(QWidget* parent) { return new Rule(parent); }

void setBorders(const ControlSpec& c, QWidget* control, int percent)
{
    switch (c.look) {
    case Look::Container:
    case Look::Result:
    case Look::Balance:
        static_cast<QFrame*>(control)->setLineWidth(zoom::line(1, percent));
        break;
    case Look::Amount:
    case Look::Description:
        if (control->style() != FlatBoxStyle::at(percent))
            control->setStyle(FlatBoxStyle::at(percent));
        break;
    default:
        break;
    }
}
