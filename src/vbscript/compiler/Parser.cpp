// Recursive-descent parser producing the syntax tree.
#include "vbscript/compiler/Parser.h"

#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Lexer.h"

namespace qm::vbs {

using namespace ast;

namespace {

constexpr int kMaxDepth = 400;
constexpr size_t kMaxLineText = 400;  // characters of a line an error message quotes

// The text of a 1-based line, as an error message quotes it. A line ends at
// CR LF, LF or a lone CR.
std::u16string sourceLine(std::u16string_view text, int line) {
  int l = 1;
  size_t start = 0;
  for (size_t k = 0; k < text.size() && l < line; ++k) {
    if (text[k] == '\n' || (text[k] == '\r' && !(k + 1 < text.size() && text[k + 1] == '\n'))) {
      ++l;
      start = k + 1;
    }
  }
  size_t end = start;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  return std::u16string(text.substr(start, std::min(end - start, kMaxLineText)));
}
constexpr int kMaxChain = 4000;  // operands of one operator chain, links of one a.b(1).c chain

class Parser {
 public:
  Parser(std::u16string_view text, std::vector<Token> tokens) : text_(text), t_(std::move(tokens)) {}

  // program := {topLevel newline}
  Program parseAll() {
    Program prog;
    prog_ = &prog;
    skipNewlines();
    while (!at(Tok::End)) {
      parseTopLevel(prog);
      skipNewlines();
    }
    return prog;
  }

  // expressionText := expr   (Eval's argument)
  Program parseExpressionOnly() {
    Program prog;
    skipNewlines();
    auto s = std::make_unique<Stmt>(Stmt::Nop, cur().line, cur().column);
    s->value = parseExpr();
    skipNewlines();
    if (!at(Tok::End)) fail(err::ExpectedEndOfStatement);
    prog.body.push_back(std::move(s));
    return prog;
  }

 private:
  // ---- token helpers ----
  const Token& cur() const { return t_[i_]; }
  const Token& peekTok(size_t k = 1) const { return t_[std::min(i_ + k, t_.size() - 1)]; }
  bool at(Tok type) const { return cur().type == type; }
  bool atKw(Kw kw) const { return cur().type == Tok::Ident && cur().kw == kw; }
  bool peekKw(size_t k, Kw kw) const { return peekTok(k).type == Tok::Ident && peekTok(k).kw == kw; }
  const Token& next() {
    const Token& t = t_[i_];
    if (i_ + 1 < t_.size()) ++i_;
    return t;
  }
  bool acceptKw(Kw kw) {
    if (atKw(kw)) { next(); return true; }
    return false;
  }
  bool accept(Tok type) {
    if (at(type)) { next(); return true; }
    return false;
  }
  void expectKw(Kw kw, int32_t error) {
    if (!acceptKw(kw)) fail(error);
  }
  void expect(Tok type, int32_t error) {
    if (!accept(type)) fail(error);
  }
  bool atEndOfStatement() const { return at(Tok::Newline) || at(Tok::End); }
  void skipNewlines() {
    while (at(Tok::Newline)) next();
  }
  void endStatement() {
    if (at(Tok::End) || atBlockCloser()) return;
    if (!at(Tok::Newline)) fail(err::ExpectedEndOfStatement);
    skipNewlines();
  }
  // End If, End Sub, Next, Loop... may follow a statement on its line without a colon.
  bool atBlockCloser() const {
    if (atKw(Kw::Next) || atKw(Kw::Loop) || atKw(Kw::Wend)) return true;
    if (!atKw(Kw::End)) return false;
    return peekKw(1, Kw::If) || peekKw(1, Kw::Sub) || peekKw(1, Kw::Function) || peekKw(1, Kw::Class) ||
           peekKw(1, Kw::Property) || peekKw(1, Kw::Select) || peekKw(1, Kw::With);
  }
  [[noreturn]] void fail(int32_t number) { failAt(number, cur().line, cur().column); }
  [[noreturn]] void failAt(int32_t number, int line, int column) {
    ScriptError e(number, ErrorKind::Syntax);
    e.line = line;
    e.column = column;
    e.lineText = sourceLine(text_, line);
    throw e;
  }
  struct DepthGuard {
    Parser& p;
    explicit DepthGuard(Parser& parser) : p(parser) {
      if (++p.depth_ > kMaxDepth) p.fail(err::OutOfStackSpace);
    }
    ~DepthGuard() { --p.depth_; }
  };

  // A name: an identifier that is not a reserved keyword.
  std::u16string expectName() {
    if (!at(Tok::Ident) || isReservedKeyword(cur().kw)) fail(err::ExpectedIdentifier);
    return next().text;
  }
  // After '.': any identifier, keywords included.
  std::u16string expectMemberName() {
    if (!at(Tok::Ident)) fail(err::ExpectedIdentifier);
    return next().text;
  }

