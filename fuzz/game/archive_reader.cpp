// Feeds arbitrary bytes to the archive reader as a downloaded game's archive:
// it must read it within the limits, or refuse it with a reason; never crash,
// loop or read past its input. Seeds: small zip, tar.gz, 7z and hostile tar
// archives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "distribution/ArchiveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Small limits: a bomb is refused early, and a run stays fast.
  qm::distribution::ArchiveLimits limits;
  limits.maxUnpackedBytes = 16u << 20;
  limits.maxEntries = 1000;
  const qm::distribution::ArchiveOutcome out = qm::distribution::scanArchive(data, size, limits);
  if (out.ok != out.error.empty()) std::abort();
  if (out.bytes > limits.maxUnpackedBytes || out.entries > limits.maxEntries + 1) std::abort();
  return 0;
}
