#include "doctor/GameFacts.h"

#include "platform/FileResolver.h"

namespace qm::doctor {

QString GameFacts::relative(const QString& path) const {
  QString native = platform::toNativeSeparators(path);
  // The name as it is on disk when the file exists, as written otherwise.
  if (const auto real = platform::resolveExisting(path)) native = *real;
  const QString root = platform::toNativeSeparators(paths.project);
  const auto rootReal = platform::resolveExisting(paths.project);
  for (const QString& prefix : {rootReal ? *rootReal + u'/' : QString(), root}) {
    if (!prefix.isEmpty() && native.startsWith(prefix)) return native.mid(prefix.size());
  }
  return native;
}

}  // namespace qm::doctor
