#include "distribution/CdDrives.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <map>

#include "startup/Settings.h"
#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"

namespace qm::distribution {

namespace {

constexpr char16_t kFirstLetter = u'D';
constexpr char16_t kLastLetter = u'Z';

QString rememberedKey(QChar letter) { return QStringLiteral("DriveFolder") + letter; }

// Mount tables write blanks, tabs, line ends and backslashes as \ooo.
QString unescapeMountField(const QByteArray& field) {
  QByteArray out;
  for (int i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const QByteArray octal = field.mid(i + 1, 3);
      bool ok = octal.size() == 3;
      for (char c : octal) ok = ok && c >= '0' && c <= '7';
      if (ok) {
        out += static_cast<char>(octal.toInt(nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return QString::fromUtf8(out);
}

bool under(const QString& path, const QString& place) {
  return path.startsWith(place + QLatin1Char('/')) && path.size() > place.size() + 1;
}

int kindOfFileSystem(const QString& type, bool removablePlace) {
  if (type == QLatin1String("iso9660") || type == QLatin1String("udf")) return kOptical;
  if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs")) return kRamDisk;
  if (type.startsWith(QLatin1String("nfs")) || type == QLatin1String("cifs") || type == QLatin1String("smb3") ||
      type == QLatin1String("smbfs") || type.contains(QLatin1String("sshfs")) || type == QLatin1String("9p"))
    return kNetwork;
  if (removablePlace && (type == QLatin1String("vfat") || type == QLatin1String("exfat") ||
                         type == QLatin1String("msdos") || type == QLatin1String("fuseblk") ||
                         type == QLatin1String("ntfs") || type == QLatin1String("ntfs3")))
    return kRemovable;
  return kFixed;
}

QString canonical(const QString& folder) {
  // By the bytes of its name: a copied disc's folder may be named in a code page.
  return platform::realPathOf(folder);
}

}  // namespace

std::vector<MountedVolume> ParseMountTable(const QByteArray& table, const QString& userName) {
  std::vector<MountedVolume> optical, others;
  for (const QByteArray& line : table.split('\n')) {
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() < 3) continue;
    const QString root = unescapeMountField(f[1]);
    const QString type = QString::fromUtf8(f[2]);
    if (!root.startsWith(QLatin1Char('/'))) continue;
    const bool removablePlace =
        under(root, QStringLiteral("/media")) ||
        (!userName.isEmpty() && under(root, QStringLiteral("/run/media/") + userName));
    const bool mountPlace = removablePlace || root == QLatin1String("/mnt") || under(root, QStringLiteral("/mnt"));
    const int kind = kindOfFileSystem(type, removablePlace);
    if (kind == kOptical) optical.push_back({root, kind});
    else if (mountPlace) others.push_back({root, kind});
  }
  auto byRoot = [](const MountedVolume& a, const MountedVolume& b) { return a.root < b.root; };
  std::stable_sort(optical.begin(), optical.end(), byRoot);
  std::stable_sort(others.begin(), others.end(), byRoot);
  optical.insert(optical.end(), others.begin(), others.end());
  return optical;
}

std::vector<DriveVolume> CdDrives::volumes() const {
  std::map<char16_t, DriveVolume> byLetter;
  // Folders picked earlier keep their letters.
  for (char16_t l = kFirstLetter; l <= kLastLetter; ++l) {
    const QString folder = startup::LoadSetting(rememberedKey(QChar(l)));
    if (!folder.isEmpty()) byLetter[l] = DriveVolume{QChar(l), folder, kFolder};
  }
  auto known = [&byLetter](const QString& root) {
    const QString c = canonical(root);
    for (const auto& [l, v] : byLetter)
      if (canonical(v.root) == c) return true;
    return false;
  };
  auto place = [&byLetter, &known](const QString& root, int kind) {
    if (known(root)) return;
    for (char16_t l = kFirstLetter; l <= kLastLetter; ++l) {
      if (byLetter.count(l)) continue;
      byLetter[l] = DriveVolume{QChar(l), root, kind};
      return;
    }
  };
  QFile file(mountTable_);
  if (file.open(QIODevice::ReadOnly)) {
    for (const MountedVolume& m : ParseMountTable(file.readAll(), qEnvironmentVariable("USER")))
      if (platform::isFolderAt(m.root)) place(m.root, m.kind);
  }
  for (const QString& g : given_) place(canonical(g), kFolder);
  std::vector<DriveVolume> out;
  for (const auto& [l, v] : byLetter) out.push_back(v);
  return out;
}

std::optional<DriveVolume> CdDrives::volume(QChar letter) const {
  const QChar upper = letter.toUpper();
  for (const DriveVolume& v : volumes())
    if (v.letter == upper) return v;
  return std::nullopt;
}

QChar CdDrives::givenFolderLetter(int cdNumber) const {
  if (cdNumber < 1 || cdNumber > given_.size()) return {};
  const QString wanted = canonical(given_[cdNumber - 1]);
  for (const DriveVolume& v : volumes())
    if (canonical(v.root) == wanted) return v.letter;
  return {};
}

QChar CdDrives::rememberFolder(const QString& folder) {
  if (!platform::isFolderAt(folder)) return {};
  const QString root = canonical(folder);
  std::vector<DriveVolume> all = volumes();
  for (const DriveVolume& v : all)
    if (v.kind == kFolder && canonical(v.root) == root &&
        !startup::LoadSetting(rememberedKey(v.letter)).isEmpty())
      return v.letter;
  for (char16_t l = kFirstLetter; l <= kLastLetter; ++l) {
    const bool taken = std::any_of(all.begin(), all.end(), [l](const DriveVolume& v) { return v.letter == QChar(l); });
    if (taken) continue;
    startup::SaveSetting(rememberedKey(QChar(l)), root);
    return QChar(l);
  }
  return {};
}

QString CdDrives::DetectCdRomDrive() const {
  QString letter = QStringLiteral("d");
  for (const DriveVolume& v : volumes())
    if (v.kind == kOptical) letter = v.letter.toLower();  // the last one wins
  return letter;
}

QString CdDrives::kindText(int kind) {
  switch (kind) {
    case kRemovable: return QStringLiteral("(Floppy Drive)");
    case kFixed: return QStringLiteral("(Hard Drive)");
    case kNetwork: return QStringLiteral("(Network Drive)");
    case kOptical: return QStringLiteral("(CD-Rom Drive)");
    case kRamDisk: return QStringLiteral("(RAM Disk)");
    default: return QStringLiteral("(Folder)");
  }
}

}  // namespace qm::distribution
