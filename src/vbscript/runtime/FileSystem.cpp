#include "vbscript/runtime/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/GameFileOpen.h"
#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/DiskNames.h"
#include "vbscript/runtime/DriveObject.h"
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/ScriptPaths.h"
#include "vbscript/runtime/TextStream.h"

namespace fs = std::filesystem;

namespace qm::vbs::rt {

namespace {

using PathsPtr = std::shared_ptr<const ScriptPaths>;

constexpr int32_t kDeviceUnavailable = 68;

std::u16string textArg(std::span<Value> args, size_t i)
{
    Value v = resolveObjectDefault(args[i]);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    return toString(v);
}

bool boolOr(std::span<Value> args, size_t i, bool fallback)
{
    if (i >= args.size() || args[i].isMissing())
        return fallback;
    return toBool(resolveObjectDefault(args[i]));
}

int32_t intOr(std::span<Value> args, size_t i, int32_t fallback)
{
    if (i >= args.size() || args[i].isMissing())
        return fallback;
    return toInt32(resolveObjectDefault(args[i]));
}

double fileTimeToSerial(fs::file_time_type t)
{
    auto sys = std::chrono::time_point_cast<std::chrono::seconds>(
        t - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
    std::time_t tt = std::chrono::system_clock::to_time_t(sys);
    std::tm local{};
    localtime_r(&tt, &local);
    auto serial = makeSerial(daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                             local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    return serial ? *serial : 0.0;
}

bool hasWildcard(const std::u16string& name) { return name.find_first_of(u"*?") != std::u16string::npos; }

bool wildcardMatch(std::u16string_view pattern, std::u16string_view name)
{
    size_t p = 0, n = 0, star = std::u16string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            mark = n;
        } else if (star != std::u16string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// The paths a file or folder specification names (wildcards in the last part).
std::vector<fs::path> expand(const ScriptPaths& paths, const std::u16string& spec, bool folders)
{
    std::vector<fs::path> out;
    std::error_code ec;
    std::u16string name = pathFileName(spec);
    if (!hasWildcard(name)) {
        fs::path p = paths.resolve(spec);
        if (folders ? fs::is_directory(p, ec) : fs::is_regular_file(p, ec))
            out.push_back(p);
        return out;
    }
    std::u16string parent = pathParent(spec);
    fs::path dir = parent.empty() ? paths.base() : paths.resolve(parent);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        bool isDir = it->is_directory(ec);
        if (isDir == folders && wildcardMatch(name, diskNameText(it->path().filename().string())) &&
            paths.contains(it->path()))
            out.push_back(it->path());
    }
    return out;
}

// True when removing or moving `target` would take away the scripts' own base
// folder or the program's working folder (or a folder holding either).
bool protectedFolder(const ScriptPaths& paths, const fs::path& target)
{
    std::error_code ec;
    fs::path t = fs::weakly_canonical(target, ec);
    if (ec)
        t = target.lexically_normal();
    auto holds = [&](const fs::path& inner) {
        fs::path in = fs::weakly_canonical(inner, ec);
        if (ec)
            in = inner.lexically_normal();
        auto ti = t.begin(), ii = in.begin();
        for (; ti != t.end(); ++ti, ++ii) {
            if (ti->empty())
                continue;
            if (ii == in.end() || *ti != *ii)
                return false;
        }
        return true;
    };
    return t == t.root_path() || holds(paths.base()) || holds(fs::current_path(ec));
}

// A file's bytes into another, both opened as game files are (regular files
// inside the roots, never through a link); false when either is refused.
bool copyFileContents(const fs::path& from, const fs::path& to, const std::vector<std::string>& roots)
{
    const int in = platform::openGameFile(from.string(), platform::OpenFor::Reading, roots);
    if (in < 0)
        return false;
    struct stat st{};
    ::fstat(in, &st);
    const int out = platform::openGameFile(to.string(), platform::OpenFor::Writing, roots, st.st_mode & 0777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += w > 0 ? w : 0;
        }
    }
    ::close(in);
    return ::close(out) == 0 && ok;
}

void copyOne(const ScriptPaths& paths, const fs::path& from, const fs::path& to, bool overwrite, bool folder)
{
    std::error_code ec, missing;
    if (fs::exists(fs::symlink_status(to, missing)) && !overwrite)
        raise(err::FileAlreadyExists);
    if (folder)
        // Links inside are copied as links: their targets are not read.
        fs::copy(from, to,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks,
                 ec);
    else if (!copyFileContents(from, to, paths.roots()))
        raise(err::PermissionDenied);
    if (ec)
        raise(err::PermissionDenied);
}

// Destination for a copy or move: into a folder when it ends with a separator or is one.
fs::path destinationFor(const ScriptPaths& paths, const std::u16string& dest, const fs::path& source, bool many)
{
    std::error_code ec;
    fs::path d = paths.resolve(dest);
    bool intoFolder = (!dest.empty() && (dest.back() == u'\\' || dest.back() == u'/')) || many;
    if (intoFolder || fs::is_directory(d, ec)) {
        if (!fs::is_directory(d, ec))
            raise(err::PathNotFound);
        return d / source.filename();
    }
    return d;
}

std::u16string fileTypeName(const fs::path& p)
{
    // The extension as the whole name reads (its code page is the name's).
    std::u16string ext = pathExtension(diskNameText(p.filename().string()));
    if (p.extension().string().size() > 1 && !ext.empty())
    {
        std::u16string upper = ext;
        for (auto& c : upper)
            c = upperCase(c);
        return upper + u" File";
    }
    return u"File";
}

// The entry of `dir` a script means by `name`: letter case aside, and a name in
// raw bytes by the text scripts see for it. Names with separators name none.
std::optional<fs::path> entryNamed(const fs::path& dir, const std::u16string& name)
{
    if (name.empty() || name.find_first_of(u"\\/") != std::u16string::npos)
        return std::nullopt;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (diskNameMatches(it->path().filename().string(), name))
            return it->path();
    return std::nullopt;
}

class ItemList;
class FolderItem;

// ---- File ------------------------------------------------------------------

enum ItemMember : DispId {
    ItemPath = DispIdValue, ItemName = 1, ItemShortName, ItemShortPath, ItemSize, ItemType, ItemDateCreated,
    ItemDateLastModified, ItemDateLastAccessed, ItemAttributes, ItemParentFolder, ItemDrive, ItemCopy, ItemDelete,
    ItemMove, ItemOpenAsTextStream, ItemFiles, ItemSubFolders, ItemIsRootFolder, ItemCreateTextFile
};

const MemberEntry kFileMembers[] = {
    {u"Path", ItemPath}, {u"Name", ItemName}, {u"ShortName", ItemShortName}, {u"ShortPath", ItemShortPath},
    {u"Size", ItemSize}, {u"Type", ItemType}, {u"DateCreated", ItemDateCreated},
    {u"DateLastModified", ItemDateLastModified}, {u"DateLastAccessed", ItemDateLastAccessed},
    {u"Attributes", ItemAttributes}, {u"ParentFolder", ItemParentFolder}, {u"Drive", ItemDrive},
    {u"Copy", ItemCopy}, {u"Delete", ItemDelete}, {u"Move", ItemMove},
    {u"OpenAsTextStream", ItemOpenAsTextStream},
};

const MemberEntry kFolderMembers[] = {
    {u"Path", ItemPath}, {u"Name", ItemName}, {u"ShortName", ItemShortName}, {u"ShortPath", ItemShortPath},
    {u"Size", ItemSize}, {u"Type", ItemType}, {u"DateCreated", ItemDateCreated},
    {u"DateLastModified", ItemDateLastModified}, {u"DateLastAccessed", ItemDateLastAccessed},
    {u"Attributes", ItemAttributes}, {u"ParentFolder", ItemParentFolder}, {u"Drive", ItemDrive},
    {u"Copy", ItemCopy}, {u"Delete", ItemDelete}, {u"Move", ItemMove}, {u"Files", ItemFiles},
    {u"SubFolders", ItemSubFolders}, {u"IsRootFolder", ItemIsRootFolder}, {u"CreateTextFile", ItemCreateTextFile},
};

Value makeFolder(const PathsPtr& paths, const fs::path& p);
// The drive's root is the folder scripts are confined to, else the native root.
DriveSource driveSource(const PathsPtr& paths);
Value makeFile(const PathsPtr& paths, const fs::path& p);
Value makeList(const PathsPtr& paths, const fs::path& dir, bool folders);

uintmax_t folderSize(const fs::path& p)
{
    uintmax_t total = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            total += it->file_size(ec);
    return total;
}

class FileSystemItem : public Dispatch {
public:
    FileSystemItem(PathsPtr paths, fs::path p, bool folder) : paths_(std::move(paths)), path_(std::move(p)), folder_(folder) {}
    std::u16string typeName() const override { return folder_ ? u"Folder" : u"File"; }
    DispId findMember(std::u16string_view name) override
    {
        return folder_ ? findInTable(kFolderMembers, name) : findInTable(kFileMembers, name);
    }
    const void* classKey() const override { return folder_ ? static_cast<const void*>(kFolderMembers) : kFileMembers; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        bool put = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
        std::error_code ec;
        switch (id) {
        case ItemPath:
        case ItemShortPath: checkArgCount(args, 0, 0); return Value(paths_->display(path_));
        case ItemName:
        case ItemShortName:
            if (put && id == ItemName) {
                checkArgCount(args, 1, 1);
                std::u16string name = textArg(args, 0);
                if (name.empty() || name.find_first_of(u"\\/:*?\"<>|") != std::u16string::npos)
                    raise(err::InvalidCall);
                auto taken = entryNamed(path_.parent_path(), name);
                if (taken && *taken != path_)
                    raise(err::FileAlreadyExists);
                fs::path target = path_.parent_path() / toUtf8(name);
                if (fs::exists(target, ec))
                    raise(err::FileAlreadyExists);
                fs::rename(path_, target, ec);
                if (ec)
                    raise(err::PermissionDenied);
                path_ = target;
                return Value();
            }
            checkArgCount(args, 0, 0);
            return Value(diskNameText(path_.filename().string()));
        case ItemSize: {
            checkArgCount(args, 0, 0);
            uintmax_t size = folder_ ? folderSize(path_) : fs::file_size(path_, ec);
            if (ec)
                raise(err::FileNotFound);
            if (size <= 2147483647u)
                return Value(static_cast<int32_t>(size));
            return Value(static_cast<double>(size));
        }
        case ItemType: checkArgCount(args, 0, 0); return Value(folder_ ? std::u16string(u"File folder") : fileTypeName(path_));
        case ItemDateCreated:
        case ItemDateLastModified:
        case ItemDateLastAccessed: {
            checkArgCount(args, 0, 0);
            auto t = fs::last_write_time(path_, ec);
            if (ec)
                raise(err::FileNotFound);
            return Value::date(fileTimeToSerial(t));
        }
        case ItemAttributes: {
            auto perms = fs::status(path_, ec).permissions();
            if (ec)
                raise(err::FileNotFound);
            bool readOnly = (perms & fs::perms::owner_write) == fs::perms::none;
            if (put) {
                checkArgCount(args, 1, 1);
                int32_t attrs = toInt32(resolveObjectDefault(args[0]));
                fs::permissions(path_, fs::perms::owner_write,
                                (attrs & 1) ? fs::perm_options::remove : fs::perm_options::add, ec);
                return Value();
            }
            checkArgCount(args, 0, 0);
            int32_t attrs = (readOnly ? 1 : 0) | (folder_ ? 16 : 32);
            std::string name = path_.filename().string();
            if (!name.empty() && name[0] == '.')
                attrs |= 2;
            return Value(static_cast<int16_t>(attrs));
        }
        case ItemParentFolder:
            checkArgCount(args, 0, 0);
            if (isRoot())
                return Value::nothing();
            return makeFolder(paths_, path_.parent_path());
        case ItemDrive: checkArgCount(args, 0, 0); return newDrive(driveSource(paths_));
        case ItemIsRootFolder: checkArgCount(args, 0, 0); return Value(isRoot());
        case ItemCopy: {
            checkArgCount(args, 1, 2);
            copyOne(*paths_, path_, destinationFor(*paths_, textArg(args, 0), path_, false), boolOr(args, 1, true), folder_);
            return Value();
        }
        case ItemMove: {
            checkArgCount(args, 1, 1);
            if (folder_ && protectedFolder(*paths_, path_))
                raise(err::PermissionDenied);
            fs::path to = destinationFor(*paths_, textArg(args, 0), path_, false);
            if (fs::exists(to, ec))
                raise(err::FileAlreadyExists);
            fs::rename(path_, to, ec);
            if (ec)
                raise(err::PermissionDenied);
            path_ = to;
            return Value();
        }
        case ItemDelete: {
            checkArgCount(args, 0, 1);
            if (isRoot() || (folder_ && protectedFolder(*paths_, path_)))
                raise(err::PermissionDenied);
            if (folder_)
                fs::remove_all(path_, ec);
            else
                fs::remove(path_, ec);
            if (ec)
                raise(err::PermissionDenied);
            return Value();
        }
        case ItemOpenAsTextStream: {
            if (folder_)
                raise(err::NoSuchMember);
            checkArgCount(args, 0, 2);
            int32_t mode = intOr(args, 0, 1);
            if (mode != 1 && mode != 2 && mode != 8)
                raise(err::InvalidCall);
            return Value(new TextStream(path_, static_cast<StreamMode>(mode), intOr(args, 1, 0), false, paths_->roots()));
        }
        case ItemFiles:
        case ItemSubFolders: {
            // Folder.Files(name) indexes the collection directly.
            checkArgCount(args, 0, 1);
            Value list = makeList(paths_, path_, id == ItemSubFolders);
            if (args.empty())
                return list;
            return list.asObject()->invoke(DispIdValue, InvokeKind::PropertyGet, args);
        }
        case ItemCreateTextFile: {
            checkArgCount(args, 1, 3);
            std::u16string name = textArg(args, 0);
            fs::path file = entryNamed(path_, name).value_or(path_ / toUtf8(name));
            if (paths_->confined())
                file = paths_->resolve(paths_->display(file));
            if (fs::exists(file, ec) && !boolOr(args, 1, true))
                raise(err::FileAlreadyExists);
            return Value(new TextStream(file, StreamMode::Write, boolOr(args, 2, false) ? -1 : 0, true, paths_->roots()));
        }
        default: raise(err::NoSuchMember);
        }
    }

    const fs::path& nativePath() const { return path_; }

private:
    bool isRoot() const { return path_ == path_.root_path() || (paths_->confined() && path_ == paths_->base()); }

    PathsPtr paths_;
    fs::path path_;
    bool folder_;
};

Value makeFolder(const PathsPtr& paths, const fs::path& p) { return Value(new FileSystemItem(paths, p, true)); }
Value makeFile(const PathsPtr& paths, const fs::path& p) { return Value(new FileSystemItem(paths, p, false)); }

// ---- Files / Folders collections -------------------------------------------

enum ListMember : DispId { ListItem = DispIdValue, ListCount = 1, ListAdd };
const MemberEntry kListMembers[] = {{u"Item", ListItem}, {u"Count", ListCount}, {u"Add", ListAdd}};

class ItemList : public Dispatch {
public:
    ItemList(PathsPtr paths, fs::path dir, bool folders) : paths_(std::move(paths)), dir_(std::move(dir)), folders_(folders) {}
    std::u16string typeName() const override { return folders_ ? u"Folders" : u"Files"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kListMembers, name); }
    const void* classKey() const override { return kListMembers; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
            raise(err::WrongArgCount);
        std::error_code ec;
        switch (id) {
        case ListCount: checkArgCount(args, 0, 0); return Value(static_cast<int32_t>(entries().size()));
        case ListItem: {
            checkArgCount(args, 1, 1);
            std::u16string name = textArg(args, 0);
            for (const auto& p : entries())
                if (diskNameMatches(p.filename().string(), name))
                    return folders_ ? makeFolder(paths_, p) : makeFile(paths_, p);
            raise(folders_ ? err::PathNotFound : err::FileNotFound);
        }
        case ListAdd: {
            if (!folders_)
                raise(err::NoSuchMember);
            checkArgCount(args, 1, 1);
            std::u16string name = textArg(args, 0);
            fs::path p = dir_ / toUtf8(name);
            if (entryNamed(dir_, name) || fs::exists(p, ec))
                raise(err::FileAlreadyExists);
            if (!fs::create_directory(p, ec))
                raise(err::PathNotFound);
            return makeFolder(paths_, p);
        }
        default: raise(err::NoSuchMember);
        }
    }

    std::unique_ptr<Enumerator> newEnum() override
    {
        std::vector<Value> items;
        for (const auto& p : entries())
            items.push_back(folders_ ? makeFolder(paths_, p) : makeFile(paths_, p));
        return std::make_unique<ValueListEnumerator>(std::move(items));
    }

private:
    std::vector<fs::path> entries() const
    {
        std::vector<fs::path> out;
        std::error_code ec;
        for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec) == folders_ && paths_->contains(it->path()))
                out.push_back(it->path());
        std::sort(out.begin(), out.end(), [](const fs::path& a, const fs::path& b) {
            return compareText(diskNameText(a.filename().string()), diskNameText(b.filename().string())) < 0;
        });
        return out;
    }

