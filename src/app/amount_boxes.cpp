#include "amount_boxes.h"

#include <QLineEdit>

namespace amount_boxes {

std::optional<QString> problem(const QString& text) {
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

qint64 addUpAndRewrite(const std::vector<QLineEdit*>& boxes) {
    qint64 total = 0;
    for (QLineEdit* box : boxes) {
        const money::Amount amount = money::read(box->text());
        const qint64 cents = amount.status == money::Status::Number ? amount.cents : 0;
        total += cents;
        box->setText(cents != 0 ? money::standard(cents) : QString());
    }
    return total;
}

} // namespace amount_boxes
