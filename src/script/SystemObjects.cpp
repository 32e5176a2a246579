#include "script/SystemObjects.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include "engine/Game.h"
#include "startup/Project.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {
bool isWrite(vb::InvokeKind kind) { return kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet; }
[[noreturn]] void readOnly() { raiseText(383, QStringLiteral("Property is read-only")); }
constexpr int kTwips = 15;  // twips in a pixel
bool haveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }
QSize screenPixels() {
  if (haveGui())
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->geometry().size();
  return {1024, 768};
}
Qt::CursorShape pointerShape(int p) {
  switch (p) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5: case 15: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
  }
}
}  // namespace

// ---- Screen ---------------------------------------------------------------------

namespace {
enum : vb::DispId { kScrMousePointer = 1, kScrWidth, kScrHeight, kScrTppX, kScrTppY, kScrFontCount };
constexpr vb::MemberEntry kScreenMembers[] = {{u"MousePointer", kScrMousePointer}, {u"Width", kScrWidth},
                                              {u"Height", kScrHeight},             {u"TwipsPerPixelX", kScrTppX},
                                              {u"TwipsPerPixelY", kScrTppY},       {u"FontCount", kScrFontCount}};
}  // namespace

ScreenObject::~ScreenObject() {
  if (overridden_ && haveGui()) QGuiApplication::restoreOverrideCursor();
}

std::span<const vb::MemberEntry> ScreenObject::members() const { return kScreenMembers; }

vb::Value ScreenObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (id == kScrMousePointer) {
    if (!isWrite(kind)) return vb::Value(static_cast<int16_t>(pointer_));
    vb::checkArgCount(args, 1, 1);
    const int p = argInt16(args[0]);
    if (p < 0 || (p > 15 && p != 99)) raiseText(380, QStringLiteral("Invalid property value"));
    pointer_ = p;
    if (!haveGui()) return {};
    if (overridden_) QGuiApplication::restoreOverrideCursor();
    overridden_ = p != 0;
    if (overridden_) QGuiApplication::setOverrideCursor(QCursor(pointerShape(p)));
    return {};
  }
  if (isWrite(kind)) readOnly();
  switch (id) {
    case kScrWidth: return vb::Value(static_cast<double>(screenPixels().width() * kTwips));
    case kScrHeight: return vb::Value(static_cast<double>(screenPixels().height() * kTwips));
    case kScrTppX:
    case kScrTppY: return vb::Value(static_cast<int32_t>(kTwips));
    case kScrFontCount: return vb::Value(static_cast<int32_t>(0));
    default: vb::raise(vb::err::NoSuchMember);
  }
}

// ---- App --------------------------------------------------------------------------

namespace {
enum : vb::DispId { kAppPath = 1, kAppTitle, kAppExeName, kAppMajor, kAppMinor, kAppRevision, kAppPrevInstance,
                    kAppProductName, kAppCompanyName };
constexpr vb::MemberEntry kAppMembers[] = {
    {u"Path", kAppPath},   {u"Title", kAppTitle}, {u"EXEName", kAppExeName},           {u"Major", kAppMajor},
    {u"Minor", kAppMinor}, {u"Revision", kAppRevision}, {u"PrevInstance", kAppPrevInstance},
    {u"ProductName", kAppProductName}, {u"CompanyName", kAppCompanyName}};
}  // namespace

std::span<const vb::MemberEntry> AppObject::members() const { return kAppMembers; }

vb::Value AppObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  const auto& project = startup::project();
  if (id == kAppTitle) {
    if (isWrite(kind)) {
      vb::checkArgCount(args, 1, 1);
      title_ = argText(args[0]);
      titleSet_ = true;
      return {};
    }
    return vb::Value(toU16(titleSet_ ? title_ : project.info.gameTitle));
  }
  if (isWrite(kind)) readOnly();
  switch (id) {
    case kAppPath: {
      QString p = project.paths.project;
      while (p.size() > 3 && (p.endsWith(QLatin1Char('\\')) || p.endsWith(QLatin1Char('/')))) p.chop(1);
      return vb::Value(toU16(p));
    }
    case kAppExeName: {
      QString exe;
      if (QCoreApplication::instance()) exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
      return vb::Value(toU16(exe.isEmpty() ? QStringLiteral("quillmere") : exe));
    }
    case kAppMajor: return vb::Value(static_cast<int16_t>(3));
    case kAppMinor: return vb::Value(static_cast<int16_t>(5));
    case kAppRevision: return vb::Value(static_cast<int16_t>(2));
    case kAppPrevInstance: return vb::Value(false);
    case kAppProductName: return vb::Value(toU16(project.info.gameTitle));
    case kAppCompanyName: return vb::Value(toU16(project.info.authorName));
    default: vb::raise(vb::err::NoSuchMember);
  }
}