  // ---- top level ----
  // topLevel := Option Explicit | classDecl | [Public|Private] (procedure | Const consts | dimList)
  //           | statement
  void parseTopLevel(Program& prog) {
    if (atKw(Kw::Option)) {
      next();
      expectKw(Kw::Explicit, err::ExpectedIdentifier);
      prog.optionExplicit = true;
      endStatement();
      return;
    }
    if (atKw(Kw::Class)) {
      prog.classes.push_back(parseClass());
      return;
    }
    size_t save = i_;
    bool isPublic = true;
    bool hadVisibility = false;
    if (atKw(Kw::Public) || atKw(Kw::Private)) {
      isPublic = atKw(Kw::Public);
      hadVisibility = true;
      next();
    }
    if (atKw(Kw::Default)) failAt(err::MustBeDefinedInsideClass, cur().line, cur().column);
    if (atProcedureStart()) {
      if (atKw(Kw::Property)) failAt(err::MustBeDefinedInsideClass, cur().line, cur().column);
      Procedure p = parseProcedure(isPublic, false);
      prog.procedures.push_back(std::move(p));
      return;
    }
    if (hadVisibility) {
      if (atKw(Kw::Const)) {
        auto s = parseConst();
        s->isPublic = isPublic;
        prog.body.push_back(std::move(s));
        endStatement();
        return;
      }
      // Public/Private variable declarations at script level behave as Dim.
      auto s = std::make_unique<Stmt>(Stmt::Dim, t_[save].line, t_[save].column);
      parseDimList(*s);
      prog.body.push_back(std::move(s));
      endStatement();
      return;
    }
    i_ = save;
    prog.body.push_back(parseStatement(false));
    if (!prog.body.back()) prog.body.pop_back();
  }

  // Sub, Function, or Property followed by Get/Let/Set (Property alone is a name).
  bool atProcedureStart(size_t k = 0) const {
    return peekKw(k, Kw::Sub) || peekKw(k, Kw::Function) ||
           (peekKw(k, Kw::Property) && (peekKw(k + 1, Kw::Get) || peekKw(k + 1, Kw::Let) || peekKw(k + 1, Kw::Set)));
  }

  // procedure := (Sub|Function|Property (Get|Let|Set)) name ['(' [param {',' param}] ')'] block End kind
  // param := [ByVal|ByRef] name ['(' ')']     (Public/Private, already read, arrive as isPublic)
  Procedure parseProcedure(bool isPublic, bool inClass) {
    ++procedureDepth_;
    struct Leave { int& d; ~Leave() { --d; } } leave{procedureDepth_};
    Procedure p;
    p.isPublic = isPublic;
    p.line = cur().line;
    p.column = cur().column;
    Kw endKw;
    int32_t endErr;
    if (acceptKw(Kw::Sub)) {
      p.kind = Procedure::Sub;
      endKw = Kw::Sub;
      endErr = err::ExpectedSub;
    } else if (acceptKw(Kw::Function)) {
      p.kind = Procedure::Function;
      endKw = Kw::Function;
      endErr = err::ExpectedFunction;
    } else {
      expectKw(Kw::Property, err::ExpectedProperty);
      if (!inClass) failAt(err::MustBeDefinedInsideClass, p.line, p.column);
      if (acceptKw(Kw::Get)) p.kind = Procedure::PropertyGet;
      else if (acceptKw(Kw::Let)) p.kind = Procedure::PropertyLet;
      else if (acceptKw(Kw::Set)) p.kind = Procedure::PropertySet;
      else fail(err::ExpectedLetSetGet);
      endKw = Kw::Property;
      endErr = err::ExpectedProperty;
    }
    p.name = expectName();
    if (accept(Tok::LParen)) {
      if (!accept(Tok::RParen)) {
        for (;;) {
          Param prm;
          if (acceptKw(Kw::ByVal)) prm.byVal = true;
          else acceptKw(Kw::ByRef);
          prm.name = expectName();
          if (accept(Tok::LParen)) {
            expect(Tok::RParen, err::ExpectedRParen);
            prm.isArray = true;
          }
          p.params.push_back(std::move(prm));
          if (accept(Tok::Comma)) continue;
          expect(Tok::RParen, err::ExpectedRParen);
          break;
        }
      }
    }
    if ((p.kind == Procedure::PropertyLet || p.kind == Procedure::PropertySet) && p.params.empty())
      failAt(err::PropertyLetSetNeedsArg, p.line, p.column);
    // The first statement may follow the header on the same line: Sub S() x = 1 : End Sub
    skipNewlines();
    p.body = parseBlock();
    if (!atKw(Kw::End)) fail(err::ExpectedEnd);
    next();
    expectKw(endKw, endErr);
    endStatement();
    return p;
  }

