// The tokenizer: names, literals, operators, comments and line continuations.
#include "vbscript/compiler/Lexer.h"

#include <cmath>
#include <unordered_map>

#include "vbscript/ScriptError.h"

namespace qm::vbs {

namespace {

const std::unordered_map<std::u16string, Kw>& keywordTable() {
  static const std::unordered_map<std::u16string, Kw> table = {
      {u"and", Kw::And}, {u"byref", Kw::ByRef}, {u"byval", Kw::ByVal}, {u"call", Kw::Call},
      {u"case", Kw::Case}, {u"class", Kw::Class}, {u"const", Kw::Const}, {u"default", Kw::Default},
      {u"dim", Kw::Dim}, {u"do", Kw::Do}, {u"each", Kw::Each}, {u"else", Kw::Else},
      {u"elseif", Kw::ElseIf}, {u"empty", Kw::Empty}, {u"end", Kw::End}, {u"eqv", Kw::Eqv},
      {u"erase", Kw::Erase}, {u"error", Kw::Error}, {u"exit", Kw::Exit}, {u"explicit", Kw::Explicit},
      {u"false", Kw::False}, {u"for", Kw::For}, {u"function", Kw::Function}, {u"get", Kw::Get},
      {u"goto", Kw::GoTo}, {u"if", Kw::If}, {u"imp", Kw::Imp}, {u"in", Kw::In}, {u"is", Kw::Is},
      {u"let", Kw::Let}, {u"loop", Kw::Loop}, {u"me", Kw::Me}, {u"mod", Kw::Mod}, {u"new", Kw::New},
      {u"next", Kw::Next}, {u"not", Kw::Not}, {u"nothing", Kw::Nothing}, {u"null", Kw::Null},
      {u"on", Kw::On}, {u"option", Kw::Option}, {u"or", Kw::Or}, {u"preserve", Kw::Preserve},
      {u"private", Kw::Private}, {u"property", Kw::Property}, {u"public", Kw::Public},
      {u"redim", Kw::ReDim}, {u"resume", Kw::Resume}, {u"select", Kw::Select}, {u"set", Kw::Set},
      {u"step", Kw::Step}, {u"stop", Kw::Stop}, {u"sub", Kw::Sub}, {u"then", Kw::Then}, {u"to", Kw::To},
      {u"true", Kw::True}, {u"until", Kw::Until}, {u"wend", Kw::Wend}, {u"while", Kw::While},
      {u"with", Kw::With}, {u"xor", Kw::Xor}, {u"randomize", Kw::Randomize},
  };
  return table;
}

bool isLetter(char16_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000);
}
bool isDigit(char16_t c) { return c >= '0' && c <= '9'; }
bool isBlank(char16_t c) { return c == ' ' || c == '\t' || c == 0xA0 || c == 0xFEFF; }

class Lexer {
 public:
  explicit Lexer(std::u16string_view text) : s_(text) {}

