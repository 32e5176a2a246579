#include "script/FileSystemGuard.h"

#include <map>
#include <memory>

#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeName.h"
#include "script/ScriptValues.h"
#include "vbscript/runtime/FileSystem.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {

[[noreturn]] void denied() {
  throw vb::ScriptError(vb::err::PermissionDenied, u"Permission denied: files can only be changed in the External folder");
}

// What every guarded object shares: the file-system object (to find the file a
// script's path names the way it finds it) and the writable folder.
struct GuardContext {
  vb::Ref<vb::Dispatch> fso;
  QString writable;  // native path of the writable folder

  // The native path of the file the object acts on. Names on disk may be raw
  // bytes that scripts see as Windows-1252 text: only the object itself knows
  // which entry a text names, so the rule is checked on that entry.
  QString native(const vb::Value& path) {
    const auto p = vbs::rt::nativePathFor(*fso.get(), toU16(argText(path)));
    return p ? platform::nameFromBytes(QByteArray::fromStdString(p->string())) : QString();
  }
  // Real paths are compared (links followed, for a file still to be created
  // those of its existing parents): a link inside the folder that leads
  // elsewhere does not make elsewhere writable.
  bool isWritable(const QString& nativePath) {
    if (nativePath.isEmpty()) return false;
    const QString real = platform::realPathOf(nativePath);
    const QString folder = platform::realPathOf(writable);
    return real != folder && platform::isInsideFolder(real, folder);
  }
  void require(const vb::Value& path) { requireNative(native(path)); }
  void requireNative(const QString& nativePath) {
    if (!isWritable(nativePath)) denied();
  }
};

vb::Value wrap(const vb::Value& v, const std::shared_ptr<GuardContext>& ctx, const QString& ownerPath);

class GuardedObject : public vb::Dispatch {
 public:
  GuardedObject(vb::Dispatch* inner, std::shared_ptr<GuardContext> ctx, QString ownerPath)
      : inner_(inner), ctx_(std::move(ctx)), ownerPath_(std::move(ownerPath)) {}

  std::u16string typeName() const override { return inner_->typeName(); }
  bool hasDefaultMember() const override { return inner_->hasDefaultMember(); }
  vb::DispId findMember(std::u16string_view name) override {
    const vb::DispId id = inner_->findMember(name);
    if (id != vb::DispIdUnknown) names_[id] = vb::toLowerCopy(name);
    return id;
  }
  vb::Value invoke(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    auto it = names_.find(id);
    const std::u16string name = it == names_.end() ? std::u16string() : it->second;
    check(name, kind, args);
    return wrap(inner_->invoke(id, kind, args), ctx_, selfPath());
  }
  std::unique_ptr<vb::Enumerator> newEnum() override {
    auto inner = inner_->newEnum();
    if (!inner) return nullptr;
    return std::make_unique<GuardedEnumerator>(std::move(inner), ctx_, ownerPath_);
  }

 private:
  class GuardedEnumerator : public vb::Enumerator {
   public:
    GuardedEnumerator(std::unique_ptr<vb::Enumerator> inner, std::shared_ptr<GuardContext> ctx, QString owner)
        : inner_(std::move(inner)), ctx_(std::move(ctx)), owner_(std::move(owner)) {}
    bool next(vb::Value& out) override {
      vb::Value v;
      if (!inner_->next(v)) return false;
      out = wrap(v, ctx_, owner_);
      return true;
    }

   private:
    std::unique_ptr<vb::Enumerator> inner_;
    std::shared_ptr<GuardContext> ctx_;
    QString owner_;
  };

  // The object's own native path (files and folders), else the path it came from.
  QString selfPath() {
    const auto p = vbs::rt::nativePathOf(*inner_.get());
    return p ? platform::nameFromBytes(QByteArray::fromStdString(p->string())) : ownerPath_;
  }
  static const vb::Value& at(std::span<vb::Value> args, size_t i) {
    static const vb::Value missing = vb::Value::missing();
    return i < args.size() ? args[i].deref() : missing;
  }
  static bool writesByMode(std::span<vb::Value> args, size_t modeIndex, size_t createIndex) {
    const vb::Value& mode = at(args, modeIndex);
    const int m = mode.isMissing() ? 1 : vb::toInt32(mode);
    const vb::Value& create = at(args, createIndex);
    return m == 2 || m == 8 || (!create.isMissing() && vb::toBool(create));
  }
  void check(const std::u16string& name, vb::InvokeKind kind, std::span<vb::Value> args) {
    const std::u16string type = inner_->typeName();
    const bool write = kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet;
    auto& c = *ctx_;
    if (type == u"FileSystemObject") {
      if (name == u"copyfile" || name == u"copyfolder") c.require(at(args, 1));
      if (name == u"movefile" || name == u"movefolder") c.require(at(args, 0)), c.require(at(args, 1));
      if (name == u"createfolder" || name == u"createtextfile" || name == u"deletefile" || name == u"deletefolder")
        c.require(at(args, 0));
      if (name == u"opentextfile" && writesByMode(args, 1, 2)) c.require(at(args, 0));
      return;
    }
    if (type == u"File" || type == u"Folder") {
      const QString self = selfPath();
      if (name == u"delete" || name == u"createtextfile" || (write && (name == u"name" || name == u"attributes")))
        c.requireNative(self);
      if (name == u"move") c.requireNative(self), c.require(at(args, 0));
      if (name == u"copy") c.require(at(args, 0));
      if (name == u"openastextstream" && writesByMode(args, 0, 99)) c.requireNative(self);
      return;
    }
    if (type == u"Folders" && name == u"add") c.requireNative(ownerPath_);
  }

  vb::Ref<vb::Dispatch> inner_;
  std::shared_ptr<GuardContext> ctx_;
  QString ownerPath_;
  std::map<vb::DispId, std::u16string> names_;
};

vb::Value wrap(const vb::Value& v, const std::shared_ptr<GuardContext>& ctx, const QString& ownerPath) {
  if (!v.isObject() || !v.asObject()) return v;
  const std::u16string type = v.asObject()->typeName();
  // Text streams were opened under the rules already; other objects are not the file system's.
  if (type != u"File" && type != u"Folder" && type != u"Files" && type != u"Folders" && type != u"FileSystemObject")
    return v;
  return vb::Value(new GuardedObject(v.asObject(), ctx, ownerPath));
}

}  // namespace

vb::Value GuardFileSystemObject(const vb::Value& fileSystemObject, const QString& writableFolder) {
  if (!fileSystemObject.isObject() || !fileSystemObject.asObject()) return fileSystemObject;
  auto ctx = std::make_shared<GuardContext>();
  ctx->fso = vb::Ref<vb::Dispatch>(fileSystemObject.asObject());
  ctx->writable = platform::toNativeSeparators(writableFolder);
  return vb::Value(new GuardedObject(fileSystemObject.asObject(), ctx, QString()));
}

}  // namespace qm::script