  // classDecl := Class name {[Public [Default]|Private] procedure | (Public|Private|Dim) dimList} End Class
  ClassDecl parseClass() {
    ClassDecl c;
    c.line = cur().line;
    c.column = cur().column;
    next();  // Class
    c.name = expectName();
    endStatement();
    for (;;) {
      skipNewlines();
      if (atKw(Kw::End)) {
        next();
        expectKw(Kw::Class, err::ExpectedClass);
        endStatement();
        return c;
      }
      if (at(Tok::End)) fail(err::ExpectedEnd);
      bool isPublic = true;
      bool isDefault = false;
      bool hadVisibility = false;
      int line = cur().line, column = cur().column;
      if (atKw(Kw::Public) || atKw(Kw::Private)) {
        isPublic = atKw(Kw::Public);
        hadVisibility = true;
        next();
      }
      if (atKw(Kw::Default)) {
        if (!isPublic || !hadVisibility) fail(err::DefaultNeedsPublic);
        next();
        isDefault = true;
      }
      if (atKw(Kw::Sub) || atKw(Kw::Function) || atKw(Kw::Property)) {
        Procedure p = parseProcedure(isPublic, true);
        p.isDefault = isDefault;
        if (isDefault && (p.kind == Procedure::PropertyLet || p.kind == Procedure::PropertySet))
          failAt(err::DefaultOnlyOnPropertyFunctionSub, line, column);
        c.procedures.push_back(std::move(p));
        continue;
      }
      if (isDefault) fail(err::DefaultOnlyOnPropertyFunctionSub);
      if (!hadVisibility) {
        if (atKw(Kw::Const)) fail(err::ExpectedStatement);
        expectKw(Kw::Dim, err::ExpectedStatement);
      }
      for (;;) {
        ClassMember m;
        m.isPublic = isPublic;
        parseDeclarator(m);
        c.fields.push_back(std::move(m));
        if (!accept(Tok::Comma)) break;
      }
      endStatement();
    }
  }

  // ---- blocks and statements ----
  bool atBlockEnd() const {
    if (at(Tok::End)) return true;
    if (!at(Tok::Ident)) return false;
    switch (cur().kw) {
      case Kw::End: case Kw::Else: case Kw::ElseIf: case Kw::Loop: case Kw::Next: case Kw::Wend: case Kw::Case:
        return true;
      default:
        return false;
    }
  }

  // block := {statement | procedure (inside If or a loop at script level)}   up to End/Else/Loop/Next/Wend/Case
  Block parseBlock() {
    DepthGuard g(*this);
    Block b;
    skipNewlines();
    while (!atBlockEnd()) {
      bool visibility = atKw(Kw::Public) || atKw(Kw::Private);
      if (atKw(Kw::Class) || (visibility && peekKw(1, Kw::Property))) fail(err::ExpectedStatement);
      if (atProcedureStart(visibility ? 1 : 0)) {
        // A Sub or Function written inside an If or a loop at script level
        // is an ordinary script-level procedure.
        if (procedureDepth_ > 0 || !prog_ || peekKw(visibility ? 1 : 0, Kw::Property)) fail(err::ExpectedStatement);
        bool isPublic = !atKw(Kw::Private);
        if (visibility) next();
        prog_->procedures.push_back(parseProcedure(isPublic, false));
        skipNewlines();
        continue;
      }
      auto s = parseStatement(false);
      if (s) b.push_back(std::move(s));
      skipNewlines();
    }
    return b;
  }

