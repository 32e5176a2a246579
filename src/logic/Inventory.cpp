#include "logic/Inventory.h"

#include <QCoreApplication>
#include <cmath>
#include <tuple>

#include "engine/Game.h"
#include "logic/ErrorReports.h"
#include "logic/FrameDataFiles.h"
#include "logic/GameLogic.h"
#include "logic/InventoryArt.h"
#include "logic/ItemFiles.h"
#include "platform/Clock.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "platform/WaitWhile.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::logic {

using engine::Game;
using engine::ImageControl;
using startup::project;

namespace {

// The pick-up pop-up keeps the bar down this long.
constexpr int kPopUpMilliseconds = 2000;
// A whole slide lasts this long, whatever the machine.
constexpr double kSlideSeconds = 0.3;
// The slide loop naps this long on every pass: enough passes for a smooth
// slide, without keeping a core busy.
constexpr int kSlideNapMilliseconds = 4;

bool isDefaultPicture(const QString& name) {
  return name.isEmpty() || name.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

}  // namespace

Inventory::Inventory(Game& game) : game_(game) { wireControls(); }

Inventory::~Inventory() = default;

bool Inventory::barOn() const { return project().info.inventoryBarOn; }

bool Inventory::switchOn(int n) const {
  if (n == 1) return barOn();
  return n >= 2 && n <= 6 && project().info.inventorySwitches[static_cast<size_t>(n)];
}

void Inventory::wireControls() {
  Game& g = game_;
  auto overBar = [this](int, int, double, double) { setMotion(InventoryMotionKind::Show); };
  g.Inventory1->onMouseMove = overBar;
  g.Inventory2->onMouseMove = overBar;
  g.Inventory_Background->onMouseMove = overBar;
  g.Inventory1->setBackColor(inventoryBarColor());
  g.Inventory1->setBorderStyle(0);
  g.Inventory2->setPictureImage(builtInInventoryButton());
  g.Inventory2->setWidth(kItemCellTwips);
  g.Inventory2->setHeight(kItemCellTwips);
  g.PickedObject.templ().setStretch(true);
  g.TimerInventory.setInterval(kPopUpMilliseconds);
  g.TimerInventory.onTimer = [this] { onTimerInventory(); };
}

// ---- Items -----------------------------------------------------------------------

int Inventory::count() const { return game_.state().ObjectsCount; }

QString Inventory::itemName(int i) const {
  const ImageControl* item = game_.PickedObject.item(i);
  return item && i >= 1 ? item->tag() : QString();
}

QStringList Inventory::itemNames() const {
  QStringList names;
  for (int i = 1; i <= game_.state().ObjectsCount; ++i) names << itemName(i);
  return names;
}

void Inventory::placeItem(int k) {
  if (ImageControl* item = game_.PickedObject.item(k))
    item->move(layout_.itemLeft(k), layout_.itemTop(k), kItemCellTwips, kItemCellTwips);
}

void Inventory::resizeBar() {
  game_.Inventory1->setHeight(layout_.barHeight(game_.state().ObjectsCount));
}

void Inventory::alignBackground() {
  ImageControl* back = game_.Inventory_Background;
  if (!back->visible()) return;
  back->move(0, game_.Inventory1->height() - back->height());
}

// After the report nothing more happens: an item that could not be picked up
// neither pops the bar down nor restarts its timer (an icon that failed still
// leaves its item held, under its name).
void Inventory::reportPickUpFailure(const QString& ObjectName, const QString& iconFile) {
  reportStandardError(QStringLiteral(" Unable to pick up the item named '") + ObjectName +
                      QStringLiteral("'. The item may be unavailable, or the icon '") + iconFile +
                      QStringLiteral("' associated to the item may be corrupt."));
}

void Inventory::AddPickedObject(const QString& ObjectName, bool bDoNotPopup) {
  Game& g = game_;
  QString iconFile;
  try {
    g.TimerInventory.setEnabled(false);
    auto reader = startup::RecordReader::fromFile(project().paths.areas + ObjectName + QStringLiteral(".obj"));
    iconFile = readItemIconName(reader);

    const int k = g.state().ObjectsCount + 1;
    ImageControl& item = g.PickedObject.Load(k);
    g.state().ObjectsCount = k;
    placeItem(k);
    wireItem(item, k);
    // The name first: an item whose icon fails is still held under its name.
    item.setTag(ObjectName);
    item.setToolTipText(ObjectName);
    item.setVisibleVb(true);
    item.zOrder(0);
    const QString located = startup::LocateMediaFile(project().paths.areas + iconFile);
    const auto native = platform::resolveExisting(located);
    const bool loaded = native && !iconFile.isEmpty() && item.loadPicture(*native);
    if (!loaded) {
      item.setPictureImage(missingItemIcon());
      throw VbError(481, QStringLiteral("Invalid picture"));
    }
  } catch (const VbError&) {
    reportPickUpFailure(ObjectName, iconFile);
    return;
  } catch (const engine::ControlArrayError&) {
    reportPickUpFailure(ObjectName, iconFile);
    return;
  }

  if (barOn()) {
    resizeBar();
    alignBackground();
    g.Inventory2->setVisibleVb(true);
  }
  if (switchOn(5) && !bDoNotPopup) {
    popUp_ = true;
    motion_ = InventoryMotionKind::Show;
    QPointer<Game> alive(&g);
    if (!moving_ && barOn()) Inventory_Move();
    if (!alive) return;
    g.TimerInventory.setEnabled(false);
    g.TimerInventory.setInterval(kPopUpMilliseconds);
    g.TimerInventory.setEnabled(true);
  }
}

void Inventory::RemovePickedObject(int ObjectIndex) {
  Game& g = game_;
  const int n = g.state().ObjectsCount;
  if (ObjectIndex < 1 || ObjectIndex > n) return;
  for (int i = ObjectIndex; i < n; ++i) {
    ImageControl* to = g.PickedObject.item(i);
    const ImageControl* from = g.PickedObject.item(i + 1);
    if (!to || !from) continue;
    to->setPictureImage(from->image(), from->picture());
    to->setTag(from->tag());
    to->setToolTipText(from->toolTipText());
  }
  try {
    if (g.PickedObject.exists(n)) g.PickedObject.Unload(n);
  } catch (const engine::ControlArrayError&) {
  }
  g.state().ObjectsCount = n - 1;
  if (barOn() && g.state().ObjectsCount > 0) resizeBar();
  if (barOn()) {
    alignBackground();
    if (g.state().ObjectsCount == 0 && switchOn(4)) g.Inventory2->setVisibleVb(false);
  }
}

void Inventory::PickOrNotPickObject(int AreaIndex) {
  const QString path = frameDataPath(startup::CurrentFrameName(), QStringLiteral(".fm4"));
  if (!platform::fileExists(path)) return;
  try {
    auto reader = startup::RecordReader::fromFile(path);
    while (!reader.atEnd() && !startup::GameStopped()) {
      reader.skip();
      const int16_t hotspot = reader.readInt16();
      if (hotspot != AreaIndex) {
        reader.skipRecord();
        continue;
      }
      reader.skip(8);
      if (reader.readInt16() == 1) {
        const QString name = reader.readString();
        AddPickedObject(name, false);
      }
      return;
    }
  } catch (const VbError& e) {
    reportStandardError(QStringLiteral(" Error in the \"PickOrNotPickObject\" procedure.") + QStringLiteral("\r\n\r\n") +
                        e.description);
  }
}

void Inventory::wireItem(ImageControl& item, int k) {
  constexpr double kToPixels = 1.0 / engine::kTwipsPerPixel;
  QPointer<ImageControl> self(&item);
  item.onMouseDown = [this, k](int button, int, double, double) { PickedObjectMouseDown(k, button); };
  item.onMouseMove = [this, self](int, int, double x, double y) {
    if (dragging() && self) dragMove(*self, QPointF(x * kToPixels, y * kToPixels));
    else setMotion(InventoryMotionKind::Show);
  };
  item.onMouseUp = [this, self](int, int, double x, double y) {
    if (dragging() && self) dragEnd(*self, QPointF(x * kToPixels, y * kToPixels));
  };
}

// ---- The bar -----------------------------------------------------------------------

void Inventory::SetupInventoryBar() {
  Game& g = game_;
  const auto& info = project().info;
  layout_ = InventoryLayout::of(info.width, info.inventoryValueA, info.inventoryValueB);
  g.TimerInventory.setEnabled(false);
  motion_ = InventoryMotionKind::None;
  popUp_ = false;
  endDrag();
  const double width = info.width * engine::kTwipsPerPixel;
  g.Inventory1->move(0, 0, width, layout_.barHeight(0));
  g.Inventory1->setTop(-g.Inventory1->height());
  g.Inventory2->move(0, 0);
  if (barOn()) {
    g.Inventory1->setVisibleVb(true);
    g.Inventory2->setVisibleVb(!switchOn(4));
  } else {
    g.Inventory1->setVisibleVb(false);
    g.Inventory2->setVisibleVb(false);
  }
  Load_InventoryBackground();
  g.Inventory1->zOrder(0);
  g.Inventory2->zOrder(0);
}

void Inventory::Load_InventoryBackground() {
  Game& g = game_;
  ImageControl* back = g.Inventory_Background;
  const auto& info = project().info;
  auto noBackground = [back] {
    back->setVisibleVb(false);
    back->clearPicture();
  };
  if (!barOn() || !switchOn(6)) {
    noBackground();
    return;
  }
  const QString& picture2 = info.inventoryPicture2;
  const auto backFile = isDefaultPicture(picture2) ? std::nullopt
                                                   : platform::resolveExisting(project().paths.inventory + picture2);
  if (!backFile) {
    noBackground();
  } else if (back->loadPicture(*backFile)) {
    back->move(0, g.Inventory1->height() - back->height());
    back->zOrder(1);
    back->setVisibleVb(true);
  }
  const QString& picture1 = info.inventoryPicture1;
  if (!isDefaultPicture(picture1)) {
    if (const auto buttonFile = platform::resolveExisting(project().paths.inventory + picture1)) {
      if (g.Inventory2->loadPicture(*buttonFile)) {
        g.Inventory2->setWidth(g.Inventory2->image().width() * engine::kTwipsPerPixel);
        g.Inventory2->setHeight(g.Inventory2->image().height() * engine::kTwipsPerPixel);
      } else {
        g.Inventory2->setPictureImage(builtInInventoryButton());
      }
    }
  }
}

void Inventory::setMotion(InventoryMotionKind motion, bool startMoving) {
  motion_ = motion;
  if (startMoving && !moving_ && barOn()) Inventory_Move();
}

void Inventory::HideInventoryIfItem(QObject* ControlRef) {
  auto* control = dynamic_cast<engine::VbControl*>(ControlRef);
  if (!control || control->vbName().toLower() != QLatin1String("pickedobject")) return;
  setMotion(InventoryMotionKind::Hide);
}

void Inventory::Inventory_Move() {
  if (moving_ || !barOn()) return;
  QPointer<Game> alive(&game_);
  engine::PanelControl* bar = game_.Inventory1;
  moving_ = true;
  lastSlideSteps_ = 0;
  double step = 15;
  int pass = 0;
  platform::ElapsedClock fivePasses;
  fivePasses.start();
  for (;;) {
    const double height = bar->height();
    const double top = bar->top();
    if (motion_ == InventoryMotionKind::None || (motion_ == InventoryMotionKind::Show && top >= 0) ||
        (motion_ == InventoryMotionKind::Hide && top <= -height))
      break;
    if (popUp_) motion_ = InventoryMotionKind::Show;
    if (++pass % 5 == 0) {
      // Re-measured every fifth pass, so a slide takes the same time on any machine.
      const double seconds = fivePasses.nsecsElapsed() / 1e9;
      fivePasses.restart();
      step = seconds * height / (kSlideSeconds * 5);
    }
    // A whole number of twips, and never nothing: a very fast pass must still move.
    const double whole = std::max(1.0, std::round(step));
    if (motion_ == InventoryMotionKind::Show) {
      bar->setTop(!switchOn(2) ? 0.0 : std::min(0.0, top + whole));
    } else if (motion_ == InventoryMotionKind::Hide) {
      bar->setTop(!switchOn(3) ? -height : std::max(-height, top - whole));
    }
    ++lastSlideSteps_;
    QCoreApplication::processEvents();
    if (!alive) return;  // the window went while events ran
    if (startup::GameStopped() && !game_.isVisible()) break;
    platform::napFor(kSlideNapMilliseconds);
  }
  moving_ = false;
}

void Inventory::Inventory_Hide() {
  moving_ = true;
  game_.Inventory1->setTop(-game_.Inventory1->height());
  moving_ = false;
}

void Inventory::onTimerInventory() {
  game_.TimerInventory.setEnabled(false);
  popUp_ = false;
  if (switchOn(3)) setMotion(InventoryMotionKind::Hide);
}

// ---- Combinations ---------------------------------------------------------------------

void Inventory::PickedObjectDragDrop(int Index) {
  const int dragged = draggedItemIndex_;
  if (Index == dragged || dragged < 1 || dragged > count() || Index < 1 || Index > count()) return;
  const QString path = project().paths.areas + itemName(dragged) + QStringLiteral("_on_") + itemName(Index) +
                       QStringLiteral(".drg");
  if (!platform::fileExists(path)) return;
  try {
    auto reader = startup::RecordReader::fromFile(path);
    const CombinationHead head = readCombinationHead(reader);
    if (head.draggedGoes) RemovePickedObject(dragged);
    if (head.targetGoes) RemovePickedObject(head.draggedGoes && dragged < Index ? Index - 1 : Index);
    if (head.createsItem) AddPickedObject(head.newItem, false);
    if (startup::GameStopped()) return;
    const auto script = readCombinationScript(reader);
    if (script && script->run && !script->code.isEmpty()) {
      // A failed script has had its message and leaves its requests undone.
      std::ignore = game_.logic().ExecuteVBScriptAndConsequences(script->code, true);
    }
  } catch (const VbError&) {
    reportStandardError(QStringLiteral(" Unable to combine items."));
  }
}

}  // namespace qm::logic
