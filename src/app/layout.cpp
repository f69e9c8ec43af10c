#include "layout.h"

#include "app_icon.h"
#include "figure_widgets.h"
#include "zoom.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
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

constexpr double WindowPoints = 8.25;
constexpr auto PaleYellow = QColor(255, 255, 192);
constexpr auto LightGrey = QColor(224, 224, 224);

void setBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

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

// Labels that show a figure: drawn whole, and a screen reader reads the figure as their name.
bool showsFigure(Look look)
{
    return look == Look::Result || look == Look::Balance || look == Look::Total;
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
    default:
        return makeLabel(c, parent, windowPalette);
    }
}

bool isCaption(Look look)
{
    return look == Look::Caption || look == Look::FixedCaption || look == Look::Instruction ||
           look == Look::WrapCaption;
}

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

// The flat borders grow with the form, as its rules do.
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

// Where the room of a caption on a row ends: a pixel before the next control on its right, or
// before its container's edge. The window's edge is where its client area ends at the level,
// whatever size the window has now.
int roomEnd(const QWidget* caption, const QSize& client)
{
    const QWidget* container = caption->parentWidget();
    int end = container->isWindow() ? client.width() - 1 : container->contentsRect().right();
    for (const QWidget* other : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool onItsRow = other->y() < caption->y() + caption->height() &&
                              caption->y() < other->y() + other->height();
        if (other != caption && onItsRow && other->x() > caption->x())
            end = std::min(end, other->x() - 1);
    }
    return end;
}

// A caption or a button text that does not fit its control is drawn in the largest smaller
// size that does: never cut, and never under the next control.
void fitText(const ControlSpec& c, QWidget* control, const QSize& client)
{
    const auto useFont = [control](const QFont& font) {
        if (font != control->font())
            control->setFont(font);
    };
    switch (c.look) {
    case Look::Caption:
    case Look::Instruction: {
        auto* label = static_cast<QLabel*>(control);
        label->adjustSize();
        const int room = roomEnd(label, client) + 1 - label->x();
        if (label->width() > room) {
            useFont(fittingFont(label->font(), label->text(), room));
            label->resize(room, label->height());
        }
        break;
    }
    case Look::FixedCaption: {
        auto* label = static_cast<QLabel*>(control);
        useFont(fittingFont(label->font(), label->text(), label->contentsRect().width()));
        break;
    }
    case Look::WrapCaption: {
        auto* label = static_cast<QLabel*>(control);
        QFont font = label->font();
        while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 1) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
            label->setFont(font);
        }
        break;
    }
    case Look::Button:
    case Look::DefaultButton: {
        auto* button = static_cast<QPushButton*>(control);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // A pixel clear of the frame on either side.
        useFont(
            fittingFont(button->font(), QString(button->text()).remove(u'&'), room.width() - 2));
        break;
    }
    default:
        break;
    }
}

} // namespace

QString controlName(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

QFont sheetFont(double points, bool bold)
{
    // The faces asked for, best first, from the first one the font database has: for a face it
    // lacks, the toolkit sorts every installed font before it takes the next one.
    static const QStringList families = [] {
        const QStringList wanted{QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Arial"), QStringLiteral("Helvetica")};
        QStringList installed = QFontDatabase::families();
        // A family that more than one foundry makes is listed with the foundry's name.
        for (QString& family : installed)
            family = family.section(QStringLiteral(" ["), 0, 0);
        const auto first = std::find_if(wanted.begin(), wanted.end(), [&](const QString& f) {
            return installed.contains(f, Qt::CaseInsensitive);
        });
        return first == wanted.end() ? wanted : QStringList(first, wanted.end());
    }();
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
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
        auto* rule = new Rule(containerOf(r.container));
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
