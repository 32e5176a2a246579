#include "startup/FrameHeader.h"

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::startup {

void ClearFrameHeader() { project().frame = FrameHeader{}; }

bool ReadFrameHeader(const QString& frameName) {
  FrameHeader& h = project().frame;
  h.name = frameName;
  h.extraName.clear();
  try {
    RecordReader in = RecordReader::fromFile(project().paths.frames + frameName + QStringLiteral(".fme"));
    h.backgroundType = in.readInt16();
    h.backgroundPicture = in.readString();
    h.tile = in.readBool();
  } catch (const VbError& e) {
    ShowStandardErrorReport(QStringLiteral(" Unable to load the frame called '") + frameName +
                            QStringLiteral("'. ") + e.description);
    // The count still comes from this frame's own file, never from the frame before.
    h.hotspotCount = ReadHotspotsCount(frameName);
    return false;
  }
  h.hotspotCount = ReadHotspotsCount(frameName);
  return true;
}

int16_t ReadHotspotsCount(const QString& frameName) {
  const QString file = project().paths.frames + frameName + QStringLiteral(".lks");
  if (!platform::fileExists(file)) return 0;
  try {
    RecordReader in = RecordReader::fromFile(file);
    return in.readAny().toInt16();
  } catch (const VbError& e) {
    platform::messageBox(QStringLiteral("Error reading the hotspots count from the file \"") + file +
                             QStringLiteral("\".\r\n\r\n") + e.description,
                         platform::MsgButtons::OK, platform::MsgIcon::Warning, QStringLiteral("Error"));
    return 0;
  }
}

}  // namespace qm::startup
