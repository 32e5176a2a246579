#include "platform/Wildcard.h"

namespace qm::platform {

bool matchesWildcard(const QString& nameIn, const QString& patternIn, Qt::CaseSensitivity cs) {
  const QString name = cs == Qt::CaseSensitive ? nameIn : nameIn.toCaseFolded();
  const QString pattern = cs == Qt::CaseSensitive ? patternIn : patternIn.toCaseFolded();
  // Iterative matcher: remembers the last '*' and retries from there, so
  // patterns like "*a*a*a*b" cannot take exponential time.
  qsizetype ni = 0, pi = 0, star = -1, mark = 0;
  while (ni < name.size()) {
    if (pi < pattern.size() && (pattern[pi] == u'?' || pattern[pi] == name[ni])) {
      ++ni;
      ++pi;
    } else if (pi < pattern.size() && pattern[pi] == u'*') {
      star = pi++;
      mark = ni;
    } else if (star >= 0) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < pattern.size() && pattern[pi] == u'*') ++pi;
  return pi == pattern.size();
}

}  // namespace qm::platform
