// Text boxes of the current frame: captions with their own font and colour,
// read from the frame's text file (.mr1 when the frame was merged, else .fm1).
#include <functional>

#include "engine/Game.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

namespace {
// More than any editor ever wrote; stops a damaged file from loading forever.
constexpr int kMaxTextBoxes = 10000;

// Runs one statement of the loader; a failing statement is skipped.
template <class F>
void tryStatement(F&& statement) {
  try {
    statement();
  } catch (const VbError&) {
  } catch (const ControlArrayError&) {
  }
}
}  // namespace

void Game::ResetFrameTexts() {
  const int top = Text.UBound();
  for (int i = 1; i <= top; ++i) {
    try {
      if (Text.exists(i)) Text.Unload(i);
    } catch (const ControlArrayError&) {
    }
  }
}

void Game::LoadTexts() {
  const auto& paths = project().paths;
  const QString frame = project().frame.name;
  std::optional<startup::RecordReader> reader;
  try {
    const QString mr1 = paths.framesData + frame + QStringLiteral(".mr1");
    const QString fm1 = paths.framesData + frame + QStringLiteral(".fm1");
    const bool haveMr1 = platform::fileExists(mr1);
    if (!haveMr1 && !platform::fileExists(fm1)) return;
    state_.MergedTextIndex = 1;
    reader.emplace(platform::readWholeFile(haveMr1 ? mr1 : fm1), haveMr1 ? mr1 : fm1);
  } catch (const VbError& e) {
    if (!GameStopped()) {
      platform::messageBox(startup::InterfaceText(30) + QStringLiteral("\r\n\r\n") + startup::InterfaceText(31) +
                               QStringLiteral(" Error loading TextBoxes. ") + e.description,
                           platform::MsgButtons::OK, platform::MsgIcon::Critical, QStringLiteral("Error"));
    }
    return;
  }
  startup::RecordReader& r = *reader;

  // A field that fails to read leaves the value of
  // the previous record in place.
  int counter = 0;
  int16_t marker = 0;
  QString caption, fontName;
  double left = 0, top = 0, fontSize = 8.25;
  bool bold = false, italic = false, strike = false, underline = false;
  int32_t colour = 0;
  while (!r.atEnd()) {
    if (GameStopped()) return;
    const qsizetype startedAt = r.position();
    ++counter;
    const int n = Text.UBound() + 1;
    tryStatement([&] { r.skip(1); });
    tryStatement([&] { marker = r.readInt16(); });
    if (marker == 1 && counter != 1 && state_.MergedTextIndex == 1) state_.MergedTextIndex = n;
    tryStatement([&] { r.skip(8); });
    LabelControl* t = nullptr;
    tryStatement([&] {
      t = &Text.Load(n);
      t->hideControl();
      t->setAutoSize(true);
    });
    tryStatement([&] {
      caption = r.readString();
      if (caption.toLower() == QLatin1String("[empty]")) caption.clear();
      if (t) t->setCaption(caption);
    });
    tryStatement([&] {
      left = r.readDouble();
      if (t) t->setLeft(left);
    });
    tryStatement([&] {
      top = r.readDouble();
      if (t) t->setTop(top);
    });
    tryStatement([&] {
      bold = r.readBool();
      if (t) t->setFontBold(bold);
    });
    tryStatement([&] {
      italic = r.readBool();
      if (t) t->setFontItalic(italic);
    });
    tryStatement([&] {
      fontName = r.readString();
      if (t) t->setFontName(fontName.isEmpty() ? QStringLiteral("Arial") : fontName);
    });
    tryStatement([&] {
      fontSize = r.readDouble();
      if (t) t->setFontSize(fontSize);
    });
    tryStatement([&] {
      strike = r.readBool();
      if (t) t->setFontStrikethru(strike);
    });
    tryStatement([&] {
      underline = r.readBool();
      if (t) t->setFontUnderline(underline);
    });
    tryStatement([&] {
      colour = r.readInt32();
      if (t) t->setForeColor(colour);
    });
    if (t) {
      t->setVisibleVb(true);
      if (isVisible()) t->zOrder(0);
    }
    tryStatement([&] { r.skip(1); });
    // A damaged file whose fields cannot be read would otherwise never end.
    if (r.position() == startedAt || counter >= kMaxTextBoxes) break;
  }
}

}  // namespace qm::engine
