// WScript, its Arguments collection and text streams, and console dialogs.
#include "vbsrunner/ScriptHost.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "vbscript/ScriptError.h"

namespace qm::vbs {

namespace {

const char16_t kCp1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                              0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

bool validUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (n < 0 || i + n >= s.size() + (n == 0 ? 1 : 0)) {
      if (n != 0) return false;
    }
    for (int k = 1; k <= n; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += static_cast<size_t>(n) + 1;
  }
  return true;
}

void writeOut(FILE* f, const std::u16string& text, bool newline) {
  std::string s = toUtf8(text);
  std::fwrite(s.data(), 1, s.size(), f);
  if (newline) std::fputc('\n', f);
}

// A text stream on stdout or stderr.
class ConsoleStream : public Dispatch {
 public:
  explicit ConsoleStream(FILE* f) : f_(f) {}
  std::u16string typeName() const override { return u"TextStream"; }
  DispId findMember(std::u16string_view name) override {
    static constexpr MemberEntry table[] = {{u"Write", 1}, {u"WriteLine", 2}, {u"WriteBlankLines", 3}, {u"Close", 4}};
    return findInTable(table, name);
  }
  bool hasDefaultMember() const override { return false; }
  Value invoke(DispId id, InvokeKind, std::span<Value> args) override {
    switch (id) {
      case 1: checkArgCount(args, 1, 1); writeOut(f_, toString(args[0]), false); return Value();
      case 2: checkArgCount(args, 0, 1); writeOut(f_, args.empty() ? u"" : toString(args[0]), true); return Value();
      case 3: {
        checkArgCount(args, 1, 1);
        for (int i = toInt32(args[0]); i > 0; --i) std::fputc('\n', f_);
        return Value();
      }
      case 4: return Value();
      default: raise(err::NoSuchMember);
    }
  }

 private:
  FILE* f_;
};

class ArgumentsObject : public Dispatch {
 public:
  explicit ArgumentsObject(std::vector<std::u16string> a) : a_(std::move(a)) {}
  std::u16string typeName() const override { return u"Object"; }
  DispId findMember(std::u16string_view name) override {
    static constexpr MemberEntry table[] = {{u"Item", 0}, {u"Count", 1}, {u"Length", 1}};
    return findInTable(table, name);
  }
  Value invoke(DispId id, InvokeKind, std::span<Value> args) override {
    if (id == 1) return Value(static_cast<int32_t>(a_.size()));
    if (id != 0) raise(err::NoSuchMember);
    checkArgCount(args, 1, 1);
    int32_t i = toInt32(args[0]);
    if (i < 0 || static_cast<size_t>(i) >= a_.size()) raise(err::SubscriptOutOfRange);
    return Value(a_[static_cast<size_t>(i)]);
  }
  std::unique_ptr<Enumerator> newEnum() override {
    std::vector<Value> items;
    for (const auto& a : a_) items.emplace_back(a);
    return std::make_unique<ValueListEnumerator>(std::move(items));
  }

 private:
  std::vector<std::u16string> a_;
};

enum : DispId { Echo = 1, Arguments, Quit, StdOut, StdErr, Sleep, ScriptName, ScriptFullName, Name, Version,
                Interactive, CreateObjectId };

}  // namespace

std::u16string decodeScriptText(const std::string& b) {
  if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xFE) {
    std::u16string out;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
      out += static_cast<char16_t>(static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8);
    return out;
  }
  if (b.size() >= 3 && b.compare(0, 3, "\xEF\xBB\xBF") == 0) return fromUtf8(std::string_view(b).substr(3));
  if (validUtf8(b)) return fromUtf8(b);
  std::u16string out;
  out.reserve(b.size());
  for (unsigned char c : b) out += (c >= 0x80 && c < 0xA0) ? kCp1252[c - 0x80] : static_cast<char16_t>(c);
  return out;
}

int ConsoleHost::msgBox(const std::u16string& prompt, int, const std::u16string& title) {
  std::u16string text = title.empty() ? prompt : title + u": " + prompt;
  writeOut(stdout, text, true);
  return 1;
}

std::optional<std::u16string> ConsoleHost::inputBox(const std::u16string& prompt, const std::u16string&,
                                                    const std::u16string& defaultText) {
  writeOut(stdout, prompt, true);
  std::string line;
  if (!std::getline(std::cin, line)) return defaultText;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return fromUtf8(line);
}

void ConsoleHost::writeLine(const std::u16string& text) { writeOut(stdout, text, true); }

WScriptObject::WScriptObject(std::string scriptPath, std::vector<std::u16string> args) : path_(std::move(scriptPath)) {
  arguments_ = Value(static_cast<Dispatch*>(new ArgumentsObject(std::move(args))));
  stdOut_ = Value(static_cast<Dispatch*>(new ConsoleStream(stdout)));
  stdErr_ = Value(static_cast<Dispatch*>(new ConsoleStream(stderr)));
}

DispId WScriptObject::findMember(std::u16string_view name) {
  static constexpr MemberEntry table[] = {
      {u"Echo", Echo}, {u"Arguments", Arguments}, {u"Quit", Quit}, {u"StdOut", StdOut}, {u"StdErr", StdErr},
      {u"Sleep", Sleep}, {u"ScriptName", ScriptName}, {u"ScriptFullName", ScriptFullName}, {u"Name", Name},
      {u"Version", Version}, {u"Interactive", Interactive}};
  return findInTable(table, name);
}

Value WScriptObject::invoke(DispId id, InvokeKind, std::span<Value> args) {
  switch (id) {
    case Echo: {
      std::u16string line;
      for (size_t i = 0; i < args.size(); ++i) {
        if (i) line += u' ';
        if (args[i].isMissing()) continue;
        Value v = defaultValueOf(args[i]);
        if (v.isNull()) line += u"Null";
        else line += toString(v);
      }
      writeOut(stdout, line, true);
      return Value();
    }
    case Arguments:
      if (args.empty()) return arguments_;
      return arguments_.asObject()->invoke(0, InvokeKind::PropertyGet, args);
    case Quit: {
      checkArgCount(args, 0, 1);
      std::fflush(stdout);
      throw QuitRequest{args.empty() || args[0].isMissing() ? 0 : toInt32(args[0])};
    }
    case StdOut: return stdOut_;
    case StdErr: return stdErr_;
    case Sleep: {
      checkArgCount(args, 1, 1);
      int32_t ms = toInt32(args[0]);
      if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      return Value();
    }
    case ScriptName: {
      size_t slash = path_.find_last_of("/\\");
      return Value(fromUtf8(slash == std::string::npos ? path_ : path_.substr(slash + 1)));
    }
    case ScriptFullName: return Value(fromUtf8(path_));
    case Name: return Value(std::u16string(u"Windows Script Host"));
    case Version: return Value(std::u16string(u"5.8"));
    case Interactive: return Value(false);
    default: raise(err::NoSuchMember);
  }
}

}  // namespace qm::vbs
