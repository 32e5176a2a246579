// Splits script text into tokens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/Value.h"

namespace qm::vbs {

enum class Tok : uint8_t {
  End,         // end of text
  Newline,     // line end or ':'
  Ident,       // a name or keyword (see Token::kw)
  Number,      // Token::value holds Integer, Long or Double
  String,
  Date,        // Token::value holds a Date
  LParen, RParen, Comma, Dot, Equal, NotEqual, Less, LessEq, Greater, GreaterEq,
  Plus, Minus, Star, Slash, Backslash, Caret, Amp,
};

// Keywords are recognised by the lexer but stay Ident tokens; the parser
// decides where a keyword may serve as a name (after '.', for instance).
enum class Kw : uint8_t {
  None, And, ByRef, ByVal, Call, Case, Class, Const, Default, Dim, Do, Each, Else, ElseIf, Empty, End,
  Eqv, Erase, Error, Exit, Explicit, False, For, Function, Get, GoTo, If, Imp, In, Is, Let, Loop, Me,
  Mod, New, Next, Not, Nothing, Null, On, Option, Or, Preserve, Private, Property, Public, ReDim,
  Resume, Select, Set, Step, Stop, Sub, Then, To, True, Until, Wend, While, With, Xor, Randomize,
};

struct Token {
  Tok type = Tok::End;
  Kw kw = Kw::None;
  // The name as written (identifiers) or the text (strings).
  std::u16string text;
  Value value;
  int line = 1;
  int column = 1;
  // True when whitespace came before this token (a(1) vs a (1)).
  bool spaceBefore = false;
  // For '.' tokens: true when a name or ')' came right before it (a.b), false for a leading '.' (With).
  bool attachedDot = false;
};

// True for keywords that can never be variable names.
bool isReservedKeyword(Kw kw);

// Tokenizes the whole text; throws ScriptError (kind Syntax) with position.
std::vector<Token> tokenize(std::u16string_view text);

}  // namespace qm::vbs
