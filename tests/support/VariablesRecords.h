#pragma once
// Writes the project's "Variables" file for tests.

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace qm::testing {

// A header field, the integer names, then "***" and the variant names (the
// marker only when variants is given).
QByteArray variablesFileBytes(const QStringList& integers, const std::optional<QStringList>& variants = std::nullopt);

}  // namespace qm::testing
