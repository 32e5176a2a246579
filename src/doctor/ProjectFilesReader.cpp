// The game-wide files of Config and the welcome scheme.
#include <QDir>

#include "doctor/DataFile.h"
#include "doctor/GameFacts.h"
#include "doctor/Readers.h"
#include "logic/VariableStore.h"
#include "platform/FileResolver.h"
#include "platform/IniDocument.h"
#include "platform/IniFile.h"
#include "platform/Windows1252.h"
#include "script/GlobalProcedures.h"
#include "script/Plugins.h"
#include "script/Scrambling.h"
#include "startup/InterfaceTexts.h"
#include "startup/ProjectInformationFile.h"
#include "startup/RecordReader.h"
#include "startup/SchemeDescription.h"
#include "startup/Settings.h"

namespace qm::doctor {
namespace {

using startup::RecordReader;

void readGeneral(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("General"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  try {
    startup::ReadProjectInformationFields(in, facts.info);
    facts.informationRead = true;
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the project information"), e);
  }
  const QString initial = facts.info.initialFrame;
  if (initial.trimmed().isEmpty()) {
    findings.error(Place{file->relative, 0, 0, QStringLiteral("initial frame")}, QStringLiteral("no-initial-frame"),
                   QStringLiteral("the game names no initial frame"));
  } else {
    FrameReference ref;
    ref.at = Place{file->relative, 0, 0, QStringLiteral("initial frame")};
    ref.target = initial;
    facts.frameReferences.push_back(ref);
  }
  auto pointer = [&](const QString& name, const QString& field, const QString& folder, MediaKind kind) {
    if (name.isEmpty() || name.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0) return;
    facts.files.push_back(NamedFile{Place{file->relative, 0, 0, field}, folder + name, name, kind});
  };
  pointer(facts.info.defaultMousePointer, QStringLiteral("default mouse pointer"), facts.paths.icons, MediaKind::Pointer);
  if (facts.info.inventoryBarOn) {
    pointer(facts.info.inventoryPicture1, QStringLiteral("inventory picture 1"), facts.paths.inventory,
            MediaKind::Picture);
    pointer(facts.info.inventoryPicture2, QStringLiteral("inventory picture 2"), facts.paths.inventory,
            MediaKind::Picture);
  }
  const Place startAt{file->relative, 0, 0, QStringLiteral("start-up code")};
  if (facts.info.runStartupProcedure && !facts.info.startupProcedureName.isEmpty())
    facts.scripts.push_back(ScriptPiece{startAt, {}, facts.info.startupProcedureName, false});
  const Place frameAt{file->relative, 0, 0, QStringLiteral("code of every frame")};
  if (facts.info.runFrameProcedure && !facts.info.frameProcedureName.isEmpty())
    facts.scripts.push_back(ScriptPiece{frameAt, {}, facts.info.frameProcedureName, false});
}

// Mode 0 and 1 are the built-in wordings; mode 2 adds up to 60 texts of the game.
void readTexts(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("Texts"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  try {
    const int16_t mode = in.readInt16();
    if (mode == 2) {
      in.skip(5);
      const int32_t count = in.readInt32();
      if (count > startup::InterfaceTexts::kMaxIndex) {
        findings.error(file->stoppedAt(in, 0, 0, QStringLiteral("text count")), QStringLiteral("unparsable-file"),
                       QStringLiteral("the interface texts name %1 texts; there are at most %2")
                           .arg(count)
                           .arg(startup::InterfaceTexts::kMaxIndex));
        return;
      }
      for (int32_t i = 1; i <= count; ++i) in.readString();
    } else if (mode != 0 && mode != 1) {
      findings.warning(Place{file->relative, 1, 0, QStringLiteral("mode")}, QStringLiteral("unknown-texts-mode"),
                       QStringLiteral("the interface texts have mode %1, which sets no texts").arg(mode));
    }
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the interface texts"), e);
  }
}

void readMore(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("More"));
  if (!file) return;
  const auto ini = platform::IniDocument::parse(platform::fromWindows1252(file->bytes));
  facts.allowCreateObject = ini.value(QStringLiteral("General"), QStringLiteral("AllowCreateObject")) ==
                            QStringLiteral("1");
  const auto timeout = ini.value(QStringLiteral("General"), QStringLiteral("ScriptTimeOut"));
  if (timeout && !timeout->trimmed().isEmpty() && startup::vbVal(*timeout) < 0)
    findings.warning(Place{file->relative, 0, 0, QStringLiteral("ScriptTimeOut")}, QStringLiteral("bad-setting"),
                     QStringLiteral("the script time-out \"%1\" is negative").arg(*timeout));
}

std::vector<script::PluginRecord> readPlugins(GameFacts& facts, Findings& findings) {
  std::vector<script::PluginRecord> plugins;
  const auto list = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("Plugins"));
  if (!list) return plugins;
  QStringList names;
  RecordReader in(list->bytes, list->path);
  try {
    in.skip(10);
    while (!in.atEnd()) {
      const QString name = in.readString();
      if (!names.contains(name, Qt::CaseInsensitive)) names << name;
    }
  } catch (const VbError& e) {
    reportUnparsable(findings, list->stoppedAt(in, 0, 0), QStringLiteral("the plugin list"), e);
  }
  for (const QString& name : names) {
    if (name.isEmpty()) continue;
    const QString path = facts.paths.plugins + name + QStringLiteral(".cp");
    const auto file = loadDataFile(facts, findings, path);
    if (!file) {
      findings.warning(Place{list->relative, 0, 0, name}, QStringLiteral("missing-plugin"),
                       QStringLiteral("the plugin \"%1\" has no definition file CPData/%1.cp; it is left out")
                           .arg(name));
      continue;
    }
    script::PluginRecord record;
    RecordReader def(file->bytes, file->path);
    try {
      script::ReadPluginDefinition(def, record);
    } catch (const VbError& e) {
      reportUnparsable(findings, file->stoppedAt(def, 0, 0), QStringLiteral("the plugin definition"), e);
      // The plugin loading stops here, as the player's does.
      break;
    }
    const Place at{file->relative, 0, 0, {}};
    auto code = [&](const QString& text, const QString& field, bool whole) {
      if (text.trimmed().isEmpty()) return;
      Place p = at;
      p.field = field;
      facts.scripts.push_back(ScriptPiece{p, {}, text, whole});
    };
    code(record.globalCode, QStringLiteral("global code"), true);
    code(record.startCode, QStringLiteral("start code"), false);
    code(record.frameCode, QStringLiteral("frame code"), false);
    plugins.push_back(std::move(record));
  }
  return plugins;
}

void readVariables(GameFacts& facts, Findings& findings, const std::vector<script::PluginRecord>& plugins) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("Variables"));
  std::vector<logic::PluginVariableNames> declared;
  for (const auto& p : plugins) declared.push_back({p.integerVariables, p.variantVariables});
  logic::VariableStore store;
  if (file) {
    RecordReader in(file->bytes, file->path);
    try {
      store.loadVariablesFrom(in, declared);
    } catch (const VbError& e) {
      reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the variables list"), e);
    }
  } else {
    store.loadVariablesFrom(QByteArray("\"\""), declared);
  }
  facts.variablesRead = true;
  for (const auto& v : store.Variables) facts.integerVariables << v.Name;
  for (const auto& v : store.VariablesVariant) facts.variantVariables << v.Name;
}