  // statement := Dim dimList | reDim | Erase postfix | consts | if | select | for | do | while | with
  //            | exit | onError | Stop | Randomize [expr] | Set postfix '=' expr | [Let] postfix '=' expr
  //            | Call postfix | callOrAssign
  // Parses one statement and its end. In a single-line If (`inline`), the
  // statement ends at ':' , Else or the line end, which are left for the caller.
  StmtPtr parseStatement(bool inlineIf) {
    DepthGuard g(*this);
    const Token& t = cur();
    int line = t.line, column = t.column;
    StmtPtr s;
    if (t.type == Tok::Ident) {
      switch (t.kw) {
        case Kw::Dim:
          next();
          s = std::make_unique<Stmt>(Stmt::Dim, line, column);
          parseDimList(*s);
          break;
        case Kw::ReDim: s = parseReDim(); break;
        case Kw::Erase:
          next();
          s = std::make_unique<Stmt>(Stmt::Erase, line, column);
          s->target = parsePostfix();
          break;
        case Kw::Const: s = parseConst(); break;
        case Kw::If: return parseIf(inlineIf);
        case Kw::Select: s = parseSelect(); return s;
        case Kw::For: s = parseFor(); return s;
        case Kw::Do: s = parseDo(); return s;
        case Kw::While: s = parseWhile(); return s;
        case Kw::With: s = parseWith(); return s;
        case Kw::Exit: s = parseExit(); break;
        case Kw::On: s = parseOnError(); break;
        case Kw::Stop:
          next();
          s = std::make_unique<Stmt>(Stmt::Nop, line, column);
          break;
        case Kw::Option:
          fail(err::MustBeFirstStatement);
        case Kw::Randomize:
          next();
          s = std::make_unique<Stmt>(Stmt::Randomize, line, column);
          if (!atStatementEnd(inlineIf)) s->value = parseExpr();
          break;
        case Kw::Set: case Kw::Let: {
          bool isSet = t.kw == Kw::Set;
          next();
          s = std::make_unique<Stmt>(Stmt::Assign, line, column);
          s->isSet = isSet;
          s->target = parsePostfix();
          expect(Tok::Equal, err::ExpectedEquals);
          s->value = parseExpr();
          break;
        }
        case Kw::Call: {
          next();
          s = std::make_unique<Stmt>(Stmt::CallStmt, line, column);
          s->target = parsePostfix();
          break;
        }
        case Kw::Me: case Kw::None:
          s = parseCallOrAssign(inlineIf);
          break;
        default:
          if (!isReservedKeyword(t.kw)) {
            s = parseCallOrAssign(inlineIf);
            break;
          }
          fail(err::ExpectedStatement);
      }
    } else if (t.type == Tok::Dot && !t.attachedDot) {
      s = parseCallOrAssign(inlineIf);
    } else {
      fail(err::ExpectedStatement);
    }
    if (!inlineIf) endStatement();
    else if (!atStatementEnd(true)) fail(err::ExpectedEndOfStatement);
    return s;
  }

  bool atStatementEnd(bool inlineIf) const {
    return atEndOfStatement() || atBlockCloser() || (inlineIf && atKw(Kw::Else));
  }

  // callOrAssign := postfix '=' expr | postfix [bareArgs]
  StmtPtr parseCallOrAssign(bool inlineIf) {
    int line = cur().line, column = cur().column;
    ExprPtr chain = parsePostfix();
    if (accept(Tok::Equal)) {
      auto s = std::make_unique<Stmt>(Stmt::Assign, line, column);
      s->target = std::move(chain);
      s->value = parseExpr();
      return s;
    }
    auto s = std::make_unique<Stmt>(Stmt::CallStmt, line, column);
    if (atStatementEnd(inlineIf)) {
      if (chain->kind == Expr::Call && chain->a) {
        if (chain->args.size() > 1) failAt(err::CannotUseParensCallingSub, line, column);
        // foo(x) as a statement passes x by value.
        if (chain->args.size() == 1 && chain->args[0]->kind != Expr::Missing) {
          auto p = std::make_unique<Expr>(Expr::Paren, chain->args[0]->line, chain->args[0]->column);
          p->a = std::move(chain->args[0]);
          chain->args[0] = std::move(p);
        }
      }
      s->target = std::move(chain);
      return s;
    }
    auto call = std::make_unique<Expr>(Expr::Call, line, column);
    if (chain->kind == Expr::Call && chain->a && chain->args.size() == 1 &&
        (at(Tok::Comma) || isBinaryOperator())) {
      // foo (1) + 2, 3: the parenthesised part begins the first argument.
      auto p = std::make_unique<Expr>(Expr::Paren, chain->args[0]->line, chain->args[0]->column);
      p->a = std::move(chain->args[0]);
      call->a = std::move(chain->a);
      call->args.push_back(parseBinary(0, std::move(p)));
      if (accept(Tok::Comma)) parseBareArgs(call->args, inlineIf);
    } else {
      call->a = std::move(chain);
      parseBareArgs(call->args, inlineIf);
    }
    s->target = std::move(call);
    return s;
  }

  // bareArgs := [expr] {',' [expr]}   (a call statement's arguments without parentheses)
  void parseBareArgs(std::vector<ExprPtr>& args, bool inlineIf) {
    for (;;) {
      if (at(Tok::Comma)) {
        args.push_back(std::make_unique<Expr>(Expr::Missing, cur().line, cur().column));
        next();
        continue;
      }
      if (atStatementEnd(inlineIf)) {
        args.push_back(std::make_unique<Expr>(Expr::Missing, cur().line, cur().column));
        return;
      }
      args.push_back(parseExpr());
      if (!accept(Tok::Comma)) return;
    }
  }

