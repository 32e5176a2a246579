// A small least-recently-used cache of compiled modules keyed by their text.
#include "vbscript/vm/ParseCache.h"

#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Parser.h"

namespace qm::vbs {

namespace {

constexpr size_t kMaxEntries = 256;
constexpr size_t kMaxTotalChars = size_t(64) << 20;

struct Entry {
  std::u16string text;  // the source, then (for code run inside a procedure) its scope
  bool expression;
  std::shared_ptr<const Module> module;
};

struct Cache {
  std::mutex mutex;
  std::list<Entry> lru;  // most recent first
  std::unordered_multimap<size_t, std::list<Entry>::iterator> index;
  size_t totalChars = 0;
};

Cache& cache() {
  static Cache c;
  return c;
}

size_t keyOf(std::u16string_view text, bool expression) {
  return std::hash<std::u16string_view>{}(text) ^ (expression ? 0x9e3779b97f4a7c15ull : 0);
}


// What a text compiled inside a procedure depends on: the procedure's slot
// names and its class's member names.
std::u16string scopeSignature(const FunctionCode* outer) {
  std::u16string sig(1, u'\0');
  for (const auto& n : outer->slotNames) {
    sig += toLowerCopy(n);
    sig += u'\1';
  }
  if (outer->owner) {
    sig += u'\2';
    for (const auto& m : outer->owner->members) {
      sig += toLowerCopy(m.name);
      sig += m.field >= 0 ? u'\3' : u'\4';
    }
  }
  return sig;
}

}  // namespace

std::shared_ptr<const Module> compileCached(std::u16string_view source, bool expression, const FunctionCode* outer) {
  std::u16string scoped;
  std::u16string_view text = source;
  if (outer) {
    scoped.assign(source);
    scoped += scopeSignature(outer);
    text = scoped;
  }
  Cache& c = cache();
  size_t key = keyOf(text, expression);
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    auto range = c.index.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
      auto entry = it->second;
      if (entry->expression == expression && entry->text == text) {
        c.lru.splice(c.lru.begin(), c.lru, entry);
        return entry->module;
      }
    }
  }
  ast::Program program = parseProgram(source, expression ? ParseMode::Expression : ParseMode::Program);
  std::shared_ptr<const Module> module = compileProgram(program, expression, outer);
  std::lock_guard<std::mutex> lock(c.mutex);
  if (text.size() > kMaxTotalChars / 2) return module;
  c.lru.push_front(Entry{std::u16string(text), expression, module});
  c.index.emplace(key, c.lru.begin());
  c.totalChars += text.size();
  while (c.lru.size() > kMaxEntries || c.totalChars > kMaxTotalChars) {
    auto last = std::prev(c.lru.end());
    size_t k = keyOf(last->text, last->expression);
    auto range = c.index.equal_range(k);
    for (auto it = range.first; it != range.second; ++it) {
      if (it->second == last) {
        c.index.erase(it);
        break;
      }
    }
    c.totalChars -= last->text.size();
    c.lru.erase(last);
  }
  return module;
}

void clearParseCache() {
  Cache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.index.clear();
  c.lru.clear();
  c.totalChars = 0;
}

}  // namespace qm::vbs
