#pragma once

#include "money.h"

#include <QString>

#include <optional>
#include <vector>

class QLineEdit;

// What the statement and the calculators do alike with a column of amount boxes.
namespace amount_boxes {

// The message for a box whose text cannot count as an amount, or nothing when it can
// (an empty box counts as zero).
std::optional<QString> problem(const QString& text);

// Adds up the boxes and rewrites each one: the standard form of its amount, or empty when
// the amount is zero. Every box is expected to pass the check above; one that does not
// counts zero and is emptied.
qint64 addUpAndRewrite(const std::vector<QLineEdit*>& boxes);

} // namespace amount_boxes
