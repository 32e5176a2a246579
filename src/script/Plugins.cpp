#include "script/Plugins.h"

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "platform/Windows1252.h"
#include "script/Scrambling.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/ErrorReport.h"

namespace qm::script {

namespace {

const QChar kQuoteSubstitute = platform::windows1252Char(254);
const QChar kCallSeparator = platform::windows1252Char(164);
const QChar kPartSeparator = platform::windows1252Char(165);

QString char254ToQuote(QString text) { return text.replace(kQuoteSubstitute, QChar('"')); }

// Code fields: character 254 becomes a quote, then the text is unscrambled by mode.
QString decodeCode(const startup::RecordField& field, int codeMode) {
  const QString text = char254ToQuote(field.toString());
  if (codeMode == 0 || text.isEmpty()) return text;
  const int32_t key = codeMode == 1 ? kPluginKeyMode1 : kPluginKeyMode2;
  return platform::fromWindows1252(UnscramblePluginCode(platform::toWindows1252(text), key));
}

QStringList readNames(startup::RecordReader& in, int count) {
  QStringList names;
  for (int i = 0; i < count; ++i) names << in.readAny().toString();
  return names;
}

void reportLoadFailure(const QString& description) {
  if (startup::project().running) {
    startup::ShowStandardErrorReport(" Error loading plugins. " + description);
  } else {
    platform::messageBox("Error loading plugins.\r\n\r\n" + description, platform::MsgButtons::OK,
                         platform::MsgIcon::Warning, "Error");
  }
}

}  // namespace

int PluginRecord::codeMode() const {
  if (!compiled && secondFlag) return 1;
  if (compiled && !secondFlag) return 2;
  return 0;
}

std::vector<PluginRecord>& PluginTable() {
  static std::vector<PluginRecord> table;
  return table;
}

void ReadPluginDefinition(const QString& path, PluginRecord& record) {
  auto in = startup::RecordReader::fromFile(path);
  in.readInt16();  // format version, not checked
  in.skip(7);
  record.compiled = in.readBool();
  record.secondFlag = in.readBool();
  record.nameA = in.readString();
  record.pluginName = in.readString();
  record.textA = char254ToQuote(in.readAny().toString());
  record.internalId = in.readAny().toString();
  const int mode = record.codeMode();
  record.startCode = decodeCode(in.readAny(), mode);
  record.frameCode = decodeCode(in.readAny(), mode);
  record.globalCode = decodeCode(in.readAny(), mode);
  record.integerVariables = readNames(in, in.readInt16());
  record.variantVariables = readNames(in, in.readInt16());
  record.flagA = in.readAny().toBool();
  record.flagB = in.readAny().toBool();
  for (QString& text : record.texts) text = char254ToQuote(in.readAny().toString());
  const int groups = in.readInt16();
  for (int g = 0; g < groups; ++g) record.groupsOfFour.push_back(readNames(in, 4));
  record.extraList = readNames(in, in.readInt16());
}

void LoadPlugins() {
  auto& table = PluginTable();
  table.clear();
  const auto& paths = startup::project().paths;
  try {
    QStringList names;
    const QString listFile = paths.config + "Plugins";
    if (platform::fileExists(listFile)) {
      auto in = startup::RecordReader::fromFile(listFile);
      in.skip(10);
      while (!in.atEnd()) {
        const QString name = in.readString();
        bool seen = false;
        for (const QString& earlier : names) seen = seen || earlier.compare(name, Qt::CaseInsensitive) == 0;
        if (!seen) names << name;
      }
    }
    for (const QString& name : names) {
      const QString file = paths.plugins + name + ".cp";
      if (name.isEmpty() || !platform::fileExists(file)) continue;  // a missing plugin is skipped
      table.emplace_back();
      ReadPluginDefinition(file, table.back());
    }
  } catch (const VbError& e) {
    reportLoadFailure(e.description);
  }
}

QString BuildPluginCalls(const QString& storedCalls, bool fromHotspot) {
  const QStringList entries = storedCalls.split(kCallSeparator);
  QString result;
  bool any = false;
  for (qsizetype e = 1; e < entries.size(); ++e) {  // the part before the first separator is ignored
    const QStringList parts = entries[e].split(kPartSeparator);
    const PluginRecord* plugin = nullptr;
    for (const PluginRecord& p : PluginTable()) {
      if (p.internalId == parts[0]) plugin = &p;  // the last one wins
    }
    QString yield;
    if (plugin) {
      yield = plugin->texts[fromHotspot ? 2 : 4] + ' ';
      for (qsizetype a = 1; a < parts.size(); ++a) {
        if (a > 1) yield += ',';
        yield += '"' + parts[a] + '"';
      }
    }
    if (!any) {
      result = yield;
      any = !yield.isEmpty();
    } else {
      result += "\r\n" + yield;
    }
  }
  return result;
}

bool RegisterComponentFile(const QString& path) {
  // ActiveX component servers cannot be registered here; a missing file is the
  // only thing worth telling apart, and both answers are False.
  (void)path;
  return false;
}

QString PluginsGlobalCode() {
  QString code;
  for (const PluginRecord& p : PluginTable()) code += p.globalCode + "\r\n";
  return code;
}

QString PluginsStartCode() {
  QString code;
  for (const PluginRecord& p : PluginTable()) {
    if (!p.startCode.isEmpty()) code += p.startCode + "\r\n";
  }
  return code;
}

QString PluginsFrameCode() {
  QString code;
  for (const PluginRecord& p : PluginTable()) {
    if (!p.frameCode.isEmpty()) code += p.frameCode + "\r\n";
  }
  return code;
}

}  // namespace qm::script
