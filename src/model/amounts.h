#pragma once

#include "money/money.h"

#include <QString>

#include <optional>

// What the statement and the calculators do alike with an amount a box holds.
namespace amounts {

// The message for a box whose text cannot count as an amount, or nothing when it can (an
// empty box counts as zero).
std::optional<QString> problem(const money::Amount& amount);

// The cents an amount counts: nothing for an empty box or one that cannot count.
inline qint64 counted(const money::Amount& amount)
{
    return amount.status == money::Status::Number ? amount.cents : 0;
}

// The standard form of what the box counts, or "" for zero, so that every box shows exactly
// what it counted.
QString rewritten(const money::Amount& amount, const QLocale& locale = QLocale());

} // namespace amounts
