#pragma once
// Scripting.Dictionary: keyed items in insertion order, keys compared by value
// (numbers by value, strings binary or text by CompareMode, objects by identity).
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"

namespace qm::vbs::rt {

class Dictionary : public Dispatch {
public:
    std::u16string typeName() const override { return u"Dictionary"; }
    DispId findMember(std::u16string_view name) override;
    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;
    std::unique_ptr<Enumerator> newEnum() override;
    const void* classKey() const override;

    // C++ access (used by tests and hosts).
    void add(const Value& key, const Value& item);
    bool exists(const Value& key) const;
    size_t count() const { return live_; }

private:
    struct Entry {
        Value key;
        Value item;
        bool alive = true;
    };
    std::u16string normalise(const Value& key) const;
    long indexOf(const Value& key) const;
    Value& itemFor(const Value& key, bool create);
    void remove(const Value& key);
    void compact();
    std::vector<Value> keys() const;

    std::vector<Entry> entries_;
    std::unordered_map<std::u16string, size_t> index_;
    size_t live_ = 0;
    int compareMode_ = 0;
};

Dispatch* newDictionary(BuiltinContext& ctx);

} // namespace qm::vbs::rt
