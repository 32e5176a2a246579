#include "startup/InterfaceTexts.h"

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::startup {

QString InterfaceTexts::text(int index) const {
  if (index < 0 || index > kMaxIndex) return {};
  return texts_[static_cast<size_t>(index)];
}

void InterfaceTexts::set(int index, QString value) {
  if (index < 0 || index > kMaxIndex) return;
  texts_[static_cast<size_t>(index)] = std::move(value);
}

void InterfaceTexts::clear() {
  for (QString& t : texts_) t.clear();
}

void SetDefaultInterfaceTexts(bool gameWording) {
  InterfaceTexts& t = project().texts;
  const auto pick = [gameWording](const char* program, const char* game) {
    return QString::fromUtf8(gameWording ? game : program);
  };
  t.set(1, pick("Start", "Start New Game"));
  t.set(2, pick("  Load...", "Load Game..."));
  t.set(3, QStringLiteral("Exit"));
  t.set(4, QStringLiteral("Created By:"));
  t.set(5, QStringLiteral("E-mail:"));
  t.set(6, QStringLiteral("Web site:"));
  t.set(7, QStringLiteral("Change display resolution to"));
  t.set(8, pick("  Save...", "Save Game..."));
  t.set(9, QStringLiteral("Please select something."));
  t.set(10, QStringLiteral("Do you really want to quit?"));
  t.set(11, QStringLiteral("Cancel"));
  t.set(12, QStringLiteral("Exit"));
  t.set(13, QStringLiteral("Do you want to open the default mail client to send an e-mail to:"));
  t.set(14, QStringLiteral("Do you want to visit"));
  t.set(15, QStringLiteral("(You must be connected to the Internet)"));
  t.set(16, QString());
  t.set(17, pick("Load", "Load a previously saved game"));
  t.set(18, pick("Select the file you wish to load and click 'LOAD'",
                 "Select the game you wish to load and click 'LOAD'"));
  t.set(19, QStringLiteral("LOAD"));
  t.set(20, QString());
  t.set(21, pick("Save", "Save the current game"));
  t.set(22, QStringLiteral("Remove Selected"));
  t.set(23, pick("Enter the name of the file you want to save", "Enter the name of the game you want to save"));
  t.set(24, QStringLiteral("already exists. Do you want to replace it?"));
  t.set(25, QStringLiteral("SAVE"));
  t.set(26, pick("Remove Saved File", "Remove Saved Game"));
  t.set(27, QStringLiteral("Do you really want to remove"));
  t.set(28, QString());
  t.set(29, QStringLiteral("Error"));
  t.set(30, pick("An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.",
                 "An error has occurred. The game may not work properly. Press 'Esc' and the click 'Exit' to quit."));
  t.set(31, QStringLiteral("Error description:"));
  t.set(32, QStringLiteral("Do you want to continue anyway? (not recommended)"));
  t.set(33, QStringLiteral("The following file is missing:"));
  t.set(34, pick("This file may have been moved or removed from its original location. The program may not work "
                 "properly until the missing file is placed back in its original location. Press 'Esc' and the "
                 "click 'Exit' to quit.",
                 "This file may have been moved or removed from its original location. The game may not work "
                 "properly until the missing file is placed back in its original location. Press 'Esc' and the "
                 "click 'Exit' to quit."));
  t.set(35, QStringLiteral("Please do not use any of the following characters:"));
  t.set(36, pick("Please insert the CD in the CD-Rom drive and then click 'OK'.",
                 "Please insert the CD in the CD-ROM drive and then click 'OK'."));
  t.set(37, pick("CD-Rom drive:", "CD-ROM Drive:"));
  t.set(38, pick("The selected device is unavailable. Make sure that the CD-Rom drive letter is right and that the "
                 "disk is properly inserted, and then try again.",
                 "The selected device is unavailable. Make sure that the CD-ROM drive letter is right and that the "
                 "disk is properly inserted, and then try again."));
  t.set(39, QString());
  t.set(40, QStringLiteral("Warning! Your system is set to use large fonts. This program will NOT work properly if "
                           "you don't change this setting. Do you want to continue anyway? (not recommended)"));
  t.set(41, QStringLiteral("To fix the problem, go to the 'Control Panel' (from the 'Settings' menu of the Start "
                           "Menu), double-click 'Display', click the 'Settings' tab, click 'Advanced...', select "
                           "'Small Fonts' under 'Font size', click 'OK', and then restart your computer."));
  t.set(42, QString());
  t.set(43, QStringLiteral("The following folder is missing:"));
  t.set(44, QStringLiteral("Make sure that the disk is properly inserted, and then try again."));
  t.set(45, QStringLiteral("File Not Found:"));
  t.set(46, QStringLiteral("The file may be missing, or you may have inserted the wrong CD."));
  t.set(47, QStringLiteral("Please insert the CD#"));
  t.set(48, QStringLiteral("in the CD-Rom drive and click OK to continue..."));
  t.set(49, QStringLiteral("Options"));
  t.set(50, QStringLiteral("Disable Transitions"));
  t.set(51, QStringLiteral("Disable Real-Time Effects"));
}

void LoadInterfaceTexts() {
  const QString file = project().paths.config + QStringLiteral("Texts");
  if (!platform::fileExists(file)) {
    SetDefaultInterfaceTexts(false);
    return;
  }
  try {
    RecordReader in = RecordReader::fromFile(file);
    const int16_t mode = in.readInt16();
    if (mode == 0) {
      SetDefaultInterfaceTexts(false);
    } else if (mode == 1) {
      SetDefaultInterfaceTexts(true);
    } else if (mode == 2) {
      SetDefaultInterfaceTexts(false);
      in.skip(5);
      const int32_t count = in.readInt32();
      for (int32_t i = 1; i <= count; ++i) {
        if (i > InterfaceTexts::kMaxIndex) throw VbError::of(9);  // no such entry
        project().texts.set(i, in.readString());
      }
    }
    // Any other mode sets nothing.
  } catch (const VbError&) {
    platform::messageBox(QStringLiteral("Unable to load text."), platform::MsgButtons::OK,
                         platform::MsgIcon::Critical, QStringLiteral("Error"));
    // Custom texts read before the failure are dropped, those above 51 included.
    project().texts.clear();
    SetDefaultInterfaceTexts(false);
  }
}

}  // namespace qm::startup
