// The game window: the frame picture and every control on it, the timers, the
// menu bar and the run-time state of a game, from the reset of a new or resumed
// game to the unloading that returns to the welcome window.
//
// Control arrays follow the old rules: element 0 is a hidden template, elements
// 1.. are loaded for the current frame and unloaded when it changes. Positions
// are twips (15 to a pixel). Everything runs on the user-interface thread; the
// waits inside frame opening let window events run, so handlers can re-enter.
//
// The window is the composition of the parts of the player, each an object it
// creates with itself and owns: the game logic (variables, hotspots and their
// actions), the script host, the one-time video, the sound channels,
// transitions and frame captures, rippling water, timed events, dialogue,
// components, inventory and saved games, keyboard play, the display of the
// picture on the screen and the routing of the window's keys and presses.
// Outside those parts, the public members are the window's controls and the
// operations other parts of the player and scripts call by their old names.
#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "engine/FrameFile.h"
#include "engine/FrameRequest.h"
#include "engine/GameInput.h"
#include "engine/GameWindowProperties.h"
#include "engine/OneTimeVideo.h"
#include "engine/PlayState.h"
#include "engine/SoundChannels.h"
#include "engine/controls/AnimatedPictureControl.h"
#include "engine/controls/ControlArray.h"
#include "engine/controls/ImageControl.h"
#include "engine/controls/LabelControl.h"
#include "engine/controls/MediaPlayerControl.h"
#include "engine/controls/MenuItem.h"
#include "engine/controls/PanelControl.h"
#include "engine/controls/PictureBoxControl.h"
#include "engine/controls/TimerControl.h"

namespace qm::logic {
class GameLogic;
class Inventory;
class SavedGames;
}  // namespace qm::logic

namespace qm::script {
class ScriptHost;
class TimedEvents;
class DialogueRunner;
class AdditionalComponents;
}

namespace qm::engine {

class GameDisplay;
class KeyboardPlay;

// The visited frames, oldest first (the hidden list box of the window).
class FramesHistoryList {
 public:
  int ListCount() const { return static_cast<int>(items_.size()); }
  QString List(int i) const { return i >= 0 && i < items_.size() ? items_[i] : QString(); }
  void AddItem(const QString& s) { items_.push_back(s); }
  void RemoveItem(int i) {
    if (i >= 0 && i < items_.size()) items_.removeAt(i);
  }
  void Clear() { items_.clear(); }
  const QStringList& items() const { return items_; }

 private:
  QStringList items_;
};

class Transitions;
class Effects;

class Game : public QWidget {
  Q_OBJECT
 public:
  explicit Game(QWidget* parent = nullptr);
  ~Game() override;

  // The play state: flags, script requests, the frame file shown, the channel table.
  PlayState& state() { return state_; }

  // Variables, hotspots and what clicks on them do.
  logic::GameLogic& logic() { return *logic_; }
  // The two script engines and the object model scripts see.
  script::ScriptHost& scripts() { return *scripts_; }
  OneTimeVideo& video() { return video_; }
  Transitions& transitions() { return *transitions_; }
  Effects& effects() { return *effects_; }
  // The seven sound channels and their players MPlayer(1..7).
  SoundChannels& soundChannels() { return *soundChannels_; }
  // The timed events of the frame shown (the TimedEvent timers and their code).
  script::TimedEvents& timedEvents() { return *timedEvents_; }
  // The question-and-answer dialogue (the fmeDialogue panel and its questions).
  script::DialogueRunner& dialogue() { return *dialogue_; }
  // Components scripts add to the frame canvas.
  script::AdditionalComponents& components() { return *components_; }
  // Play by keys: the focus ring, the outlines, Alt+Enter.
  KeyboardPlay& keyboardPlay() { return *keyboardPlay_; }
  // The picture on the screen: scaled in full screen or 1:1 in a window, the menu bar, the start hint.
  GameDisplay& display() { return *display_; }
  // The window's keys and presses on its background: the menu bar, Ctrl+L/S/Q, the debug sequence.
  GameInput& input() { return input_; }

  // ---- Parts of the game ---------------------------------------------------
  logic::Inventory& inventory() { return *inventory_; }
  logic::SavedGames& savedGames() { return *savedGames_; }

  // The window's own VB properties (caption, colours, state...), as scripts see them.
  GameWindowProperties& windowProperties() { return *windowProperties_; }

