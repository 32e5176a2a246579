#include "script/GlobalProcedures.h"

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/IniFile.h"
#include "platform/VbError.h"
#include "platform/Windows1252.h"
#include "script/Scrambling.h"
#include "startup/Project.h"

namespace qm::script {

namespace {

// Line-by-line reading as VB's Line Input does: a line ends at CR LF or CR (and,
// for files saved on other systems, at a lone LF); reading past the end fails.
class LineReader {
 public:
  explicit LineReader(const QByteArray& bytes) : bytes_(bytes) {
    end_ = bytes_.indexOf('\x1a');  // an end-of-file mark ends the data
    if (end_ < 0) end_ = bytes_.size();
  }
  bool atEnd() const { return pos_ >= end_; }
  QByteArray readLine() {
    if (atEnd()) throw VbError::inputPastEnd();
    qsizetype stop = pos_;
    while (stop < end_ && bytes_[stop] != '\r' && bytes_[stop] != '\n') ++stop;
    QByteArray line = bytes_.mid(pos_, stop - pos_);
    pos_ = stop;
    if (pos_ < end_ && bytes_[pos_] == '\r') ++pos_;
    if (pos_ < end_ && bytes_[pos_] == '\n') ++pos_;
    return line;
  }

 private:
  const QByteArray& bytes_;
  qsizetype pos_ = 0;
  qsizetype end_ = 0;
};

}  // namespace

QString ParseGlobalProcedures(const QByteArray& fileBytes, bool scrambled, int32_t keyNumber) {
  LineReader in(fileBytes);
  for (int i = 0; i < 3 && !in.atEnd(); ++i) in.readLine();
  QString text;
  bool first = true;
  do {
    QByteArray line = in.readLine();
    if (scrambled) line = UnscrambleProcedureLine(line, keyNumber);
    if (!first) text += "\r\n";
    text += platform::fromWindows1252(line);
    first = false;
  } while (!in.atEnd());
  return text;
}

QString LoadGlobalProcedures() {
  const auto& project = startup::project();
  try {
    const int32_t key = ProjectKeyNumber(platform::toWindows1252(project.info.projectName));
    const QString setting = platform::readIniValue(project.paths.config + "More", "General", "ProcEncr");
    const bool scrambled = setting.trimmed().toDouble() == 1.0;
    const QString file = project.paths.config + "Procedures";
    if (!platform::fileExists(file)) return {};
    return ParseGlobalProcedures(platform::readWholeFile(file), scrambled, key);
  } catch (const VbError&) {
    platform::messageBox("Error loading projet procedures.", platform::MsgButtons::OK, platform::MsgIcon::Critical,
                         "Error");
    return {};
  }
}

QString ComposeScriptText(const QString& globalProcedures, const QString& pluginsGlobalCode,
                          const QString& startupCode) {
  return globalProcedures + "\r\n" + pluginsGlobalCode + "\r\nSub StartupProcedure\r\n" + startupCode +
         "\r\nEnd Sub";
}

bool IsCreateObjectBlocked(const QString& scriptText, const QString& allowCreateObjectSetting) {
  return scriptText.contains("CreateObject(", Qt::CaseSensitive) && allowCreateObjectSetting != "1";
}

QString EmptyStartupProcedure() { return "Sub StartupProcedure\r\nEnd Sub"; }

}  // namespace qm::script
