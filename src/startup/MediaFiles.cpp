#include "startup/MediaFiles.h"

#include "distribution/RunFromCD.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/Windows1252.h"
#include "startup/FileProcedures.h"
#include "startup/Project.h"

namespace qm::startup {
namespace {

struct TypeCode {
  const char* ext;
  int code;
};

constexpr TypeCode kTypeCodes[] = {
    {".ico", 2},  {".cur", 3},  {".bmp", 4},  {".jpg", 5},  {".gif", 6},  {".wmf", 7},
    {".emf", 8},  {".wav", 10}, {".mid", 11}, {".mp3", 12}, {".avi", 14}, {".wma", 16},
    {".mpg", 20}, {".mpe", 24}, {".m1v", 26}, {".wmv", 28}, {".ogg", 31}, {".snd", 34},
    {".rmi", 36}, {".mpa", 38}, {".mp2", 40}, {".asf", 44},
};

}  // namespace

int storedMediaTypeCode(const QString& ext) {
  const QString e = ext.toLower();
  for (const TypeCode& t : kTypeCodes) {
    if (e == QLatin1String(t.ext)) return t.code;
  }
  return -1;
}

QString GetStoredMediaFileName(const QString& path, bool plainCode) {
  const QString title = GetFileTitle(path);
  if (title.size() < 5) return path;
  int16_t code = static_cast<int16_t>(storedMediaTypeCode(path.right(4)));
  if (code < 0) return path;
  if (!plainCode) {
    const auto charCode = [&title](int i) {
      return static_cast<int16_t>(platform::windows1252Code(title.at(i).toLower()));
    };
    const int16_t a1 = charCode(0), a2 = charCode(1), a3 = charCode(2);
    // 16-bit arithmetic throughout; 8-bit codes keep it far from overflowing.
    const int16_t v = static_cast<int16_t>(a1 * ((code % 3) + 1) - a2 + a3 * ((code % 2) + 1));
    code = static_cast<int16_t>((v < 0 ? -v : v) + code);
  }
  return path.left(path.size() - 4) + u'.' + QStringLiteral("%1").arg(int(code), 3, 10, QChar(u'0'));
}

void ShowMissingFileWarning(const QString& path) {
  platform::messageBox(InterfaceText(33) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n\r\n") +
                           InterfaceText(34),
                       platform::MsgButtons::OK, platform::MsgIcon::Warning, InterfaceText(29));
}

QString LocateMediaFile(const QString& path) {
  if (!SafeDir(path).isEmpty()) return path;
  QString result = path;
  if (path.size() >= 5) {
    const QString mixed = GetStoredMediaFileName(path, false);
    if (!SafeDir(mixed).isEmpty()) return mixed;
    const QString plain = GetStoredMediaFileName(path, true);
    if (!SafeDir(plain).isEmpty()) return plain;
    QString onDisc;
    try {
      onDisc = distribution::runFromCD().LocateOnCD(path);
    } catch (const std::exception&) {
      onDisc.clear();  // the disc could not be asked: warn about the path itself
    }
    if (!onDisc.isEmpty()) {
      if (!SafeDir(onDisc).isEmpty()) return onDisc;
      result = onDisc;
    }
  }
  if (SafeDir(result).isEmpty() && !GameStopped()) ShowMissingFileWarning(result);
  return result;
}

QString locatedMedia(const QString& folder, const QString& fileName) {
  const QString located = LocateMediaFile(folder + fileName);
  return platform::resolveExisting(located).value_or(located);
}

}  // namespace qm::startup
