#include "amounts.h"

namespace amounts {

std::optional<QString> problem(const money::Amount& amount)
{
    switch (amount.status) {
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

QString rewritten(const money::Amount& amount, const QLocale& locale)
{
    const qint64 cents = counted(amount);
    return cents != 0 ? money::standard(cents, locale) : QString();
}

} // namespace amounts
