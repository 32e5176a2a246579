// The application-wide objects scripts reach: the screen, the application,
// the clipboard, the printers (which print nothing here) and the frame history
// list.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "script/HostObject.h"

namespace qm::engine {
class Game;
class FramesHistoryList;
}  // namespace qm::engine

namespace qm::script {

// Screen: MousePointer (applies to the whole program), Width and Height in
// twips, TwipsPerPixelX/Y.
class ScreenObject : public HostObject {
 public:
  ~ScreenObject() override;
  std::u16string typeName() const override { return u"Screen"; }
  bool hasDefaultMember() const override { return false; }
  int mousePointer() const { return pointer_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  int pointer_ = 0;
  bool overridden_ = false;
};

// App: Path (the game folder, without a trailing backslash), Title, EXEName,
// version numbers.
class AppObject : public HostObject {
 public:
  std::u16string typeName() const override { return u"App"; }
  bool hasDefaultMember() const override { return false; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  QString title_;
  bool titleSet_ = false;
};

// Clipboard: GetText, SetText, Clear, GetFormat.
class ClipboardObject : public HostObject {
 public:
  std::u16string typeName() const override { return u"Clipboard"; }
  bool hasDefaultMember() const override { return false; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;
};

// A printer that accepts every drawing and document call and prints nothing.
class PrinterObject : public HostObject {
 public:
  std::u16string typeName() const override { return u"Printer"; }
  vbs::DispId findMember(std::u16string_view name) override;
  bool hasDefaultMember() const override { return false; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  std::map<std::u16string, vbs::Value> values_;
  std::map<vbs::DispId, std::u16string> names_;
};

// The printers: the one printer above.
class PrintersObject : public HostObject {
 public:
  explicit PrintersObject(vbs::Dispatch* printer) : printer_(printer) {}
  std::u16string typeName() const override { return u"Printers"; }
  std::unique_ptr<vbs::Enumerator> newEnum() override;

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  vbs::Ref<vbs::Dispatch> printer_;
};

// The frame history list box: ListCount, List(i), AddItem, RemoveItem, Clear.
class FramesHistoryObject : public HostObject {
 public:
  explicit FramesHistoryObject(engine::FramesHistoryList& list) : list_(list) {}
  std::u16string typeName() const override { return u"ListBox"; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  engine::FramesHistoryList& list_;
};

}  // namespace qm::script
