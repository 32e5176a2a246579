#include "doctor/ScriptCalls.h"

#include "vbscript/compiler/Ast.h"

namespace qm::doctor {
namespace {

using namespace qm::vbs::ast;

QString fromU16(const std::u16string& s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

const Expr* unwrapped(const Expr* e) {
  while (e && e->kind == Expr::Paren) e = e->a.get();
  return e;
}

// The name a callee stands for: a bare name, or a member of the action object.
const std::u16string* calleeName(const Expr* callee) {
  if (!callee) return nullptr;
  if (callee->kind == Expr::Name) return &callee->name;
  if (callee->kind == Expr::Member && callee->a && callee->a->kind == Expr::Name) {
    const std::u16string& object = callee->a->name;
    if (object.size() == 6 && fromU16(object).compare(QLatin1String("Action"), Qt::CaseInsensitive) == 0)
      return &callee->name;
  }
  return nullptr;
}

class Walker {
 public:
  std::vector<ScriptCall> calls;

  void block(const Block& b) {
    for (const StmtPtr& s : b) statement(*s);
  }

  void statement(const Stmt& s) {
    if (s.kind == Stmt::CallStmt && s.target) {
      // A name or member on its own as a statement is a call without arguments.
      if (const std::u16string* name = calleeName(s.target.get())) {
        calls.push_back(ScriptCall{fromU16(*name), s.line, 0, false, {}});
        if (s.target->kind == Expr::Member) expr(s.target->a.get());
      } else {
        expr(s.target.get());
      }
    } else {
      if (s.kind == Stmt::Assign && s.target && s.target->kind == Expr::Member) {
        const std::u16string* name = calleeName(s.target.get());
        if (name && fromU16(*name).compare(QLatin1String("sFrameToLoad"), Qt::CaseInsensitive) == 0) {
          ScriptCall call{fromU16(*name), s.line, 1, true, {literal(s.value.get())}};
          calls.push_back(call);
        }
      }
      expr(s.target.get());
    }
    expr(s.value.get());
    expr(s.from.get());
    expr(s.to.get());
    expr(s.step.get());
    for (const auto& item : s.items)
      for (const auto& bound : item.bounds) expr(bound.get());
    for (const auto& c : s.conds) expr(c.get());
    for (const auto& b : s.blocks) block(b);
    block(s.body);
    block(s.elseBlock);
    for (const auto& c : s.cases) {
      for (const auto& item : c.items) {
        expr(item.a.get());
        expr(item.b.get());
      }
      block(c.body);
    }
    for (const auto& c : s.consts) expr(c.second.get());
  }

  static std::optional<QString> literal(const Expr* e) {
    e = unwrapped(e);
    if (e && e->kind == Expr::Literal && e->value.isString()) return fromU16(e->value.asString());
    return std::nullopt;
  }

  void expr(const Expr* e) {
    if (!e) return;
    if (e->kind == Expr::Call) {
      if (const std::u16string* name = calleeName(e->a.get())) {
        ScriptCall call{fromU16(*name), e->line, static_cast<int>(e->args.size()), true, {}};
        for (const auto& a : e->args) call.literals.push_back(literal(a.get()));
        calls.push_back(std::move(call));
        if (e->a->kind == Expr::Member) expr(e->a->a.get());
      } else {
        expr(e->a.get());
      }
      for (const auto& a : e->args) expr(a.get());
      return;
    }
    expr(e->a.get());
    expr(e->b.get());
    for (const auto& a : e->args) expr(a.get());
  }
};

}  // namespace

std::vector<ScriptCall> findScriptCalls(const Program& program) {
  Walker walker;
  for (const Procedure& p : program.procedures) walker.block(p.body);
  for (const ClassDecl& c : program.classes)
    for (const Procedure& p : c.procedures) walker.block(p.body);
  walker.block(program.body);
  return walker.calls;
}

QStringList definedNames(const Program& program) {
  QStringList names;
  for (const Procedure& p : program.procedures) names << fromU16(p.name).toLower();
  for (const ClassDecl& c : program.classes) names << fromU16(c.name).toLower();
  return names;
}

}  // namespace qm::doctor