  // dimList := declarator {',' declarator}
  void parseDimList(Stmt& s) {
    for (;;) {
      DimItem d;
      parseDeclarator(d);
      s.items.push_back(std::move(d));
      if (!accept(Tok::Comma)) break;
    }
  }

  // declarator := name ['(' [bounds] ')']
  void parseDeclarator(DimItem& d) {
    d.line = cur().line;
    d.column = cur().column;
    d.name = expectName();
    if (!accept(Tok::LParen)) return;
    d.isArray = true;
    if (!accept(Tok::RParen)) parseBounds(d.bounds);
  }

  // bounds := expr {',' expr} ')'      (the opening parenthesis already read)
  void parseBounds(std::vector<ExprPtr>& bounds) {
    for (;;) {
      bounds.push_back(parseExpr());
      if (accept(Tok::Comma)) continue;
      expect(Tok::RParen, err::ExpectedRParen);
      return;
    }
  }

  // reDim := ReDim [Preserve] name '(' bounds {',' name '(' bounds}
  StmtPtr parseReDim() {
    auto s = std::make_unique<Stmt>(Stmt::ReDim, cur().line, cur().column);
    next();
    if (acceptKw(Kw::Preserve)) s->preserve = true;
    for (;;) {
      DimItem d;
      d.line = cur().line;
      d.column = cur().column;
      d.name = expectName();
      d.isArray = true;
      expect(Tok::LParen, err::ExpectedLParen);
      parseBounds(d.bounds);
      s->items.push_back(std::move(d));
      if (!accept(Tok::Comma)) break;
    }
    return s;
  }

  // consts := Const name '=' expr {',' name '=' expr}
  StmtPtr parseConst() {
    auto s = std::make_unique<Stmt>(Stmt::Const, cur().line, cur().column);
    next();
    for (;;) {
      std::u16string name = expectName();
      expect(Tok::Equal, err::ExpectedEquals);
      s->consts.emplace_back(std::move(name), parseExpr());
      if (!accept(Tok::Comma)) break;
    }
    return s;
  }

  // if := If expr Then (inlineStatements [Else inlineStatements] [End If]
  //       | block {ElseIf expr Then block} [Else block] End If)
  StmtPtr parseIf(bool inlineIf) {
    auto s = std::make_unique<Stmt>(Stmt::If, cur().line, cur().column);
    next();
    s->conds.push_back(parseExpr());
    expectKw(Kw::Then, err::ExpectedThen);
    if (!at(Tok::Newline) || cur().text == u":") {
      // Single-line If: statements up to the line end, optional Else part.
      if (at(Tok::Newline)) next();
      Block then;
      parseInlineStatements(then);
      s->blocks.push_back(std::move(then));
      if (acceptKw(Kw::Else)) {
        s->hasElse = true;
        parseInlineStatements(s->elseBlock);
      }
      if (atKw(Kw::End) && peekKw(1, Kw::If)) {  // tolerated: If a Then b End If
        next();
        next();
      }
      if (!inlineIf) endStatement();
      return s;
    }
    if (inlineIf) fail(err::ExpectedEndOfStatement);
    s->blocks.push_back(parseBlock());
    for (;;) {
      if (atKw(Kw::ElseIf)) {
        next();
        s->conds.push_back(parseExpr());
        expectKw(Kw::Then, err::ExpectedThen);
        s->blocks.push_back(parseBlock());
        continue;
      }
      if (atKw(Kw::Else)) {
        next();
        s->hasElse = true;
        s->elseBlock = parseBlock();
      }
      expectEnd(Kw::If);
      return s;
    }
  }

  // inlineStatements := statement {':' statement}   (up to the line end or Else)
  void parseInlineStatements(Block& b) {
    for (;;) {
      if (at(Tok::Newline) && cur().text.empty()) return;
      if (at(Tok::End) || atKw(Kw::Else)) return;
      if (atBlockCloser()) return;
      if (at(Tok::Newline)) { next(); continue; }
      auto st = parseStatement(true);
      if (st) b.push_back(std::move(st));
    }
  }

