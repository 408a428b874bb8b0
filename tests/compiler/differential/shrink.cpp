// Programs one step smaller than a given one, biggest steps first: a routine
// removed, then statements removed (runs of them before single ones), then
// blocks replaced by their bodies, then expressions replaced by an operand
// of their type or by a literal. The caller keeps a candidate that the
// reference still predicts and the compiled program still gets wrong.
#include "model.h"

namespace difftest {

namespace {

enum class Step { Remove, Unwrap, Simplify };

ExprPtr Zero(Type t) {
  Expr e;
  e.type = t;
  e.kind = t == Type::Integer ? Expr::Kind::Integer : t == Type::Double ? Expr::Kind::Double : Expr::Kind::String;
  return std::make_shared<const Expr>(e);
}

bool IsZero(const Expr& e) {
  return (e.kind == Expr::Kind::Integer && e.integer == 0) || (e.kind == Expr::Kind::Double && e.number == 0) ||
         (e.kind == Expr::Kind::String && e.text.empty());
}

std::vector<ExprPtr> Variants(const ExprPtr& e) {
  std::vector<ExprPtr> out;
  if (!e || IsZero(*e)) return out;
  out.push_back(Zero(e->type));
  if (e->kind != Expr::Kind::Element)
    for (const ExprPtr& a : e->args)
      if (a->type == e->type) out.push_back(a);
  for (size_t i = 0; i < e->args.size(); ++i) {
    for (const ExprPtr& v : Variants(e->args[i])) {
      Expr copy = *e;
      copy.args[i] = v;
      out.push_back(std::make_shared<const Expr>(copy));
    }
  }
  return out;
}

std::vector<Block> Variants(const Block& block, Step step);

// Replacements for one statement: each a block that takes its place.
std::vector<Block> Variants(const Stmt& s, Step step) {
  std::vector<Block> out;
  auto with = [&](auto change) {
    Stmt copy = s;
    change(copy);
    out.push_back({std::make_shared<const Stmt>(copy)});
  };
  auto blocks = [&](Block Stmt::*field) {
    for (const Block& v : Variants(s.*field, step)) with([&](Stmt& c) { c.*field = v; });
  };
  auto expressions = [&](ExprPtr Stmt::*field) {
    if (step != Step::Simplify) return;
    for (const ExprPtr& v : Variants(s.*field)) with([&](Stmt& c) { c.*field = v; });
  };
  switch (s.kind) {
    case Stmt::Kind::If:
      if (step == Step::Unwrap) {
        for (const auto& branch : s.branches) out.push_back(branch.second);
        if (s.hasElse) out.push_back(s.elseBody);
      }
      if (step == Step::Remove) {
        if (s.hasElse) with([](Stmt& c) { c.hasElse = false; c.elseBody.clear(); });
        for (size_t i = 0; s.branches.size() > 1 && i < s.branches.size(); ++i)
          with([&](Stmt& c) { c.branches.erase(c.branches.begin() + static_cast<long>(i)); });
      }
      for (size_t i = 0; i < s.branches.size(); ++i) {
        if (step == Step::Simplify)
          for (const ExprPtr& v : Variants(s.branches[i].first)) with([&](Stmt& c) { c.branches[i].first = v; });
        if (s.oneLine) continue;  // its statements stay simple
        for (const Block& v : Variants(s.branches[i].second, step)) with([&](Stmt& c) { c.branches[i].second = v; });
      }
      if (!s.oneLine) blocks(&Stmt::elseBody);
      break;
    case Stmt::Kind::For:
    case Stmt::Kind::While:
    case Stmt::Kind::Do:
      if (step == Step::Unwrap) out.push_back(s.body);
      blocks(&Stmt::body);
      expressions(&Stmt::from);
      expressions(&Stmt::to);
      break;
    case Stmt::Kind::Select:
      if (step == Step::Unwrap) {
        for (const CaseClause& c : s.cases) out.push_back(c.body);
        if (s.hasElse) out.push_back(s.elseBody);
      }
      if (step == Step::Remove) {
        if (s.hasElse) with([](Stmt& c) { c.hasElse = false; c.elseBody.clear(); });
        for (size_t i = 0; s.cases.size() > 1 && i < s.cases.size(); ++i)
          with([&](Stmt& c) { c.cases.erase(c.cases.begin() + static_cast<long>(i)); });
        for (size_t i = 0; i < s.cases.size(); ++i)
          for (size_t k = 0; s.cases[i].items.size() > 1 && k < s.cases[i].items.size(); ++k)
            with([&](Stmt& c) { c.cases[i].items.erase(c.cases[i].items.begin() + static_cast<long>(k)); });
      }
      for (size_t i = 0; i < s.cases.size(); ++i)
        for (const Block& v : Variants(s.cases[i].body, step)) with([&](Stmt& c) { c.cases[i].body = v; });
      blocks(&Stmt::elseBody);
      expressions(&Stmt::value);
      break;
    case Stmt::Kind::Print:
      if (step == Step::Remove)
        for (size_t i = 0; i < s.items.size(); ++i)
          with([&](Stmt& c) {
            c.items.erase(c.items.begin() + static_cast<long>(i));
            c.keepLine = c.keepLine && !c.items.empty();
          });
      [[fallthrough]];
    case Stmt::Kind::Call:
      if (step == Step::Simplify)
        for (size_t i = 0; i < s.items.size(); ++i)
          for (const ExprPtr& v : Variants(s.items[i])) with([&](Stmt& c) { c.items[i] = v; });
      break;
    case Stmt::Kind::Assign:
      expressions(&Stmt::value);
      expressions(&Stmt::index);
      break;
    default: break;
  }
  return out;
}

std::vector<Block> Variants(const Block& block, Step step) {
  std::vector<Block> out;
  if (step == Step::Remove) {
    // Runs of statements first, halves down to pairs, then single ones.
    for (size_t run = block.size() > 1 ? block.size() / 2 : block.size(); run >= 1; run /= 2) {
      for (size_t start = 0; start + run <= block.size(); start += run) {
        Block without(block.begin(), block.begin() + static_cast<long>(start));
        without.insert(without.end(), block.begin() + static_cast<long>(start + run), block.end());
        out.push_back(without);
      }
    }
  }
  for (size_t i = 0; i < block.size(); ++i) {
    for (const Block& replacement : Variants(*block[i], step)) {
      Block changed(block.begin(), block.begin() + static_cast<long>(i));
      changed.insert(changed.end(), replacement.begin(), replacement.end());
      changed.insert(changed.end(), block.begin() + static_cast<long>(i) + 1, block.end());
      out.push_back(changed);
    }
  }
  return out;
}

}  // namespace

std::vector<Program> Shrinks(const Program& p) {
  std::vector<Program> out;
  for (size_t r = 0; r < p.routines.size(); ++r) {
    Program copy = p;
    copy.routines.erase(copy.routines.begin() + static_cast<long>(r));
    out.push_back(copy);
  }
  for (Step step : {Step::Remove, Step::Unwrap, Step::Simplify}) {
    for (const Block& b : Variants(p.main, step)) {
      Program copy = p;
      copy.main = b;
      out.push_back(copy);
    }
    for (size_t r = 0; r < p.routines.size(); ++r) {
      for (const Block& b : Variants(p.routines[r].body, step)) {
        Program copy = p;
        copy.routines[r].body = b;
        out.push_back(copy);
      }
    }
  }
  return out;
}

}  // namespace difftest
