// Look-ups in a big game folder whose names mix UTF-8, raw Windows-1252 and
// raw code page 437: the cost of the first listing and of each look-up.
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileResolver.h"
#include "platform/NativeName.h"
#include "platform/Windows1252.h"

using namespace qm::platform;

int main() {
  constexpr int kFiles = 3000;
  constexpr int kLookups = 30000;
  QTemporaryDir dir;
  if (!dir.isValid()) return 1;
  const QByteArray root = QFile::encodeName(dir.path()) + '/';
  QStringList wanted;  // the names as a data file gives them
  for (int i = 0; i < kFiles; ++i) {
    const QString name = QString::fromUtf8("Château_%1.bmp").arg(i);
    QByteArray bytes;
    switch (i % 3) {
      case 0: bytes = name.toUtf8(); break;
      case 1: bytes = toWindows1252(name); break;
      default: bytes = name.toLatin1().replace('\xE2', '\x83'); break;  // "â" in code page 437
    }
    const int fd = ::open((root + bytes).constData(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0) return 1;
    ::close(fd);
    wanted << name.toUpper();
  }
  const QString folder = nameFromBytes(root);
  QElapsedTimer t;
  t.start();
  if (!fileExists(folder + wanted[1])) return 1;
  const double firstMs = t.nsecsElapsed() / 1e6;
  t.restart();
  int found = 0;
  for (int i = 0; i < kLookups; ++i) found += fileExists(folder + wanted[(i * 7919) % kFiles]) ? 1 : 0;
  const double perLookupUs = t.nsecsElapsed() / 1e3 / kLookups;
  std::printf("folder of %d files (UTF-8, raw Windows-1252, raw code page 437)\n", kFiles);
  std::printf("first look-up (lists the folder): %.2f ms\n", firstMs);
  std::printf("case-insensitive look-ups: %.2f us each, %d of %d found\n", perLookupUs, found, kLookups);
  // Names that are not UTF-8 are removed by their bytes: the toolkit cannot name them.
  const QByteArray names = root;
  for (int i = 0; i < kFiles; ++i) {
    const QString name = QString::fromUtf8("Château_%1.bmp").arg(i);
    const QByteArray bytes = i % 3 == 0   ? name.toUtf8()
                             : i % 3 == 1 ? toWindows1252(name)
                                          : name.toLatin1().replace('\xE2', '\x83');
    ::unlink((names + bytes).constData());
  }
  return found == kLookups ? 0 : 1;
}
