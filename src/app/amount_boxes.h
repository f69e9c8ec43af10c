#pragma once

#include "money/money.h"

#include <QString>

#include <optional>
#include <vector>

class QLineEdit;

// What the statement and the calculators do alike with a column of amount boxes.
namespace amount_boxes {

// The message for a box whose text cannot count as an amount, or nothing when it can
// (an empty box counts as zero).
std::optional<QString> problem(const QString& text);

// The sum of the amounts in the boxes. Every box is expected to pass the check above; one
// that does not counts zero.
qint64 total(const std::vector<QLineEdit*>& boxes);

// Rewrites each box as the standard form of its amount, or empties it when the amount is
// zero, so that every box shows exactly what it counted.
void rewrite(const std::vector<QLineEdit*>& boxes);

// Both of the above.
qint64 addUpAndRewrite(const std::vector<QLineEdit*>& boxes);

// Selects the whole text of every box, so that typing into the one entered replaces it.
void selectAll(const std::vector<QLineEdit*>& boxes);

} // namespace amount_boxes