  // select := Select Case expr {Case caseItem {',' caseItem} block} [Case Else block] End Select
  // caseItem := Is compareOp expr | expr [To expr]
  StmtPtr parseSelect() {
    auto s = std::make_unique<Stmt>(Stmt::Select, cur().line, cur().column);
    next();
    expectKw(Kw::Case, err::ExpectedCase);
    s->value = parseExpr();
    endStatement();
    bool sawElse = false;
    while (atKw(Kw::Case)) {
      next();
      CaseClause cc;
      if (acceptKw(Kw::Else)) {
        if (sawElse) fail(err::ExpectedEnd);
        sawElse = true;
      } else {
        if (sawElse) fail(err::ExpectedEnd);
        for (;;) {
          CaseClause::Item item;
          if (acceptKw(Kw::Is)) {
            item.kind = CaseClause::Item::Compare;
            switch (cur().type) {
              case Tok::Equal: item.op = Op::Eq; break;
              case Tok::NotEqual: item.op = Op::Ne; break;
              case Tok::Less: item.op = Op::Lt; break;
              case Tok::LessEq: item.op = Op::Le; break;
              case Tok::Greater: item.op = Op::Gt; break;
              case Tok::GreaterEq: item.op = Op::Ge; break;
              default: fail(err::Syntax);
            }
            next();
            item.a = parseExpr();
          } else {
            item.a = parseExpr();
            if (acceptKw(Kw::To)) {
              item.kind = CaseClause::Item::Range;
              item.b = parseExpr();
            }
          }
          cc.items.push_back(std::move(item));
          if (!accept(Tok::Comma)) break;
        }
      }
      // The Case's first statement may follow on the same line: Case 1  x = 200
      skipNewlines();
      cc.body = parseBlock();
      s->cases.push_back(std::move(cc));
    }
    expectEnd(Kw::Select);
    return s;
  }

  // for := For name '=' expr To expr [Step expr] block Next [name]
  //      | For Each name In expr block Next [name]
  StmtPtr parseFor() {
    int line = cur().line, column = cur().column;
    next();
    if (acceptKw(Kw::Each)) {
      auto s = std::make_unique<Stmt>(Stmt::ForEach, line, column);
      s->name = expectName();
      expectKw(Kw::In, err::ExpectedIn);
      s->value = parseExpr();
      endStatement();
      s->body = parseBlock();
      expectNext();
      return s;
    }
    auto s = std::make_unique<Stmt>(Stmt::For, line, column);
    s->name = expectName();
    expect(Tok::Equal, err::ExpectedEquals);
    s->from = parseExpr();
    expectKw(Kw::To, err::ExpectedTo);
    s->to = parseExpr();
    if (acceptKw(Kw::Step)) s->step = parseExpr();
    endStatement();
    s->body = parseBlock();
    expectNext();
    return s;
  }

  // End kind (End If, End Select, End With) and the end of its statement.
  void expectEnd(Kw kind) {
    if (!atKw(Kw::End) || !peekKw(1, kind)) fail(err::ExpectedEnd);
    next();
    next();
    endStatement();
  }

  // Next [name]
  void expectNext() {
    if (!atKw(Kw::Next)) fail(err::ExpectedNext);
    next();
    if (at(Tok::Ident) && !isReservedKeyword(cur().kw)) next();  // Next i
    endStatement();
  }

  // do := Do [(While|Until) expr] block Loop | Do block Loop [(While|Until) expr]
  StmtPtr parseDo() {
    auto s = std::make_unique<Stmt>(Stmt::DoLoop, cur().line, cur().column);
    next();
    if (atKw(Kw::While) || atKw(Kw::Until)) {
      s->preTest = true;
      s->isUntil = atKw(Kw::Until);
      next();
      s->value = parseExpr();
    }
    if (!atEndOfStatement()) fail(err::ExpectedWhileUntilOrEnd);
    endStatement();
    s->body = parseBlock();
    if (!atKw(Kw::Loop)) fail(err::ExpectedLoop);
    next();
    if (atKw(Kw::While) || atKw(Kw::Until)) {
      if (s->preTest) fail(err::ExpectedEndOfStatement);
      s->isUntil = atKw(Kw::Until);
      next();
      s->value = parseExpr();
    }
    endStatement();
    return s;
  }

  // while := While expr block Wend
  StmtPtr parseWhile() {
    auto s = std::make_unique<Stmt>(Stmt::DoLoop, cur().line, cur().column);
    next();
    s->preTest = true;
    s->value = parseExpr();
    endStatement();
    s->body = parseBlock();
    if (!atKw(Kw::Wend)) fail(err::ExpectedWend);
    next();
    endStatement();
    return s;
  }

  // with := With expr block End With
  StmtPtr parseWith() {
    auto s = std::make_unique<Stmt>(Stmt::With, cur().line, cur().column);
    next();
    s->value = parseExpr();
    endStatement();
    s->body = parseBlock();
    expectEnd(Kw::With);
    return s;
  }

  // exit := Exit (Do|For|Sub|Function|Property)
  StmtPtr parseExit() {
    auto s = std::make_unique<Stmt>(Stmt::Exit, cur().line, cur().column);
    next();
    if (acceptKw(Kw::Do)) s->exitKind = Stmt::ExitDo;
    else if (acceptKw(Kw::For)) s->exitKind = Stmt::ExitFor;
    else if (acceptKw(Kw::Sub)) s->exitKind = Stmt::ExitSub;
    else if (acceptKw(Kw::Function)) s->exitKind = Stmt::ExitFunction;
    else if (acceptKw(Kw::Property)) s->exitKind = Stmt::ExitProperty;
    else fail(err::InvalidExitStatement);
    return s;
  }

