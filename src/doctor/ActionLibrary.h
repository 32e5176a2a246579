// The number of arguments each member of the action library takes, where the
// player refuses any other number ("Wrong number of arguments", error 450).
#pragma once

#include <QString>
#include <optional>

namespace qm::doctor {

struct ArgumentRange {
  int least = 0;
  int most = 0;
};

// nullopt for names that are not such a member (the name's case is ignored).
std::optional<ArgumentRange> actionMemberArguments(const QString& name);

}  // namespace qm::doctor
