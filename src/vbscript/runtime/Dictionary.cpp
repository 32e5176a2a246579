#include "vbscript/runtime/Dictionary.h"

#include <cstdio>

#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

namespace {

enum Member : DispId { Item = DispIdValue, Add = 1, Exists, Items, Keys, Remove, RemoveAll, Count, Key, CompareMode, HashVal };

const MemberEntry kMembers[] = {
    {u"Item", Item},       {u"Add", Add},         {u"Exists", Exists}, {u"Items", Items},
    {u"Keys", Keys},       {u"Remove", Remove},   {u"RemoveAll", RemoveAll},
    {u"Count", Count},     {u"Key", Key},         {u"CompareMode", CompareMode},
    {u"HashVal", HashVal},
};

constexpr int32_t kKeyExists = 457;    // This key is already associated with an element of this collection
constexpr int32_t kElementNotFound = 32811;

const Value& arg(std::span<Value> args, size_t i)
{
    static const Value empty;
    return i < args.size() && !args[i].isMissing() ? args[i] : empty;
}

} // namespace

DispId Dictionary::findMember(std::u16string_view name) { return findInTable(kMembers, name); }

const void* Dictionary::classKey() const { return kMembers; }

std::u16string Dictionary::normalise(const Value& key) const
{
    char buf[40];
    switch (key.type()) {
    case VarType::Empty: return u"e";
    case VarType::Null: return u"z";
    case VarType::String: return u"s" + (compareMode_ == 0 ? key.asString() : toLowerCopy(key.asString()));
    case VarType::Object:
        std::snprintf(buf, sizeof buf, "o%p", static_cast<void*>(key.asObject()));
        return u16(buf);
    case VarType::Array:
    case VarType::Error: raise(err::TypeMismatch);
    default: {
        double d = toDouble(key);
        if (d == 0)
            d = 0; // -0 and 0 are one key
        std::snprintf(buf, sizeof buf, "n%.17g", d);
        return u16(buf);
    }
    }
}

long Dictionary::indexOf(const Value& key) const
{
    auto it = index_.find(normalise(key));
    return it == index_.end() ? -1 : static_cast<long>(it->second);
}

void Dictionary::add(const Value& key, const Value& item)
{
    std::u16string k = normalise(key);
    if (index_.count(k))
        raise(kKeyExists);
    index_.emplace(std::move(k), entries_.size());
    entries_.push_back({key, item, true});
    ++live_;
}

bool Dictionary::exists(const Value& key) const { return indexOf(key) >= 0; }

Value& Dictionary::itemFor(const Value& key, bool create)
{
    long i = indexOf(key);
    if (i < 0) {
        if (!create)
            raise(kElementNotFound);
        add(key, Value());
        i = static_cast<long>(entries_.size()) - 1;
    }
    return entries_[static_cast<size_t>(i)].item;
}

void Dictionary::remove(const Value& key)
{
    auto it = index_.find(normalise(key));
    if (it == index_.end())
        raise(kElementNotFound);
    Entry& e = entries_[it->second];
    e.alive = false;
    e.key.clear();
    e.item.clear();
    index_.erase(it);
    --live_;
    if (entries_.size() > 32 && live_ < entries_.size() / 2)
        compact();
}

void Dictionary::compact()
{
    std::vector<Entry> kept;
    kept.reserve(live_);
    for (auto& e : entries_)
        if (e.alive)
            kept.push_back(std::move(e));
    entries_ = std::move(kept);
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        index_.emplace(normalise(entries_[i].key), i);
}

std::vector<Value> Dictionary::keys() const
{
    std::vector<Value> out;
    out.reserve(live_);
    for (const auto& e : entries_)
        if (e.alive)
            out.push_back(e.key);
    return out;
}

std::unique_ptr<Enumerator> Dictionary::newEnum() { return std::make_unique<ValueListEnumerator>(keys()); }

Value Dictionary::invoke(DispId id, InvokeKind kind, std::span<Value> args)
{
    bool put = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
    switch (id) {
    case Item:
        if (put) {
            checkArgCount(args, 2, 2);
            itemFor(arg(args, 0), true) = args[1];
            return Value();
        }
        checkArgCount(args, 1, 1);
        return itemFor(arg(args, 0), true);
    case Add:
        checkArgCount(args, 2, 2);
        add(arg(args, 0), arg(args, 1));
        return Value();
    case Exists: checkArgCount(args, 1, 1); return Value(exists(arg(args, 0)));
    case Items: {
        checkArgCount(args, 0, 0);
        std::vector<Value> items;
        items.reserve(live_);
        for (const auto& e : entries_)
            if (e.alive)
                items.push_back(e.item);
        return makeArray(std::move(items));
    }
    case Keys: checkArgCount(args, 0, 0); return makeArray(keys());
    case Remove: checkArgCount(args, 1, 1); remove(arg(args, 0)); return Value();
    case RemoveAll:
        checkArgCount(args, 0, 0);
        entries_.clear();
        index_.clear();
        live_ = 0;
        return Value();
    case Count:
        if (put)
            raise(err::WrongArgCount);
        checkArgCount(args, 0, 0);
        return Value(static_cast<int32_t>(live_));
    case Key: {
        if (!put)
            raise(err::WrongArgCount);
        checkArgCount(args, 2, 2);
        long i = indexOf(arg(args, 0));
        if (i < 0)
            raise(kElementNotFound);
        const Value& newKey = args[1];
        std::u16string nk = normalise(newKey);
        if (index_.count(nk))
            raise(kKeyExists);
        index_.erase(normalise(entries_[static_cast<size_t>(i)].key));
        entries_[static_cast<size_t>(i)].key = newKey;
        index_.emplace(std::move(nk), static_cast<size_t>(i));
        return Value();
    }
    case CompareMode:
        if (put) {
            checkArgCount(args, 1, 1);
            int32_t mode = toInt32(args[0]);
            if (mode < 0 || live_ > 0)
                raise(err::InvalidCall);
            compareMode_ = mode == 0 ? 0 : 1;
            return Value();
        }
        checkArgCount(args, 0, 0);
        return Value(static_cast<int32_t>(compareMode_));
    case HashVal: {
        checkArgCount(args, 1, 1);
        size_t h = hashNoCase(normalise(arg(args, 0)));
        return Value(static_cast<int32_t>(h % 1201));
    }
    default: raise(err::NoSuchMember);
    }
}

Dispatch* newDictionary(BuiltinContext&) { return new Dictionary; }

} // namespace qm::vbs::rt
