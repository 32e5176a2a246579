#include "vbscript/runtime/ScriptPaths.h"

#include <system_error>

#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"
#include "vbscript/runtime/DiskNames.h"

namespace fs = std::filesystem;

namespace qm::vbs::rt {

namespace {

bool isSep(char16_t c) { return c == u'\\' || c == u'/'; }

bool hasDrive(const std::u16string& p)
{
    return p.size() >= 2 && p[1] == u':' &&
           ((p[0] >= u'a' && p[0] <= u'z') || (p[0] >= u'A' && p[0] <= u'Z'));
}

// Finds `name` in `dir` ignoring case, and by the text scripts see for names
// in raw bytes; returns the name as stored on disk.
std::string matchComponent(const fs::path& dir, const std::string& name)
{
    std::error_code ec;
    if (fs::exists(dir / name, ec))
        return name;
    std::u16string wanted = diskNameText(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (diskNameMatches(candidate, wanted))
            return candidate;
    }
    return name;
}

bool within(const fs::path& p, const fs::path& root)
{
    auto rp = root.begin(), pp = p.begin();
    for (; rp != root.end(); ++rp, ++pp) {
        if (rp->empty())
            continue; // trailing separator
        if (pp == p.end() || *pp != *rp)
            return false;
    }
    return true;
}

} // namespace

ScriptPaths::ScriptPaths(const std::string& root)
{
    std::error_code ec;
    if (root.empty()) {
        base_ = fs::current_path(ec);
    } else {
        confined_ = true;
        base_ = fs::weakly_canonical(fs::absolute(root, ec), ec).lexically_normal();
    }
    std::string s = base_.string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    base_ = s;
}

fs::path ScriptPaths::resolve(const std::u16string& scriptPath) const
{
    if (scriptPath.empty())
        raise(err::PathNotFound);
    std::u16string p = scriptPath;
    bool absolute = false;
    if (hasDrive(p)) {
        p = p.substr(2);
        absolute = !p.empty() && isSep(p[0]);
    } else if (isSep(p[0])) {
        absolute = true;
    }
    for (auto& c : p)
        if (c == u'\\')
            c = u'/';
    fs::path native = absolute ? fs::path(toUtf8(p)) : base_ / toUtf8(p);
    native = native.lexically_normal();
    std::string s = native.string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    native = s;
    // The root may be named in raw bytes: scripts write it as they see it.
    if (confined_ && !within(native, base_) && !within(native, fs::path(toUtf8(display(base_)))))
        raise(err::PermissionDenied);
    // Match each existing component ignoring case (names in raw bytes by the
    // text scripts see for them); the match is checked again below.
    fs::path out = native.root_path();
    for (const auto& part : native.relative_path()) {
        std::error_code ec;
        if (fs::is_directory(out, ec))
            out /= matchComponent(out, part.string());
        else
            out /= part;
    }
    // The path stays inside; so must the file it leads to, links followed.
    if ((confined_ && !within(out, base_)) || !contains(out))
        raise(err::PermissionDenied);
    return out;
}

bool ScriptPaths::contains(const fs::path& native) const
{
    if (!confined_)
        return true;
    std::error_code ec;
    fs::path real = fs::weakly_canonical(native, ec);
    if (ec)
        return false;
    return within(real, base_);
}

std::vector<std::string> ScriptPaths::roots() const
{
    if (!confined_)
        return {};
    return {base_.string()};
}

std::u16string ScriptPaths::display(const fs::path& native) const { return diskPathText(native.string()); }

std::u16string pathFileName(const std::u16string& path)
{
    std::u16string p = path;
    while (!p.empty() && isSep(p.back()))
        p.pop_back();
    size_t cut = p.find_last_of(u"\\/:");
    return cut == std::u16string::npos ? p : p.substr(cut + 1);
}

std::u16string pathBaseName(const std::u16string& path)
{
    std::u16string name = pathFileName(path);
    size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? name : name.substr(0, dot);
}

std::u16string pathExtension(const std::u16string& path)
{
    std::u16string name = pathFileName(path);
    size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

std::u16string pathParent(const std::u16string& path)
{
    std::u16string p = path;
    while (!p.empty() && isSep(p.back()))
        p.pop_back();
    size_t cut = p.find_last_of(u"\\/");
    if (cut == std::u16string::npos)
        return hasDrive(p) ? p.substr(0, 2) : std::u16string();
    std::u16string parent = p.substr(0, cut);
    if (parent.empty() || (parent.size() == 2 && hasDrive(parent)))
        return p.substr(0, cut + 1);
    while (parent.size() > 1 && isSep(parent.back()))
        parent.pop_back();
    return parent;
}

std::u16string pathDrive(const std::u16string& path) { return hasDrive(path) ? path.substr(0, 2) : std::u16string(); }

std::u16string pathJoin(const std::u16string& path, const std::u16string& name)
{
    if (path.empty())
        return name;
    if (isSep(path.back()) || path.back() == u':' || (!name.empty() && isSep(name.front())))
        return path + name;
    bool slashes = path.find(u'/') != std::u16string::npos && path.find(u'\\') == std::u16string::npos;
    return path + (slashes ? u"/" : u"\\") + name;
}

} // namespace qm::vbs::rt
