#include "fonts.h"

#include "figure_widgets.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

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

} // namespace

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