void readProcedures(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("Procedures"));
  if (!file) return;
  const bool scrambled = startup::vbVal(platform::readIniValue(facts.paths.config + QStringLiteral("More"),
                                                               QStringLiteral("General"), QStringLiteral("ProcEncr"))) == 1;
  const int32_t key = script::ProjectKeyNumber(platform::toWindows1252(facts.info.projectName));
  try {
    const QString code = script::ParseGlobalProcedures(file->bytes, scrambled, key);
    // Three header lines come before the code.
    facts.scripts.push_back(ScriptPiece{Place{file->relative, 4, 0, {}}, {}, code, true});
  } catch (const VbError& e) {
    Place at{file->relative, 0, 0, {}};
    reportUnparsable(findings, at, scrambled ? QStringLiteral("the scrambled global procedures")
                                             : QStringLiteral("the global procedures"), e);
  }
}

// Pairs of frame names after six header fields: a game saved in the first
// frame resumes in the second.
void readResume(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("Resume"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  int record = 0;
  try {
    in.skip(6);
    while (!in.atEnd()) {
      ++record;
      const QString frame = in.readString();
      const int line = file->lineAt(in.fieldStart());
      const QString target = in.readString();
      // A game saved in `frame` goes on in `target`: the way there starts at `frame`.
      auto refer = [&](const QString& name, const QString& field, const QString& from, bool leads) {
        if (name.isEmpty()) return;
        FrameReference ref;
        ref.at = Place{file->relative, line, record, field};
        ref.fromFrame = from;
        ref.target = name;
        ref.leadsThere = leads;
        facts.frameReferences.push_back(ref);
      };
      refer(frame, QStringLiteral("saved frame"), {}, false);
      refer(target, QStringLiteral("resume frame"), frame, true);
    }
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, record), QStringLiteral("the resume table"), e);
  }
}

