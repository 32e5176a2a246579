// Plugins: extensions made for the authoring editor that bring their own script
// code, variables and calls. Read from the plugin list in Config/ and one
// definition file (<name>.cp) per plugin in CPData/.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace qm::script {

struct PluginRecord {
  QString nameA;
  QString pluginName;
  bool compiled = false;
  bool secondFlag = false;
  QString textA;
  QString internalId;
  QString startCode;
  QString frameCode;
  QString globalCode;
  QStringList integerVariables;
  QStringList variantVariables;
  bool flagA = false;
  bool flagB = false;
  QString texts[5];  // text 3 (index 2): call from hotspot actions; text 5 (index 4): call from frames
  std::vector<QStringList> groupsOfFour;
  QStringList extraList;

  // 1: plain code scrambled with the mode-1 key; 2: compiled, mode-2 key; 0: plain.
  int codeMode() const;
};

// The loaded plugins, in the order of the plugin list.
std::vector<PluginRecord>& PluginTable();

// Fills the plugin table from Config/Plugins and the definition files.
// Failures end the loading with a message; the plugins read so far stay.
void LoadPlugins();

// Reads one definition file into a record (throws qm::VbError on malformed data;
// the record keeps what was read before the failure).
void ReadPluginDefinition(const QString& path, PluginRecord& record);

// Turns stored plugin calls (entries separated by character 164, parts by 165)
// into script statements.
QString BuildPluginCalls(const QString& storedCalls, bool fromHotspot);

// Component self-registration does not exist on this platform: reports False.
bool RegisterComponentFile(const QString& path);

// The plugins' global code, each followed by CR LF.
QString PluginsGlobalCode();
// The plugins' non-empty start code, each followed by CR LF.
QString PluginsStartCode();
// The plugins' non-empty per-frame code, each followed by CR LF.
QString PluginsFrameCode();

}  // namespace qm::script