  // onError := On Error Resume Next | On Error GoTo 0
  StmtPtr parseOnError() {
    int line = cur().line, column = cur().column;
    next();
    expectKw(Kw::Error, err::Syntax);
    if (acceptKw(Kw::Resume)) {
      expectKw(Kw::Next, err::Syntax);
      return std::make_unique<Stmt>(Stmt::OnErrorResumeNext, line, column);
    }
    expectKw(Kw::GoTo, err::Syntax);
    if (!at(Tok::Number) || !cur().value.isNumeric() || toDouble(cur().value) != 0) fail(err::Syntax);
    next();
    return std::make_unique<Stmt>(Stmt::OnErrorGoto0, line, column);
  }

  // ---- expressions ----
  // expr := unary {binaryOp unary}   (by precedence, below)
  ExprPtr parseExpr() { return parseBinary(0, nullptr); }

  // Binding strength, loosest first: Imp Eqv Xor Or And (Not) comparisons & +- Mod \ */ ^
  static int precedence(Op op) {
    switch (op) {
      case Op::Imp: return 1;
      case Op::Eqv: return 2;
      case Op::Xor: return 3;
      case Op::Or: return 4;
      case Op::And: return 5;
      case Op::Eq: case Op::Ne: case Op::Lt: case Op::Le: case Op::Gt: case Op::Ge: case Op::Is: return 7;
      case Op::Concat: return 8;
      case Op::Add: case Op::Sub: return 9;
      case Op::Mod: return 10;
      case Op::IntDiv: return 11;
      case Op::Mul: case Op::Div: return 12;
      case Op::Pow: return 14;
      default: return 0;
    }
  }

  bool binaryOp(Op& op) const {
    const Token& t = cur();
    switch (t.type) {
      case Tok::Plus: op = Op::Add; return true;
      case Tok::Minus: op = Op::Sub; return true;
      case Tok::Star: op = Op::Mul; return true;
      case Tok::Slash: op = Op::Div; return true;
      case Tok::Backslash: op = Op::IntDiv; return true;
      case Tok::Caret: op = Op::Pow; return true;
      case Tok::Amp: op = Op::Concat; return true;
      case Tok::Equal: op = Op::Eq; return true;
      case Tok::NotEqual: op = Op::Ne; return true;
      case Tok::Less: op = Op::Lt; return true;
      case Tok::LessEq: op = Op::Le; return true;
      case Tok::Greater: op = Op::Gt; return true;
      case Tok::GreaterEq: op = Op::Ge; return true;
      case Tok::Ident:
        switch (t.kw) {
          case Kw::Mod: op = Op::Mod; return true;
          case Kw::And: op = Op::And; return true;
          case Kw::Or: op = Op::Or; return true;
          case Kw::Xor: op = Op::Xor; return true;
          case Kw::Eqv: op = Op::Eqv; return true;
          case Kw::Imp: op = Op::Imp; return true;
          case Kw::Is: op = Op::Is; return true;
          default: return false;
        }
      default: return false;
    }
  }
  bool isBinaryOperator() const {
    Op op;
    return binaryOp(op);
  }

  // binary(p) := unary {op unary}, each op of precedence >= p; tighter operators bind first,
  // equal ones from the left
  ExprPtr parseBinary(int minPrec, ExprPtr lhs) {
    DepthGuard g(*this);
    if (!lhs) lhs = parseUnary();
    for (int operands = 0;; ++operands) {
      // Left-nested chains grow the tree's depth: keep them within what the
      // compiler's recursion can take.
      if (operands > kMaxChain) fail(err::OutOfStackSpace);
      Op op;
      if (!binaryOp(op)) return lhs;
      int prec = precedence(op);
      if (prec < minPrec) return lhs;
      const Token& t = next();
      auto e = std::make_unique<Expr>(Expr::Binary, t.line, t.column);
      e->op = op;
      ExprPtr rhs = parseUnary();
      for (;;) {
        Op op2;
        if (!binaryOp(op2) || precedence(op2) <= prec) break;
        rhs = parseBinary(prec + 1, std::move(rhs));
      }
      e->a = std::move(lhs);
      e->b = std::move(rhs);
      lhs = std::move(e);
    }
  }

