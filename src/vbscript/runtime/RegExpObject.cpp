#include "vbscript/runtime/RegExpObject.h"

#include <optional>
#include <vector>

#include "vbscript/Operators.h"
#include "vbscript/TimeLimit.h"
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/Regex.h"

namespace qm::vbs::rt {

// More matches than any real script needs; each one is an object of its own.
constexpr size_t kMaxMatches = size_t(1) << 20;

namespace {

[[noreturn]] void raiseRegex(const RegexError& e)
{
    throw ScriptError(e.number(), u16(e.what()));
}

// Enumerates a fixed list of values.
enum ListMember : DispId { ListItem = DispIdValue, ListCount = 1 };
const MemberEntry kListMembers[] = {{u"Item", ListItem}, {u"Count", ListCount}};

// A read-only indexed collection (Matches, SubMatches).
class ValueList : public Dispatch {
public:
    ValueList(std::u16string name, std::vector<Value> items) : name_(std::move(name)), items_(std::move(items)) {}
    std::u16string typeName() const override { return name_; }
    DispId findMember(std::u16string_view name) override { return findInTable(kListMembers, name); }
    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
            raise(err::WrongArgCount);
        if (id == ListCount) {
            checkArgCount(args, 0, 0);
            return Value(static_cast<int32_t>(items_.size()));
        }
        if (id == ListItem) {
            checkArgCount(args, 1, 1);
            int32_t i = toInt32(args[0].isObject() ? Value() : args[0]);
            if (i < 0 || static_cast<size_t>(i) >= items_.size())
                raise(err::InvalidCall);
            return items_[static_cast<size_t>(i)];
        }
        raise(err::NoSuchMember);
    }
    std::unique_ptr<Enumerator> newEnum() override { return std::make_unique<ValueListEnumerator>(items_); }
    const void* classKey() const override { return kListMembers; }

private:
    std::u16string name_;
    std::vector<Value> items_;
};

enum MatchMember : DispId { MatchValue = DispIdValue, MatchFirstIndex = 1, MatchLength, MatchSubMatches };
const MemberEntry kMatchMembers[] = {
    {u"Value", MatchValue}, {u"FirstIndex", MatchFirstIndex}, {u"Length", MatchLength}, {u"SubMatches", MatchSubMatches}};

class MatchObject : public Dispatch {
public:
    MatchObject(const std::u16string& text, const RegexMatch& m)
        : value_(text.substr(m.index, m.length)), index_(static_cast<int32_t>(m.index)),
          length_(static_cast<int32_t>(m.length))
    {
        for (auto& g : m.groups) {
            if (g.first < 0)
                groups_.emplace_back();
            else
                groups_.emplace_back(text.substr(static_cast<size_t>(g.first), static_cast<size_t>(g.second - g.first)));
        }
    }
    std::u16string typeName() const override { return u"IMatch2"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kMatchMembers, name); }
    const void* classKey() const override { return kMatchMembers; }
    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
            raise(err::WrongArgCount);
        if (id == MatchSubMatches && args.size() == 1) {
            // Match.SubMatches(i) indexes the collection directly.
            ValueList list(u"ISubMatches", groups_);
            return list.invoke(ListItem, InvokeKind::PropertyGet, args);
        }
        checkArgCount(args, 0, 0);
        switch (id) {
        case MatchValue: return Value(value_);
        case MatchFirstIndex: return Value(index_);
        case MatchLength: return Value(length_);
        case MatchSubMatches: return Value(new ValueList(u"ISubMatches", groups_));
        default: raise(err::NoSuchMember);
        }
    }
    const std::vector<Value>& groups() const { return groups_; }

private:
    std::u16string value_;
    int32_t index_, length_;
    std::vector<Value> groups_;
};

enum RegExpMember : DispId { Pattern = 1, IgnoreCase, Global, Multiline, Test, Execute, Replace };
const MemberEntry kRegExpMembers[] = {{u"Pattern", Pattern}, {u"IgnoreCase", IgnoreCase}, {u"Global", Global},
                                      {u"Multiline", Multiline}, {u"Test", Test}, {u"Execute", Execute},
                                      {u"Replace", Replace}};