    PathsPtr paths_;
    fs::path dir_;
    bool folders_;
};

Value makeList(const PathsPtr& paths, const fs::path& dir, bool folders) { return Value(new ItemList(paths, dir, folders)); }

DriveSource driveSource(const PathsPtr& paths)
{
    fs::path root = paths->confined() ? paths->base() : fs::path("/");
    return DriveSource{root, [paths, root] { return makeFolder(paths, root); }};
}

// ---- FileSystemObject --------------------------------------------------------

enum FsoMember : DispId {
    BuildPath = 1, CopyFile, CopyFolder, CreateFolder, CreateTextFile, DeleteFile, DeleteFolder, DriveExists,
    FileExists, FolderExists, GetAbsolutePathName, GetBaseName, GetDriveName, GetExtensionName, GetFile,
    GetFileName, GetFolder, GetParentFolderName, GetSpecialFolder, GetTempName, MoveFile, MoveFolder, OpenTextFile,
    GetFileVersion, GetDrive, Drives
};

const MemberEntry kFsoMembers[] = {
    {u"BuildPath", BuildPath}, {u"CopyFile", CopyFile}, {u"CopyFolder", CopyFolder},
    {u"CreateFolder", CreateFolder}, {u"CreateTextFile", CreateTextFile}, {u"DeleteFile", DeleteFile},
    {u"DeleteFolder", DeleteFolder}, {u"DriveExists", DriveExists}, {u"FileExists", FileExists},
    {u"FolderExists", FolderExists}, {u"GetAbsolutePathName", GetAbsolutePathName}, {u"GetBaseName", GetBaseName},
    {u"GetDriveName", GetDriveName}, {u"GetExtensionName", GetExtensionName}, {u"GetFile", GetFile},
    {u"GetFileName", GetFileName}, {u"GetFolder", GetFolder}, {u"GetParentFolderName", GetParentFolderName},
    {u"GetSpecialFolder", GetSpecialFolder}, {u"GetTempName", GetTempName}, {u"MoveFile", MoveFile},
    {u"MoveFolder", MoveFolder}, {u"OpenTextFile", OpenTextFile}, {u"GetFileVersion", GetFileVersion},
    {u"GetDrive", GetDrive}, {u"Drives", Drives},
};

