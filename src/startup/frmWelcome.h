// The welcome window: the first window of the program. Its load handler runs
// the project start-up, then lays out the game's title, version, author,
// e-mail address, web site, the offer to switch the display resolution, the
// product logo and the Start, Load and Exit buttons, and applies the game's
// welcome-screen scheme. It works by keyboard too: Tab and Shift+Tab move a
// visible focus over the buttons (Start has it first), Enter or Space presses
// the focused one, Esc is Exit.
//
// All positions and sizes are kept in twips (15 twips make one pixel), as the
// game's data gives them.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <array>
#include <optional>

#include "startup/SchemeDescription.h"

class QCheckBox;
class QLabel;

namespace qm::startup {

class ClickableLabel;

// Button indices, for lblButton and Img alike.
constexpr int kButtonStart = 0;
constexpr int kButtonLoad = 1;
constexpr int kButtonExit = 2;

class frmWelcome : public QWidget {
  Q_OBJECT

 public:
  // Design-time measures (twips).
  static constexpr int kWindowWidth = 4800;
  static constexpr int kFirstInfoLineTop = 3000;
  static constexpr int kInfoLineStep = 255;
  static constexpr int kBottomMargin = 150;
  static constexpr int kButtonLeft = 480;
  static constexpr std::array<int, 3> kButtonTops{1080, 1560, 2040};

  explicit frmWelcome(QWidget* parent = nullptr);
  ~frmWelcome() override;

  // The one welcome window of the program (nullptr before it exists). The game
  // window shows it again when a game ends, or unloads it to end the program.
  static frmWelcome* instance();

  // Unloads the window: the program ends.
  void Unload() { close(); }

  // The load handler: project start-up for the game in projectFolder, layout and
  // scheme. Returns false when the start-up decided that the program must end
  // (no project information, or large fonts declined). The window is not shown
  // here; shouldShow() says whether the caller shows it.
  bool Load(const QString& projectFolder);
  bool shouldShow() const { return !startedAtOnce_; }

  // Performs button 0 (Start), 1 (Load) or 2 (Exit).
  void ClickButton(int index);

  // Applies the welcome-screen scheme of that name.
  void UseScheme(const QString& schemeName);

  // The caption of the resolution offer: interface text 7 with any trailing
  // "." and "640x480" removed, then the project's size.
  static QString ResolutionOfferCaption(const QString& text, int projectResolution);

  // Whether the window is kept in front of all others.
  bool isTopmost() const { return topmost_; }
  void setTopmost(bool topmost);

  // Geometry in twips.
  static QRect twipsGeometry(const QWidget* control);
  int windowHeightTwips() const { return heightTwips_; }
  int windowWidthTwips() const { return widthTwips_; }
  int windowLeftTwips() const { return leftTwips_; }
  int windowTopTwips() const { return topTwips_; }
  // Border and caption allowance: window height minus inner height (0 for this borderless window).
  int borderAllowanceTwips() const;

  QColor backColour() const { return backColour_; }
  const QPixmap& backgroundTile() const { return backgroundTile_; }
  // Which of the four logo variants imgLogo shows.
  int logoVariant() const { return logoVariant_; }

  // Controls.
  QLabel* txtAdventureName = nullptr;
  QLabel* txtVersion = nullptr;
  QLabel* lblAuthor = nullptr;
  QLabel* txtAuthor = nullptr;
  QLabel* lblEmail = nullptr;
  ClickableLabel* txtEmail = nullptr;
  QLabel* lblHomepage = nullptr;
  ClickableLabel* txtHomepage = nullptr;
  QCheckBox* chkResolution = nullptr;
  ClickableLabel* lblResolution = nullptr;
  std::array<ClickableLabel*, 3> lblButton{};
  std::array<ClickableLabel*, kSchemePictureSlots> Img{};
  ClickableLabel* imgLogo = nullptr;
  std::array<QPixmap, 4> imgLogos;

 signals:
  // The window was unloaded (Exit, Esc, close): the program ends.
  void unloaded();
  // The window has been painted on screen for the first time.
  void firstPainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void placeTwips(QWidget* control, int left, int top, int width = -1, int height = -1);
  void setWindowSizeTwips(int width, int height);
  void centreOnScreen();
  void layOutInformation();
  void useTextButton(int index);
  bool loadPicture(ClickableLabel* image, const QString& path);
  void applyLabelColour(QLabel* label, const QColor& colour);

  void startNewGame();
  void openLoadWindow();
  void onResolutionCaptionClicked();
  void onEmailClicked();
  void onHomepageClicked();
  void onLogoClicked();

  bool topmost_ = false;
  bool startedAtOnce_ = false;
  bool unloaded_ = false;
  bool painted_ = false;
  int widthTwips_ = kWindowWidth;
  int heightTwips_ = kFirstInfoLineTop + kBottomMargin;
  int leftTwips_ = 0;
  int topTwips_ = 0;
  QColor backColour_;
  QPixmap backgroundTile_;
  int logoVariant_ = 0;
  std::optional<QPoint> dragOffset_;
};

}  // namespace qm::startup
