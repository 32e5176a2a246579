// Feeds arbitrary bytes to the saved-game reader: it must give the fields or
// throw a VbError, never crash or loop; a file it reads whole writes back to
// bytes that read the same (texts as the file keeps them).
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "logic/SavedGameFile.h"
#include "platform/VbError.h"

namespace {

using qm::logic::savedGameText;

QStringList kept(const QStringList& texts) {
  QStringList out;
  for (const QString& t : texts) out << savedGameText(t);
  return out;
}

template <typename Pairs>
bool samePairs(const Pairs& written, const Pairs& read) {
  if (written.size() != read.size()) return false;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (savedGameText(written[i].first) != read[i].first || written[i].second != read[i].second) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString failure;
  const qm::logic::SavedGameData d = qm::logic::readSavedGame(bytes, &failure);
  (void)qm::logic::savedGameFrame(bytes);
  if (!failure.isNull()) return 0;
  try {
    const QByteArray again = qm::logic::writeSavedGame(d);
    const qm::logic::SavedGameData back = qm::logic::readSavedGame(again);
    if (back.resumeFrame != savedGameText(d.resumeFrame)) std::abort();
    if (!samePairs(d.integers, back.integers) || !samePairs(d.disappeared, back.disappeared)) std::abort();
    if (back.items != kept(d.items)) std::abort();
    if (d.history.has_value() != back.history.has_value()) std::abort();
    if (d.history && *back.history != kept(*d.history)) std::abort();
    if (d.variants.has_value() != back.variants.has_value()) std::abort();
    if (d.variants && back.variants->size() != d.variants->size()) std::abort();
  } catch (const qm::VbError&) {
  }
  return 0;
}