class RegExpObject : public Dispatch {
public:
    RegExpObject() = default;
    std::u16string typeName() const override { return u"IRegExp2"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kRegExpMembers, name); }
    const void* classKey() const override { return kRegExpMembers; }
    bool hasDefaultMember() const override { return false; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        bool put = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
        switch (id) {
        case Pattern:
            if (put) {
                checkArgCount(args, 1, 1);
                pattern_ = toString(plain(args[0]));
                compiled_.reset();
                return Value();
            }
            checkArgCount(args, 0, 0);
            return Value(pattern_);
        case IgnoreCase: return flag(ignoreCase_, put, args);
        case Global: return flag(global_, put, args);
        case Multiline: return flag(multiline_, put, args);
        case Test: {
            checkArgCount(args, 1, 1);
            std::u16string text = toString(plain(args[0]));
            RegexMatch m;
            return Value(search(text, 0, m));
        }
        case Execute: {
            checkArgCount(args, 1, 1);
            std::u16string text = toString(plain(args[0]));
            std::vector<Value> matches;
            forEachMatch(text, [&](const RegexMatch& m) {
                // A hostile pattern (an empty match at every position of a huge
                // text) must end with an error, not exhaust memory.
                if (matches.size() >= kMaxMatches)
                    raise(err::OutOfMemory);
                matches.emplace_back(new MatchObject(text, m));
            });
            return Value(new ValueList(u"IMatchCollection2", std::move(matches)));
        }
        case Replace: {
            checkArgCount(args, 2, 2);
            std::u16string text = toString(plain(args[0]));
            Value with = args[1];
            std::u16string out;
            size_t last = 0;
            forEachMatch(text, [&](const RegexMatch& m) {
                out.append(text, last, m.index - last);
                out += replacement(text, m, with);
                if (out.size() > kMaxStringLength)
                    raise(err::OutOfStringSpace);
                last = m.index + m.length;
            });
            out.append(text, last, std::u16string::npos);
            return Value(std::move(out));
        }
        default: raise(err::NoSuchMember);
        }
    }

private:
    Value plain(const Value& v)
    {
        Value p = resolveObjectDefault(v);
        if (p.isNull())
            raise(err::InvalidUseOfNull);
        return p;
    }

    Value flag(bool& field, bool put, std::span<Value> args)
    {
        if (put) {
            checkArgCount(args, 1, 1);
            field = toBool(plain(args[0]));
            compiled_.reset();
            return Value();
        }
        checkArgCount(args, 0, 0);
        return Value(field);
    }

    const Regex& compiled()
    {
        if (!compiled_) {
            try {
                compiled_.emplace(pattern_, ignoreCase_, multiline_);
            } catch (const RegexError& e) {
                raiseRegex(e);
            }
        }
        return *compiled_;
    }

    bool search(const std::u16string& text, size_t from, RegexMatch& m)
    {
        const Regex& re = compiled();
        try {
            return re.search(text, from, m);
        } catch (const RegexError& e) {
            raiseRegex(e);
        }
    }

    template <class F>
    void forEachMatch(const std::u16string& text, F&& onMatch)
    {
        size_t at = 0;
        RegexMatch m;
        for (size_t found = 1; at <= text.size() && search(text, at, m); ++found) {
            if (found % 4096 == 0)
                checkTimeLimit();
            onMatch(m);
            if (!global_)
                break;
            at = m.index + (m.length ? m.length : 1);
        }
    }

    std::u16string replacement(const std::u16string& text, const RegexMatch& m, const Value& with)
    {
        if (with.type() == VarType::Boolean)  // the number, as CStr(CInt(b)) gives it: "-1"
            return expandReplacement(with.asBool() ? u"-1" : u"0", text, m);
        if (!with.isObject())
            return expandReplacement(toString(plain(with)), text, m);
        // A function reference receives the match, each submatch, the position and the source.
        if (with.isNothing())
            raise(err::ObjectNotSet);
        std::vector<Value> callArgs;
        callArgs.emplace_back(text.substr(m.index, m.length));
        for (auto& g : m.groups)
            callArgs.push_back(g.first < 0 ? Value() : Value(text.substr(static_cast<size_t>(g.first), static_cast<size_t>(g.second - g.first))));
        callArgs.emplace_back(static_cast<int32_t>(m.index));
        callArgs.emplace_back(text);
        Value r = with.asObject()->invoke(DispIdValue, InvokeKind::Method, callArgs);
        return toString(plain(r));
    }

    std::u16string pattern_;
    bool ignoreCase_ = false, global_ = false, multiline_ = false;
    std::optional<Regex> compiled_;
};

} // namespace

Dispatch* newRegExp(BuiltinContext&) { return new RegExpObject; }

} // namespace qm::vbs::rt