class FileSystemObject : public Dispatch {
public:
    explicit FileSystemObject(const std::string& root) : paths_(std::make_shared<ScriptPaths>(root)) {}
    std::u16string typeName() const override { return u"FileSystemObject"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kFsoMembers, name); }
    const void* classKey() const override { return kFsoMembers; }
    bool hasDefaultMember() const override { return false; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
            raise(err::WrongArgCount);
        const ScriptPaths& paths = *paths_;
        std::error_code ec;
        switch (id) {
        case BuildPath: checkArgCount(args, 2, 2); return Value(pathJoin(textArg(args, 0), textArg(args, 1)));
        case GetFileName: checkArgCount(args, 1, 1); return Value(pathFileName(textArg(args, 0)));
        case GetBaseName: checkArgCount(args, 1, 1); return Value(pathBaseName(textArg(args, 0)));
        case GetExtensionName: checkArgCount(args, 1, 1); return Value(pathExtension(textArg(args, 0)));
        case GetParentFolderName: checkArgCount(args, 1, 1); return Value(pathParent(textArg(args, 0)));
        case GetDriveName: checkArgCount(args, 1, 1); return Value(pathDrive(textArg(args, 0)));
        case GetAbsolutePathName: checkArgCount(args, 1, 1); return Value(paths.display(paths.resolve(textArg(args, 0))));
        case GetFileVersion: checkArgCount(args, 1, 1); return Value(std::u16string());
        case GetDrive: {
            checkArgCount(args, 1, 1);
            std::u16string spec = textArg(args, 0);
            if (isOurDriveSpec(spec))
                return newDrive(driveSource(paths_));
            // A well-formed letter that is not ours names a missing device.
            bool letter = !spec.empty() && ((spec[0] | 0x20) >= u'a' && (spec[0] | 0x20) <= u'z');
            if (letter && (spec.size() == 1 || (spec[1] == u':' && (spec.size() == 2 || (spec.size() == 3 && (spec[2] == u'\\' || spec[2] == u'/'))))))
                raise(kDeviceUnavailable);
            raise(err::InvalidCall);
        }
        case Drives: checkArgCount(args, 0, 0); return newDriveList(driveSource(paths_));
        case DriveExists: {
            checkArgCount(args, 1, 1);
            std::u16string d = textArg(args, 0);
            return Value(!d.empty() && (d[0] == u'c' || d[0] == u'C') && (d.size() == 1 || d[1] == u':'));
        }
        case FileExists:
            checkArgCount(args, 1, 1);
            return Value(existsAs(textArg(args, 0), false));
        case FolderExists:
            checkArgCount(args, 1, 1);
            return Value(existsAs(textArg(args, 0), true));
        case GetFile: {
            checkArgCount(args, 1, 1);
            fs::path p = paths.resolve(textArg(args, 0));
            if (!fs::is_regular_file(p, ec))
                raise(err::FileNotFound);
            return makeFile(paths_, p);
        }
        case GetFolder: {
            checkArgCount(args, 1, 1);
            fs::path p = paths.resolve(textArg(args, 0));
            if (!fs::is_directory(p, ec))
                raise(err::PathNotFound);
            return makeFolder(paths_, p);
        }
        case GetSpecialFolder: {
            checkArgCount(args, 1, 1);
            int32_t which = toInt32(resolveObjectDefault(args[0]));
            if (which < 0 || which > 2)
                raise(err::InvalidCall);
            if (paths.confined())
                return makeFolder(paths_, paths.base());
            return makeFolder(paths_, which == 2 ? fs::temp_directory_path(ec) : fs::path("/"));
        }
        case GetTempName: {
            checkArgCount(args, 0, 0);
            static std::mt19937 gen{std::random_device{}()};
            char buf[16];
            std::snprintf(buf, sizeof buf, "rad%05X.tmp", static_cast<unsigned>(gen() & 0xFFFFF));
            return Value(u16(buf));
        }
        case CreateFolder: {
            checkArgCount(args, 1, 1);
            fs::path p = paths.resolve(textArg(args, 0));
            if (fs::exists(p, ec))
                raise(err::FileAlreadyExists);
            if (!fs::is_directory(p.parent_path(), ec))
                raise(err::PathNotFound);
            if (!fs::create_directory(p, ec))
                raise(err::PermissionDenied);
            return makeFolder(paths_, p);
        }
        case CreateTextFile: {
            checkArgCount(args, 1, 3);
            fs::path p = paths.resolve(textArg(args, 0));
            if (fs::exists(p, ec) && !boolOr(args, 1, true))
                raise(err::FileAlreadyExists);
            return Value(new TextStream(p, StreamMode::Write, boolOr(args, 2, false) ? -1 : 0, true, paths.roots()));
        }
        case OpenTextFile: {
            checkArgCount(args, 1, 4);
            fs::path p = paths.resolve(textArg(args, 0));
            int32_t mode = intOr(args, 1, 1);
            if (mode != 1 && mode != 2 && mode != 8)
                raise(err::InvalidCall);
            int32_t format = intOr(args, 3, 0);
            if (format < -2 || format > 0)
                raise(err::InvalidCall);
            return Value(new TextStream(p, static_cast<StreamMode>(mode), format, boolOr(args, 2, false), paths.roots()));
        }
        case DeleteFile:
        case DeleteFolder: {
            checkArgCount(args, 1, 2);
            bool folders = id == DeleteFolder;
            auto targets = expand(paths, textArg(args, 0), folders);
            if (targets.empty())
                raise(folders ? err::PathNotFound : err::FileNotFound);
            for (const auto& t : targets) {
                if (folders && protectedFolder(paths, t))
                    raise(err::PermissionDenied);
                if (!boolOr(args, 1, false) && (fs::status(t, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
                    raise(err::PermissionDenied);
                if (folders)
                    fs::remove_all(t, ec);
                else
                    fs::remove(t, ec);
                if (ec)
                    raise(err::PermissionDenied);
            }
            return Value();
        }
        case CopyFile:
        case CopyFolder: {
            checkArgCount(args, 2, 3);
            bool folders = id == CopyFolder;
            std::u16string spec = textArg(args, 0);
            auto sources = expand(paths, spec, folders);
            if (sources.empty())
                raise(folders ? err::PathNotFound : err::FileNotFound);
            bool many = hasWildcard(pathFileName(spec));
            for (const auto& s : sources)
                copyOne(paths, s, destinationFor(paths, textArg(args, 1), s, many), boolOr(args, 2, true), folders);
            return Value();
        }
        case MoveFile:
        case MoveFolder: {
            checkArgCount(args, 2, 2);
            bool folders = id == MoveFolder;
            std::u16string spec = textArg(args, 0);
            auto sources = expand(paths, spec, folders);
            if (sources.empty())
                raise(folders ? err::PathNotFound : err::FileNotFound);
            bool many = hasWildcard(pathFileName(spec));
            for (const auto& s : sources) {
                if (folders && protectedFolder(paths, s))
                    raise(err::PermissionDenied);
                fs::path to = destinationFor(paths, textArg(args, 1), s, many);
                if (fs::exists(to, ec))
                    raise(err::FileAlreadyExists);
                fs::rename(s, to, ec);
                if (ec)
                    raise(err::PermissionDenied);
            }
            return Value();
        }
        default: raise(err::NoSuchMember);
        }
    }

    fs::path nativePath(const std::u16string& scriptPath) const { return paths_->resolve(scriptPath); }

private:
    bool existsAs(const std::u16string& spec, bool folder) const
    {
        try {
            fs::path p = paths_->resolve(spec);
            std::error_code ec;
            return folder ? fs::is_directory(p, ec) : fs::is_regular_file(p, ec);
        } catch (const ScriptError&) {
            return false;
        }
    }

    PathsPtr paths_;
};

} // namespace

Dispatch* newFileSystemObject(BuiltinContext& ctx) { return new FileSystemObject(ctx.host().fileSystemRoot()); }

std::optional<fs::path> nativePathFor(Dispatch& fileSystemObject, const std::u16string& scriptPath)
{
    if (auto* fso = dynamic_cast<FileSystemObject*>(&fileSystemObject))
        return fso->nativePath(scriptPath);
    return std::nullopt;
}

std::optional<fs::path> nativePathOf(Dispatch& item)
{
    if (auto* it = dynamic_cast<FileSystemItem*>(&item))
        return it->nativePath();
    return std::nullopt;
}

} // namespace qm::vbs::rt