// ---- Clipboard ----------------------------------------------------------------------

namespace {
enum : vb::DispId { kClipGetText = 1, kClipSetText, kClipClear, kClipGetFormat };
constexpr vb::MemberEntry kClipMembers[] = {
    {u"GetText", kClipGetText}, {u"SetText", kClipSetText}, {u"Clear", kClipClear}, {u"GetFormat", kClipGetFormat}};
// Where the text is kept when the window system offers no clipboard.
QString& fallbackClipboard() {
  static QString text;
  return text;
}
QClipboard* systemClipboard() { return haveGui() ? QGuiApplication::clipboard() : nullptr; }
QString clipboardText() {
  QClipboard* clip = systemClipboard();
  const QString t = clip ? clip->text() : QString();
  return t.isEmpty() ? fallbackClipboard() : t;
}
}  // namespace

std::span<const vb::MemberEntry> ClipboardObject::members() const { return kClipMembers; }

vb::Value ClipboardObject::call(vb::DispId id, vb::InvokeKind, std::span<vb::Value> args) {
  QClipboard* clip = systemClipboard();
  switch (id) {
    case kClipGetText: vb::checkArgCount(args, 0, 1); return vb::Value(toU16(clipboardText()));
    case kClipSetText: {
      vb::checkArgCount(args, 1, 2);
      const QString t = argText(args[0]);
      fallbackClipboard() = t;
      if (clip) clip->setText(t);
      return {};
    }
    case kClipClear:
      vb::checkArgCount(args, 0, 0);
      fallbackClipboard().clear();
      if (clip) clip->clear();
      return {};
    case kClipGetFormat:
      vb::checkArgCount(args, 1, 1);
      // 1 = text; no other format is kept.
      return vb::Value(argInt16(args[0]) == 1 && !clipboardText().isEmpty());
    default: vb::raise(vb::err::NoSuchMember);
  }
}

// ---- Printers -------------------------------------------------------------------------

namespace {
enum : vb::DispId { kPrnPrint = 1, kPrnNewPage, kPrnEndDoc, kPrnKillDoc, kPrnPaintPicture, kPrnLine, kPrnCircle,
                    kPrnPSet, kPrnTextWidth, kPrnTextHeight, kPrnDeviceName, kPrnFirstProperty = 1000 };
constexpr vb::MemberEntry kPrinterMembers[] = {
    {u"Print", kPrnPrint},           {u"NewPage", kPrnNewPage},           {u"EndDoc", kPrnEndDoc},
    {u"KillDoc", kPrnKillDoc},       {u"PaintPicture", kPrnPaintPicture}, {u"Line", kPrnLine},
    {u"Circle", kPrnCircle},         {u"PSet", kPrnPSet},                 {u"TextWidth", kPrnTextWidth},
    {u"TextHeight", kPrnTextHeight}, {u"DeviceName", kPrnDeviceName}};
}  // namespace

std::span<const vb::MemberEntry> PrinterObject::members() const { return kPrinterMembers; }

vb::DispId PrinterObject::findMember(std::u16string_view name) {
  const vb::DispId fixed = vb::findInTable(kPrinterMembers, name);
  if (fixed != vb::DispIdUnknown) return fixed;
  // The other printer properties (Orientation, Copies, FontSize...) keep what
  // scripts give them. Only these names: the printer's members are also global
  // names of the scripts.
  static const char16_t* const kProperties[] = {
      u"colormode", u"copies", u"currentx", u"currenty", u"drawmode", u"drawstyle", u"drawwidth", u"drivername",
      u"duplex", u"fillcolor", u"fillstyle", u"fontbold", u"fontcount", u"fontitalic", u"fontname", u"fontsize",
      u"fontstrikethru", u"fonttransparent", u"fontunderline", u"forecolor", u"hdc", u"height", u"orientation",
      u"page", u"paperbin", u"papersize", u"port", u"printquality", u"scaleheight", u"scaleleft", u"scalemode",
      u"scaletop", u"scalewidth", u"trackdefault", u"twipsperpixelx", u"twipsperpixely", u"width", u"zoom"};
  const std::u16string key = vb::toLowerCopy(name);
  bool known = false;
  for (const char16_t* p : kProperties) known = known || key == p;
  if (!known) return vb::DispIdUnknown;
  for (const auto& [id, n] : names_)
    if (n == key) return id;
  const vb::DispId id = kPrnFirstProperty + static_cast<vb::DispId>(names_.size());
  names_[id] = key;
  return id;
}