  // unary := '-' unary | '+' unary | Not comparison | postfix
  ExprPtr parseUnary() {
    DepthGuard g(*this);
    const Token& t = cur();
    if (t.type == Tok::Minus) {
      next();
      auto e = std::make_unique<Expr>(Expr::Unary, t.line, t.column);
      e->op = Op::Neg;
      e->a = parseUnary();
      return e;
    }
    if (t.type == Tok::Plus) {
      next();
      return parseUnary();
    }
    if (t.type == Tok::Ident && t.kw == Kw::Not) {
      next();
      auto e = std::make_unique<Expr>(Expr::Unary, t.line, t.column);
      e->op = Op::Not;
      e->a = parseBinary(7, nullptr);
      return e;
    }
    return parsePostfix();
  }

  // postfix := primary {'.' memberName | '(' [arg] {',' [arg]} ')'}
  ExprPtr parsePostfix() {
    ExprPtr e = parsePrimary();
    for (int links = 0;; ++links) {
      if (links > kMaxChain) fail(err::OutOfStackSpace);
      if (at(Tok::Dot) && cur().attachedDot) {
        const Token& t = next();
        auto m = std::make_unique<Expr>(Expr::Member, t.line, t.column);
        m->a = std::move(e);
        m->name = expectMemberName();
        e = std::move(m);
        continue;
      }
      if (at(Tok::LParen) && (e->kind == Expr::Name || e->kind == Expr::Member || e->kind == Expr::Call ||
                              e->kind == Expr::Me || e->kind == Expr::Paren)) {
        const Token& t = next();
        auto c = std::make_unique<Expr>(Expr::Call, t.line, t.column);
        c->a = std::move(e);
        if (!accept(Tok::RParen)) {
          for (;;) {
            if (at(Tok::Comma)) {
              c->args.push_back(std::make_unique<Expr>(Expr::Missing, cur().line, cur().column));
            } else if (at(Tok::RParen)) {
              c->args.push_back(std::make_unique<Expr>(Expr::Missing, cur().line, cur().column));
            } else {
              c->args.push_back(parseExpr());
            }
            if (accept(Tok::Comma)) continue;
            expect(Tok::RParen, err::ExpectedRParen);
            break;
          }
        }
        e = std::move(c);
        continue;
      }
      return e;
    }
  }

  // primary := literal | '(' expr ')' | '.' memberName (inside With) | Me | New name | name
  ExprPtr parsePrimary() {
    const Token& t = cur();
    switch (t.type) {
      case Tok::Number: case Tok::String: case Tok::Date: {
        auto e = std::make_unique<Expr>(Expr::Literal, t.line, t.column);
        e->value = t.value;
        next();
        return e;
      }
      case Tok::LParen: {
        next();
        auto e = std::make_unique<Expr>(Expr::Paren, t.line, t.column);
        e->a = parseExpr();
        expect(Tok::RParen, err::ExpectedRParen);
        return e;
      }
      case Tok::Dot: {
        if (t.attachedDot) break;
        next();
        auto m = std::make_unique<Expr>(Expr::Member, t.line, t.column);
        m->name = expectMemberName();
        return m;
      }
      case Tok::Ident: {
        auto literal = [&](Value v) {
          auto e = std::make_unique<Expr>(Expr::Literal, t.line, t.column);
          e->value = std::move(v);
          next();
          return e;
        };
        switch (t.kw) {
          case Kw::True: return literal(Value(true));
          case Kw::False: return literal(Value(false));
          case Kw::Empty: return literal(Value());
          case Kw::Null: return literal(Value::null());
          case Kw::Nothing: return literal(Value::nothing());
          case Kw::Me: {
            next();
            return std::make_unique<Expr>(Expr::Me, t.line, t.column);
          }
          case Kw::New: {
            next();
            auto e = std::make_unique<Expr>(Expr::New, t.line, t.column);
            e->name = expectName();
            return e;
          }
          default:
            if (isReservedKeyword(t.kw)) break;
            auto e = std::make_unique<Expr>(Expr::Name, t.line, t.column);
            e->name = t.text;
            next();
            return e;
        }
        break;
      }
      default:
        break;
    }
    fail(err::ExpectedExpression);
  }

  std::u16string_view text_;
  std::vector<Token> t_;
  size_t i_ = 0;
  int depth_ = 0;
  int procedureDepth_ = 0;
  Program* prog_ = nullptr;
};

}  // namespace

ast::Program parseProgram(std::u16string_view text, ParseMode mode) {
  std::vector<Token> tokens;
  try {
    tokens = tokenize(text);
  } catch (ScriptError& e) {
    // Give lexical errors the text of their line too.
    e.lineText = sourceLine(text, e.line);
    throw;
  }
  Parser p(text, std::move(tokens));
  return mode == ParseMode::Expression ? p.parseExpressionOnly() : p.parseAll();
}

}  // namespace qm::vbs
