#include "amount_boxes.h"

#include <QLineEdit>

namespace amount_boxes {

std::optional<QString> problem(const QString& text)
{
    switch (money::read(text).status) {
    case money::Status::Empty:
    case money::Status::Number:
        return std::nullopt;
    case money::Status::TooLarge:
        return QStringLiteral("Amount is too large, please correct this.");
    case money::Status::NotANumber:
        break;
    }
    return QStringLiteral("Input is not a number, please correct this.");
}

namespace {
qint64 centsOf(const QLineEdit* box)
{
    const money::Amount amount = money::read(box->text());
    return amount.status == money::Status::Number ? amount.cents : 0;
}
} // namespace

qint64 total(const std::vector<QLineEdit*>& boxes)
{
    qint64 sum = 0;
    for (const QLineEdit* box : boxes)
        sum += centsOf(box);
    return sum;
}

void rewrite(const std::vector<QLineEdit*>& boxes)
{
    for (QLineEdit* box : boxes) {
        const qint64 cents = centsOf(box);
        box->setText(cents != 0 ? money::standard(cents) : QString());
    }
}

qint64 addUpAndRewrite(const std::vector<QLineEdit*>& boxes)
{
    const qint64 sum = total(boxes);
    rewrite(boxes);
    return sum;
}

void selectAll(const std::vector<QLineEdit*>& boxes)
{
    for (QLineEdit* box : boxes)
        box->setSelection(0, int(box->text().size()));
}

} // namespace amount_boxes