  // ---- Controls ----------------------------------------------------------
  PictureBoxControl* PictureBox = nullptr;   // the game picture, parent of every frame control
  ImageControl* BackImage = nullptr;         // covers PictureBox, takes background clicks
  ControlArray<ImageControl> Area;           // hotspots
  ControlArray<LabelControl> Text;           // text boxes
  PanelControl* FrameMessageBox = nullptr;   // in-frame message panel
  LabelControl* LabelMessageBox = nullptr;
  TimerControl TimerMessageBox{"TimerMessageBox", -1};
  PanelControl* fmeDialogue = nullptr;
  ControlArray<LabelControl> lblDialogue;
  ControlArray<ImageControl> PickedObject;   // inventory items
  PanelControl* Inventory1 = nullptr;
  PictureBoxControl* Inventory2 = nullptr;  // the inventory button
  ImageControl* Inventory_Background = nullptr;
  TimerControl TimerInventory{"TimerInventory", -1};
  ImageControl* ImageTile = nullptr;         // hidden: holds a background tile while painting
  ControlArray<MediaPlayerControl> MPlayer;  // sound channels 1..7
  TimerControl TimerAudioFade{"TimerAudioFade", -1};
  ControlArray<MediaPlayerControl> VideoPlayer;  // element n belongs to hotspot n
  MediaPlayerControl* OneTimeVideoPlayer = nullptr;
  MediaPlayerControl* CustomMediaPlayer = nullptr;
  PanelControl* fmeVideoContainer = nullptr;
  ControlArray<AnimatedPictureControl> AniGif;
  ControlArray<PictureBoxControl> AniGifBox;
  PictureBoxControl* PicRipplingWater = nullptr;
  TimerControl TimerRipplingWater{"TimerRipplingWater", -1};
  PictureBoxControl* PicOriginal = nullptr;
  PictureBoxControl* PicMasked = nullptr;
  PictureBoxControl* PicMask = nullptr;
  PictureBoxControl* picStart = nullptr;
  PictureBoxControl* picEnd = nullptr;
  PictureBoxControl* picWhere = nullptr;     // transition target picture
  ControlArray<TimerControl> TimedEvent;
  TimerControl Timer1{"Timer1", -1};         // frame timer; its tag holds the target
  ControlArray<TimerControl> TimerObject;    // script timers
  TimerControl TimerUnloadMe{"TimerUnloadMe", -1};
  FramesHistoryList FramesHistory;
  // Run-time controls scripts load (templates).
  ControlArray<ImageControl> ImgBox;
  ControlArray<PictureBoxControl> PicBox;
  ControlArray<PanelControl> fmeContainer1;

  // Menu bar, in design order.
  MenuItem* mnuExit = nullptr;
  MenuItem* mnuOptions = nullptr;
  MenuItem* mnuDisableTransitions = nullptr;
  MenuItem* mnuDisableEffects = nullptr;
  MenuItem* mnuLoadGame = nullptr;
  MenuItem* mnuSaveGame = nullptr;
  MenuItem* mnuDebug = nullptr;
  MenuItem* mnuGoToFrame = nullptr;
  MenuItem* mnuCancel = nullptr;
  ControlArray<MenuItem> mnuFrameName;       // item 0 template, 1.. the project's frames
  MenuItem* mnuExecuteVBScript = nullptr;
  MenuItem* mnuEditProcedures = nullptr;
  MenuItem* mnuViewVariables = nullptr;

  // ---- Lifecycle -----------------------------------------------------------
  void ResetAll();
  void StartNewGame();
  void StartUnloading();
  void CenterWindowAndPictureBox();
  void ShowMenus();
  void HideMenus();

  // ---- Frames ----------------------------------------------------------------
  void OpenFrame(const QString& sFrameName, bool bWithTransition, int iTransNumber, double dTransitionDuration);
  // Opens a frame as every frame change does: with a transition, the old
  // picture is captured first (TransitionStep1) and OpenFrame completes it.
  void goToFrame(const FrameRequest& request);
  void LoadTexts();
  void ResetFrameTexts();
  void Timer1_Timer();

  // ---- Animated pictures ------------------------------------------------------
  // Creates the box and GIF control NewIndex showing FileName (a located native
  // path) with the box's corner at (X, Y) twips; returns NewIndex, or 0 when
  // FileName is empty or NewIndex is not above 0.
  int AniGifNewWithIndex(int NewIndex, const QString& FileName, double X, double Y, int Speed);
  // Loads another file into pair Index; "" removes the pair.
  void AniGifUpdate(int Index, const QString& FileName, int Speed);

  // ---- Message panel, history, click position, pointer ------------------------
  // Shows a text in the in-frame panel; "[hide]" hides it.
  void ShowMessageInFrame(const QString& text, bool noAutoHide);
  void TimerMessageBox_Timer();
  void FramesHistoryAdd(const QString& frameName);
  // Stores a click at (sglLeft, sglTop) twips as the click position in pixels (state().ClickPositionX/Y).
  void SaveClickPos(double sglLeft, double sglTop);
  void SetScreenPointerArrow();
  void SetScreenPointerDefault();
  void ResetDefaultPointer();

 signals:
  // The window has unloaded (after StartUnloading): the welcome window shows
  // again. With no one listening, a game that started at once ends the program.
  void unloaded();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // Tab and Shift+Tab move the focus ring between hotspots, not the window's focus.
  bool focusNextPrevChild(bool) override { return false; }
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void createControls();
  void createMenus();
  void formLoad();
  void unloadWindow();
  void askToQuit();
  void openDebugFrame(const QString& name);

  PlayState state_;
  std::unique_ptr<GameWindowProperties> windowProperties_ = std::make_unique<GameWindowProperties>(*this);
  GameInput input_{*this};
  OneTimeVideo video_{*this};
  std::unique_ptr<logic::GameLogic> logic_;
  std::unique_ptr<script::ScriptHost> scripts_;
  std::unique_ptr<Transitions> transitions_;
  std::unique_ptr<Effects> effects_;
  std::unique_ptr<SoundChannels> soundChannels_;
  std::unique_ptr<logic::Inventory> inventory_;
  std::unique_ptr<logic::SavedGames> savedGames_;
  std::unique_ptr<script::TimedEvents> timedEvents_;
  std::unique_ptr<script::DialogueRunner> dialogue_;
  std::unique_ptr<script::AdditionalComponents> components_;
  std::unique_ptr<KeyboardPlay> keyboardPlay_;
  std::unique_ptr<GameDisplay> display_;
  bool screenPointerSet_ = false;
  QString screenPointerIcon_;  // the screen's custom pointer icon (native path), set by ResetDefaultPointer
  bool unloading_ = false;
};

}  // namespace qm::engine