  std::vector<Token> run() {
    std::vector<Token> out;
    out.reserve(s_.size() / 4 + 8);
    bool space = false;
    // Just after a line continuation: a '.' there still reaches back to the
    // name or call before the '_' (o _ / .Method).
    bool continued = false;
    while (pos_ < s_.size()) {
      char16_t c = s_[pos_];
      if (isBlank(c)) { advance(); space = true; continue; }
      if (c == '\'') { skipComment(); continue; }
      if (c == '_' && continuationFollows()) { continued = true; continue; }
      Token t;
      t.line = line_;
      t.column = col_;
      t.spaceBefore = space;
      bool afterContinuation = continued;
      space = false;
      continued = false;
      if (c == '\r' || c == '\n') {
        if (c == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
        col_ = 1;
        t.type = Tok::Newline;
        pushNewline(out, std::move(t));
        continue;
      }
      if (c == ':') {
        advance();
        t.type = Tok::Newline;
        t.text = u":";
        out.push_back(std::move(t));
        continue;
      }
      if (isLetter(c)) {
        size_t start = pos_;
        while (pos_ < s_.size() && (isLetter(s_[pos_]) || isDigit(s_[pos_]) || s_[pos_] == '_')) advance();
        t.text.assign(s_.substr(start, pos_ - start));
        if (t.text.size() > 255) fail(err::IdentifierTooLong, t.line, t.column);
        t.type = Tok::Ident;
        bool afterDot = !out.empty() && out.back().type == Tok::Dot && !t.spaceBefore;
        if (!afterDot) {
          auto it = keywordTable().find(toLowerCopy(t.text));
          if (it != keywordTable().end()) t.kw = it->second;
        }
        if (!afterDot && equalsNoCase(t.text, u"rem")) { skipComment(); continue; }
        out.push_back(std::move(t));
        continue;
      }
      if (c == '[') {
        advance();
        size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != ']' && s_[pos_] != '\n' && s_[pos_] != '\r') advance();
        if (pos_ >= s_.size() || s_[pos_] != ']') fail(err::ExpectedRBracket, line_, col_);
        t.text.assign(s_.substr(start, pos_ - start));
        advance();
        t.type = Tok::Ident;
        out.push_back(std::move(t));
        continue;
      }
      if (isDigit(c) || (c == '.' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1]) &&
                         (out.empty() || t.spaceBefore || !attachable(out.back())))) {
        lexNumber(t);
        out.push_back(std::move(t));
        continue;
      }
      if (c == '&' && pos_ + 1 < s_.size() &&
          (s_[pos_ + 1] == 'h' || s_[pos_ + 1] == 'H' || s_[pos_ + 1] == 'o' || s_[pos_ + 1] == 'O' ||
           isDigit(s_[pos_ + 1]))) {
        if (lexRadix(t)) {
          out.push_back(std::move(t));
          continue;
        }
      }
      if (c == '"') { lexString(t); out.push_back(std::move(t)); continue; }
      if (c == '#') { lexDate(t); out.push_back(std::move(t)); continue; }
      advance();
      switch (c) {
        case '(': t.type = Tok::LParen; break;
        case ')': t.type = Tok::RParen; break;
        case ',': t.type = Tok::Comma; break;
        case '.':
          t.type = Tok::Dot;
          t.attachedDot = !out.empty() && (!t.spaceBefore || afterContinuation) && attachable(out.back());
          break;
        case '+': t.type = Tok::Plus; break;
        case '-': t.type = Tok::Minus; break;
        case '*': t.type = Tok::Star; break;
        case '/': t.type = Tok::Slash; break;
        case '\\': t.type = Tok::Backslash; break;
        case '^': t.type = Tok::Caret; break;
        case '&': t.type = Tok::Amp; break;
        case '=':
          if (peekIs('<')) { advance(); t.type = Tok::LessEq; }
          else if (peekIs('>')) { advance(); t.type = Tok::GreaterEq; }
          else t.type = Tok::Equal;
          break;
        case '<':
          if (peekIs('>')) { advance(); t.type = Tok::NotEqual; }
          else if (peekIs('=')) { advance(); t.type = Tok::LessEq; }
          else t.type = Tok::Less;
          break;
        case '>':
          if (peekIs('=')) { advance(); t.type = Tok::GreaterEq; }
          else if (peekIs('<')) { advance(); t.type = Tok::NotEqual; }
          else t.type = Tok::Greater;
          break;
        default:
          fail(err::InvalidCharacter, t.line, t.column);
      }
      out.push_back(std::move(t));
    }
    Token nl;
    nl.type = Tok::Newline;
    nl.line = line_;
    nl.column = col_;
    pushNewline(out, nl);
    Token end;
    end.type = Tok::End;
    end.line = line_;
    end.column = col_;
    out.push_back(std::move(end));
    return out;
  }

 private:
  static bool attachable(const Token& t) {
    return t.type == Tok::Ident || t.type == Tok::RParen;
  }
  static void pushNewline(std::vector<Token>& out, Token t) {
    // Collapse runs of line ends; keeps the token stream small. Colons stay:
    // they separate the statements of a single-line If.
    if (!out.empty() && out.back().type == Tok::Newline && out.back().text.empty()) return;
    out.push_back(std::move(t));
  }
  void advance() { ++pos_; ++col_; }
  bool peekIs(char16_t c) const { return pos_ < s_.size() && s_[pos_] == c; }
  [[noreturn]] void fail(int32_t number, int line, int col) {
    ScriptError e(number, ErrorKind::Syntax);
    e.line = line;
    e.column = col;
    throw e;
  }
  void skipComment() {
    while (pos_ < s_.size() && s_[pos_] != '\n' && s_[pos_] != '\r') advance();
  }
  bool continuationFollows() {
    // '_' then blanks then a line end: joins the lines.
    size_t p = pos_ + 1;
    while (p < s_.size() && isBlank(s_[p])) ++p;
    if (p < s_.size() && s_[p] != '\r' && s_[p] != '\n') return false;
    if (p < s_.size() && s_[p] == '\r' && p + 1 < s_.size() && s_[p + 1] == '\n') ++p;
    pos_ = p + 1;
    ++line_;
    col_ = 1;
    return true;
  }
  void lexNumber(Token& t) {
    size_t start = pos_;
    bool isFloat = false;
    while (pos_ < s_.size() && isDigit(s_[pos_])) advance();
    if (pos_ < s_.size() && s_[pos_] == '.') {
      isFloat = true;
      advance();
      while (pos_ < s_.size() && isDigit(s_[pos_])) advance();
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      size_t p = pos_ + 1;
      if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
      if (p < s_.size() && isDigit(s_[p])) {
        isFloat = true;
        while (pos_ < p) advance();
        while (pos_ < s_.size() && isDigit(s_[pos_])) advance();
      }
    }
    std::string ascii;
    for (size_t i = start; i < pos_; ++i) ascii += static_cast<char>(s_[i]);
    double d = std::strtod(ascii.c_str(), nullptr);
    if (std::isinf(d)) fail(err::InvalidNumber, t.line, t.column);
    t.type = Tok::Number;
    if (!isFloat && d <= 32767) t.value = Value(static_cast<int16_t>(d));
    else if (!isFloat && d <= 2147483647.0) t.value = Value(static_cast<int32_t>(d));
    else t.value = Value(d);
  }
  bool lexRadix(Token& t) {
    size_t save = pos_;
    int saveCol = col_;
    advance();  // &
    int base = 8;
    if (s_[pos_] == 'h' || s_[pos_] == 'H') { base = 16; advance(); }
    else if (s_[pos_] == 'o' || s_[pos_] == 'O') { advance(); }
    uint64_t v = 0;
    int digits = 0;
    while (pos_ < s_.size()) {
      char16_t c = s_[pos_];
      int dv = -1;
      if (isDigit(c)) dv = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') dv = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') dv = c - 'A' + 10;
      if (dv < 0 || dv >= base) break;
      v = v * base + dv;
      if (v > 0xFFFFFFFFull) fail(err::InvalidNumber, t.line, t.column);
      ++digits;
      advance();
    }
    if (digits == 0) {
      pos_ = save;
      col_ = saveCol;
      return false;
    }
    t.type = Tok::Number;
    auto bits = static_cast<int32_t>(static_cast<uint32_t>(v));
    if (pos_ < s_.size() && s_[pos_] == '&') {
      // With a trailing '&' the digits are a 32-bit value, an Integer when it
      // fits one: &hFFFF& is 65535, &hFFFFFFFF& is -1.
      advance();
      if (bits >= -32768 && bits <= 32767) t.value = Value(static_cast<int16_t>(bits));
      else t.value = Value(bits);
      return true;
    }
    // Without it up to four digits make an Integer (&hFFFF is -1), more a Long.
    if (v <= 0xFFFF) t.value = Value(static_cast<int16_t>(static_cast<uint16_t>(v)));
    else t.value = Value(bits);
    return true;
  }
  void lexString(Token& t) {
    advance();
    std::u16string text;
    for (;;) {
      if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r') fail(err::UnterminatedString, t.line, t.column);
      char16_t c = s_[pos_];
      advance();
      if (c == '"') {
        if (peekIs('"')) { text += u'"'; advance(); continue; }
        break;
      }
      text += c;
    }
    t.type = Tok::String;
    t.value = Value(text);
  }
  void lexDate(Token& t) {
    advance();
    size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] != '#' && s_[pos_] != '\n' && s_[pos_] != '\r') advance();
    if (pos_ >= s_.size() || s_[pos_] != '#') fail(err::Syntax, t.line, t.column);
    std::u16string_view body = s_.substr(start, pos_ - start);
    advance();
    double serial;
    if (!parseDateText(body, serial)) fail(err::Syntax, t.line, t.column);
    t.type = Tok::Date;
    t.value = Value::date(serial);
  }

  std::u16string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
  int col_ = 1;
};

}  // namespace

bool isReservedKeyword(Kw kw) {
  switch (kw) {
    case Kw::None: case Kw::Error: case Kw::Explicit: case Kw::Get: case Kw::Let: case Kw::Step:
    case Kw::Property: case Kw::Default: case Kw::Preserve: case Kw::Resume: case Kw::Randomize:
    case Kw::Stop:
      return false;
    default:
      return true;
  }
}

std::vector<Token> tokenize(std::u16string_view text) { return Lexer(text).run(); }

}  // namespace qm::vbs
