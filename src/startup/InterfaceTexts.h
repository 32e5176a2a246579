// Every fixed text the player shows, by number (1 to 60), in the program or
// the game wording, reworded entry by entry by a project's Config/Texts.
#pragma once

#include <QString>
#include <array>

namespace qm::startup {

class InterfaceTexts {
 public:
  static constexpr int kMaxIndex = 60;
  // The text; "" for an index out of range.
  QString text(int index) const;
  // Ignored for an index out of range.
  void set(int index, QString value);
  void clear();

 private:
  std::array<QString, kMaxIndex + 1> texts_;
};

// Fills texts 1 to 51 in the program wording (false) or the game wording (true).
void SetDefaultInterfaceTexts(bool gameWording);

// Applies Config/Texts: mode 0 program wording, 1 game wording, 2 program
// wording then N custom texts; any other mode sets nothing. A file that cannot
// be read shows "Unable to load text." and restores the program wording.
void LoadInterfaceTexts();

}  // namespace qm::startup