vb::Value PrinterObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (id >= kPrnFirstProperty) {
    auto name = names_.find(id);
    if (name == names_.end()) vb::raise(vb::err::NoSuchMember);
    if (isWrite(kind)) {
      values_[name->second] = args.empty() ? vb::Value() : args.back().deref();
      return {};
    }
    auto it = values_.find(name->second);
    return it == values_.end() ? vb::Value(static_cast<int32_t>(0)) : it->second;
  }
  switch (id) {
    case kPrnTextWidth:
    case kPrnTextHeight: {
      vb::checkArgCount(args, 1, 1);
      const QString t = argText(args[0]);
      return vb::Value(static_cast<double>(id == kPrnTextWidth ? t.size() * 7 * kTwips : 13 * kTwips));
    }
    case kPrnDeviceName: return vb::Value(std::u16string(u"No printer"));
    default: return {};  // printing does nothing
  }
}

namespace {
enum : vb::DispId { kPrsItem = vb::DispIdValue, kPrsCount = 1 };
constexpr vb::MemberEntry kPrintersMembers[] = {{u"Item", kPrsItem}, {u"Count", kPrsCount}};

class SingleEnumerator : public vb::Enumerator {
 public:
  explicit SingleEnumerator(vb::Dispatch* d) : d_(d) {}
  bool next(vb::Value& out) override {
    if (done_) return false;
    done_ = true;
    out = vb::Value(d_.get());
    return true;
  }

 private:
  vb::Ref<vb::Dispatch> d_;
  bool done_ = false;
};
}  // namespace

std::span<const vb::MemberEntry> PrintersObject::members() const { return kPrintersMembers; }

std::unique_ptr<vb::Enumerator> PrintersObject::newEnum() { return std::make_unique<SingleEnumerator>(printer_.get()); }

vb::Value PrintersObject::call(vb::DispId id, vb::InvokeKind, std::span<vb::Value> args) {
  if (id == kPrsCount) return vb::Value(static_cast<int32_t>(1));
  if (id == kPrsItem) {
    vb::checkArgCount(args, 1, 1);
    if (argInt16(args[0]) != 0) vb::raise(vb::err::SubscriptOutOfRange);
    return vb::Value(printer_.get());
  }
  vb::raise(vb::err::NoSuchMember);
}

// ---- Frame history ---------------------------------------------------------------------

namespace {
enum : vb::DispId { kHisList = vb::DispIdValue, kHisListCount = 1, kHisAddItem, kHisRemoveItem, kHisClear, kHisName };
constexpr vb::MemberEntry kHistoryMembers[] = {{u"List", kHisList},
                                               {u"ListCount", kHisListCount},
                                               {u"AddItem", kHisAddItem},
                                               {u"RemoveItem", kHisRemoveItem},
                                               {u"Clear", kHisClear},
                                               {u"Name", kHisName}};
}  // namespace

std::span<const vb::MemberEntry> FramesHistoryObject::members() const { return kHistoryMembers; }

vb::Value FramesHistoryObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  switch (id) {
    case kHisList:
      if (isWrite(kind)) readOnly();
      vb::checkArgCount(args, 1, 1);
      return vb::Value(toU16(list_.List(argInt16(args[0]))));
    case kHisListCount: return vb::Value(static_cast<int32_t>(list_.ListCount()));
    case kHisAddItem:
      vb::checkArgCount(args, 1, 2);
      list_.AddItem(argText(args[0]));
      return {};
    case kHisRemoveItem: {
      vb::checkArgCount(args, 1, 1);
      const int i = argInt16(args[0]);
      if (i < 0 || i >= list_.ListCount()) vb::raise(vb::err::InvalidCall);
      list_.RemoveItem(i);
      return {};
    }
    case kHisClear: list_.Clear(); return {};
    case kHisName:
      if (isWrite(kind)) readOnly();
      return vb::Value(std::u16string(u"FramesHistory"));
    default: vb::raise(vb::err::NoSuchMember);
  }
}

}  // namespace qm::script