void readCdIndex(GameFacts& facts, Findings& findings) {
  const auto file = loadDataFile(facts, findings, facts.paths.config + QStringLiteral("CDContents"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  try {
    facts.cdIndex = distribution::ReadCdIndex(in);
    facts.hasCdIndex = true;
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the CD index"), e);
  }
}

void readScheme(GameFacts& facts, Findings& findings) {
  const QString name = facts.info.schemeName;
  if (name.trimmed().isEmpty()) return;
  const QString folder = startup::SchemeFolder(facts.paths.schemes, name);
  const QString descriptionPath = folder + QStringLiteral("Scheme.txt");
  const Place general{facts.relative(facts.paths.config + QStringLiteral("General")), 0, 0, QStringLiteral("scheme")};
  if (!platform::fileExists(descriptionPath)) {
    findings.warning(general, QStringLiteral("missing-scheme"),
                     QStringLiteral("the welcome scheme \"%1\" has no Schemes/%1/Scheme.txt; the plain welcome window shows")
                         .arg(name));
    return;
  }
  ++facts.filesRead;
  const startup::SchemeDescription scheme = startup::ReadSchemeDescription(folder);
  const Place at{facts.relative(descriptionPath), 0, 0, {}};
  if (scheme.pictureCount == 0)
    findings.warning(at, QStringLiteral("unusable-scheme"),
                     QStringLiteral("the welcome scheme names no pictures, so it is not used"));
  static const char* const kSlots[] = {"start button", "load button", "exit button", "background"};
  for (size_t i = 0; i < scheme.pictures.size(); ++i) {
    if (scheme.pictures[i].isEmpty()) continue;
    Place p = at;
    p.field = QString::fromLatin1(kSlots[i < 4 ? i : 3]);
    facts.files.push_back(NamedFile{p, folder + scheme.pictures[i], scheme.pictures[i], MediaKind::Picture});
  }
}

void listFrames(GameFacts& facts) {
  for (const QString& entry : platform::listFolder(facts.paths.frames)) {
    if (!entry.endsWith(QLatin1String(".fme"), Qt::CaseInsensitive)) continue;
    const QString name = entry.left(entry.size() - 4);
    if (name.isEmpty() || facts.frames.contains(name.toLower())) continue;
    if (!platform::fileExists(facts.paths.frames + entry)) continue;
    facts.frames.insert(name.toLower(), name);
    facts.frameOrder << name;
  }
}

}  // namespace

void readProjectFiles(GameFacts& facts, Findings& findings) {
  readGeneral(facts, findings);
  readTexts(facts, findings);
  readMore(facts, findings);
  const auto plugins = readPlugins(facts, findings);
  // Plugin calls stored in frames and actions are built from the plugin table.
  script::PluginTable() = plugins;
  readVariables(facts, findings, plugins);
  readProcedures(facts, findings);
  readResume(facts, findings);
  readCdIndex(facts, findings);
  readScheme(facts, findings);
  listFrames(facts);
}

}  // namespace qm::doctor
