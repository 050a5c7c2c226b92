#include "completion/statement_context.h"

#include <algorithm>
#include <initializer_list>

#include "completion/sql_tokens.h"

namespace dossel::completion {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

enum class Clause { None, Select, From, On, Where, Group, Order, Having, Set, Into, Update, Values, With, Other };
enum class Expect { Nothing, Table, AfterTable, Alias, CteName, AfterCteName, CteBody };

// One parenthesis group of the statement (the statement itself is group 0).
struct Group {
  int parent = -1;
  Clause clause = Clause::None;
  Expect expect = Expect::Nothing;
  bool started = false;  // a token was read in it
  // How it was opened: where a table was expected (a subquery in FROM),
  // right after a table's name (a column list, a function's arguments), as
  // the column list or the body of a WITH entry.
  bool derivedTable = false;
  bool afterTable = false;
  bool cteColumns = false;
  bool cteBody = false;
  int cte = -1;  // the derived table a WITH entry's groups fill
  // The derived table whose column names this group's select list gives.
  int derived = -1;
  bool selectSeen = false;
  bool collecting = false;
  std::vector<size_t> item;   // tokens of the select-list item being read
  size_t pendingRef = kNone;  // the table whose alias may follow
};

struct CteName {
  TString name;
  int derived;
};

bool IsKeyword(TStringView word, std::initializer_list<TStringView> keywords) {
  for (TStringView keyword : keywords)
    if (EqualsNoCase(word, keyword)) return true;
  return false;
}

// Words that end a table's name in FROM and are never its alias.
bool EndsTableName(TStringView word) {
  return IsKeyword(word, {DT("where"),     DT("join"),          DT("inner"),     DT("left"),    DT("right"),
                          DT("full"),      DT("outer"),         DT("cross"),     DT("natural"), DT("on"),
                          DT("using"),     DT("group"),         DT("order"),     DT("having"),  DT("limit"),
                          DT("offset"),    DT("fetch"),         DT("for"),       DT("window"),  DT("union"),
                          DT("intersect"), DT("except"),        DT("minus"),     DT("set"),     DT("values"),
                          DT("select"),    DT("returning"),     DT("default"),   DT("with"),    DT("straight_join"),
                          DT("lateral"),   DT("tablesample"),   DT("when"),      DT("then"),    DT("else"),
                          DT("end"),       DT("and"),           DT("or"),        DT("not"),     DT("into"),
                          DT("partition"), DT("use"),           DT("force"),     DT("ignore"),  DT("output"),
                          DT("do"),        DT("from"),          DT("as"),        DT("update"),  DT("delete"),
                          DT("insert"),    DT("straight_join"), DT("returning"), DT("is"),      DT("in")});
}

// Words that end a select-list item without naming its column.
bool IsValueKeyword(TStringView word) {
  return IsKeyword(word, {DT("end"), DT("null"), DT("true"), DT("false"), DT("and"), DT("or"), DT("not"), DT("then"),
                          DT("else"), DT("when"), DT("case"), DT("distinct"), DT("all"), DT("as"), DT("is")});
}

class CAnalyzer {
 public:
  CAnalyzer(TStringView text, size_t caret, bool backslash)
      : m_text(text), m_caret(std::min(caret, text.size())), m_tokens(Tokenize(text, backslash)) {}

  CompletionContext Run();

 private:
  bool FindCaretWord();
  void FindStatement();
  void Walk();
  void Snapshot();
  void OnToken(size_t i);
  void OnOpen();
  void OnClose(size_t i);
  void OnKeyword(size_t i, TStringView word, Group& g);
  size_t OnTableName(size_t i, Group& g);
  void OnName(size_t i, Group& g);
  void EndItem(Group& g);
  int NewDerived(int scope);
  // A WITH entry's own column list names its columns: x(a, b) AS (...).
  void AddListedColumn(int cte, TString name) {
    m_context.derived[cte].columns.push_back(std::move(name));
    m_listed[cte] = true;
  }
  void ResolveWithNames();
  void CollectVisible();

  Group& Current() { return m_groups[m_stack.back()]; }
  bool IsName(size_t i) const {
    return i < m_end && (m_tokens[i].kind == TokenKind::Word || m_tokens[i].kind == TokenKind::QuotedName);
  }
  bool IsWord(size_t i) const { return i < m_end && m_tokens[i].kind == TokenKind::Word; }
  TStringView TextOf(size_t i) const { return m_text.substr(m_tokens[i].begin, m_tokens[i].end - m_tokens[i].begin); }
  bool IsComment(size_t i) const {
    return m_tokens[i].kind == TokenKind::LineComment || m_tokens[i].kind == TokenKind::BlockComment;
  }
  // The next token after `i` that is not a comment, or m_end.
  size_t Next(size_t i) const {
    for (++i; i < m_end && IsComment(i); ++i) {
    }
    return i;
  }

  TStringView m_text;
  size_t m_caret;
  std::vector<Token> m_tokens;
  CompletionContext m_context;

  // The statement's tokens [m_begin, m_end) and the first token of the
  // caret's unit (its qualifier, or its word, or the token after it).
  size_t m_begin = 0;
  size_t m_end = 0;
  size_t m_unit = 0;
  size_t m_word = kNone;
  bool m_snapshotTaken = false;

  std::vector<Group> m_groups;
  std::vector<int> m_stack;
  std::vector<int> m_caretChain;
  std::vector<CteName> m_withNames;
  // Per derived table: its columns come from a WITH column list.
  std::vector<bool> m_listed;
  int m_pendingCte = -1;
  bool m_firstWord = true;
};

CompletionContext CAnalyzer::Run() {
  m_context.wordStart = m_context.wordEnd = m_caret;
  if (!FindCaretWord()) return m_context;
  FindStatement();
  Walk();
  ResolveWithNames();
  CollectVisible();
  return m_context;
}

// Decides whether the caret stands where a name may be typed, and finds
// the word and the dotted names before it.
bool CAnalyzer::FindCaretWord() {
  size_t after = m_tokens.size();  // the first token that begins at or after the caret
  for (size_t i = 0; i < m_tokens.size(); ++i) {
    const Token& t = m_tokens[i];
    if (t.begin >= m_caret) {
      after = i;
      break;
    }
    if (m_caret > t.end) continue;
    const bool inside = m_caret < t.end;
    switch (t.kind) {
      case TokenKind::String:
      case TokenKind::BlockComment:
        if (inside || !t.closed) return false;
        break;
      case TokenKind::LineComment:
      case TokenKind::Number:
        return false;
      case TokenKind::QuotedName:
        if (inside && t.closed) return false;
        m_word = i;
        break;
      case TokenKind::Word:
        m_word = i;
        break;
      default:
        break;
    }
  }
  size_t first = after;
  if (m_word != kNone) {
    const Token& w = m_tokens[m_word];
    m_context.wordStart = w.begin;
    m_context.quotedPrefix = w.kind == TokenKind::QuotedName;
    const Token typed{w.kind, w.begin, m_caret, w.closed && m_caret == w.end};
    m_context.prefix = NameOf(m_text, typed);
    first = m_word;
  }
  // The dotted names before it: name . name . (word)
  std::vector<TString> qualifier;
  size_t at = first;
  while (at >= 2 && m_tokens[at - 1].kind == TokenKind::Dot &&
         (m_tokens[at - 2].kind == TokenKind::Word || m_tokens[at - 2].kind == TokenKind::QuotedName)) {
    qualifier.insert(qualifier.begin(), NameOf(m_text, m_tokens[at - 2]));
    at -= 2;
  }
  // A dot after something other than a name ("1.", "f().") qualifies nothing.
  if (at >= 1 && m_tokens[at - 1].kind == TokenKind::Dot) return false;
  m_context.qualifier = std::move(qualifier);
  m_unit = at;
  return true;
}

void CAnalyzer::FindStatement() {
  m_begin = 0;
  m_end = m_tokens.size();
  for (size_t i = 0; i < m_tokens.size(); ++i) {
    if (m_tokens[i].kind != TokenKind::Semicolon) continue;
    if (m_tokens[i].end <= m_caret && i < m_unit) {
      m_begin = i + 1;
    } else {
      m_end = i;
      break;
    }
  }
}

void CAnalyzer::Walk() {
  m_groups.assign(1, Group{});
  m_stack.assign(1, 0);
  for (size_t i = m_begin; i < m_end;) {
    if (i == m_unit) Snapshot();
    if (IsComment(i)) {
      ++i;
      continue;
    }
    Group& g = Current();
    // A table's dotted name is read whole.
    if (g.expect == Expect::Table && IsName(i) && !(IsWord(i) && EndsTableName(TextOf(i)))) {
      i = OnTableName(i, g);
      continue;
    }
    OnToken(i);
    ++i;
  }
  if (!m_snapshotTaken) Snapshot();
}

// The state where the caret's unit begins decides what is offered there.
void CAnalyzer::Snapshot() {
  m_snapshotTaken = true;
  m_caretChain.clear();
  for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) m_caretChain.push_back(*it);
  const Group& g = Current();
  const bool tableHere = g.expect == Expect::Table;
  if (!m_context.qualifier.empty()) {
    m_context.place = Place::Member;
    m_context.tableExpected = tableHere;
    return;
  }
  if (tableHere) {
    m_context.place = Place::Tables;
    return;
  }
  if (g.expect == Expect::Alias || g.expect == Expect::CteName) {
    m_context.place = Place::Keywords;
    return;
  }
  switch (g.clause) {
    case Clause::Select:
    case Clause::On:
    case Clause::Where:
    case Clause::Group:
    case Clause::Order:
    case Clause::Having:
    case Clause::Set:
    case Clause::Values:
      m_context.place = Place::Columns;
      break;
    default:
      // A column list after a table's name: insert into t (a, |).
      m_context.place = g.afterTable ? Place::Columns : Place::Keywords;
      break;
  }
}

void CAnalyzer::OnToken(size_t i) {
  const Token& t = m_tokens[i];
  Group& g = Current();
  const bool first = !g.started;
  g.started = true;
  switch (t.kind) {
    case TokenKind::Open:
      OnOpen();
      return;
    case TokenKind::Close:
      OnClose(i);
      return;
    case TokenKind::Comma:
      if (g.collecting) EndItem(g);
      if (g.clause == Clause::From) {
        g.expect = Expect::Table;
      } else if (g.clause == Clause::With) {
        g.expect = Expect::CteName;
      } else {
        g.expect = Expect::Nothing;
      }
      return;
    case TokenKind::Word: {
      const TStringView word = TextOf(i);
      if (g.cteColumns) {
        AddListedColumn(g.cte, TString(word));
        return;
      }
      const bool statementStart = first && (m_stack.size() == 1 ? m_firstWord : true);
      m_firstWord = false;
      if (statementStart && IsKeyword(word, {DT("with")})) {
        g.clause = Clause::With;
        g.expect = Expect::CteName;
        return;
      }
      if (g.expect == Expect::CteName) {
        if (!IsKeyword(word, {DT("recursive")})) OnName(i, g);
        return;
      }
      OnKeyword(i, word, g);
      return;
    }
    case TokenKind::QuotedName:
      if (g.cteColumns) {
        AddListedColumn(g.cte, NameOf(m_text, t));
        return;
      }
      m_firstWord = false;
      OnName(i, g);
      return;
    default:
      m_firstWord = false;
      if (g.collecting) g.item.push_back(i);
      if (g.expect != Expect::Table) g.expect = Expect::Nothing;
      return;
  }
}

void CAnalyzer::OnOpen() {
  Group& g = Current();
  Group h;
  h.parent = m_stack.back();
  if (g.expect == Expect::Table) {
    h.derivedTable = true;
    // A subquery, or a join in parentheses: FROM (a JOIN b ON ...).
    h.expect = Expect::Table;
  } else if (g.expect == Expect::AfterTable) {
    h.afterTable = true;
  } else if (g.clause == Clause::With && g.expect == Expect::AfterCteName) {
    h.cteColumns = true;
    h.cte = m_pendingCte;
  } else if (g.clause == Clause::With && g.expect == Expect::CteBody) {
    h.cteBody = true;
    h.cte = m_pendingCte;
  } else if (g.clause != Clause::From && g.clause != Clause::With) {
    // An expression's parentheses: f(a, |), x IN (|) are where they stand.
    h.clause = g.clause;
  }
  if (g.collecting) g.item.push_back(kNone);  // stands for the whole group
  m_groups.push_back(std::move(h));
  m_stack.push_back(static_cast<int>(m_groups.size()) - 1);
}

void CAnalyzer::OnClose(size_t i) {
  if (m_stack.size() == 1) {
    Group& g = Current();
    if (g.collecting) g.item.push_back(i);
    return;
  }
  Group& closed = Current();
  if (closed.collecting) EndItem(closed);
  closed.collecting = false;
  const int closedId = m_stack.back();
  m_stack.pop_back();
  Group& g = Current();
  const Group& h = m_groups[closedId];
  if (h.derivedTable && h.derived < 0 && !h.selectSeen) {
    // A join in parentheses: its tables are the enclosing group's.
    for (TableRef& ref : m_context.refs)
      if (ref.scope == closedId) ref.scope = m_stack.back();
    g.pendingRef = kNone;
    g.expect = Expect::AfterTable;
  } else if (h.derivedTable) {
    TableRef ref;
    ref.scope = m_stack.back();
    ref.derived = h.derived >= 0 ? h.derived : NewDerived(closedId);
    m_context.refs.push_back(std::move(ref));
    g.pendingRef = m_context.refs.size() - 1;
    g.expect = Expect::AfterTable;
  } else if (h.afterTable) {
    g.expect = Expect::AfterTable;
  } else if (h.cteColumns) {
    g.expect = Expect::AfterCteName;
  } else if (h.cteBody) {
    g.expect = Expect::Nothing;
  } else if (g.collecting) {
    g.item.push_back(i);
  }
}

int CAnalyzer::NewDerived(int scope) {
  DerivedTable derived;
  derived.scope = scope;
  m_context.derived.push_back(std::move(derived));
  m_listed.push_back(false);
  return static_cast<int>(m_context.derived.size()) - 1;
}

void CAnalyzer::OnKeyword(size_t i, TStringView word, Group& g) {
  const auto set = [&](Clause clause, Expect expect) {
    if (g.collecting) EndItem(g);
    g.collecting = false;
    g.clause = clause;
    g.expect = expect;
  };
  if (IsKeyword(word, {DT("select")})) {
    set(Clause::Select, Expect::Nothing);
    if (!g.selectSeen) {
      g.selectSeen = true;
      g.collecting = true;
      g.item.clear();
      if (g.derivedTable) g.derived = NewDerived(m_stack.back());
      if (g.cteBody) {
        g.derived = g.cte;
        m_context.derived[g.cte].scope = m_stack.back();
      }
    }
  } else if (IsKeyword(word, {DT("from")})) {
    set(Clause::From, Expect::Table);
  } else if (IsKeyword(word, {DT("join"), DT("straight_join")})) {
    set(Clause::From, Expect::Table);
  } else if (IsKeyword(word,
                       {DT("inner"), DT("left"), DT("right"), DT("full"), DT("outer"), DT("cross"), DT("natural")})) {
    set(Clause::From, Expect::Nothing);
  } else if (IsKeyword(word, {DT("on")})) {
    // A join's condition; otherwise the table of an index, trigger or grant.
    if (g.clause == Clause::From)
      set(Clause::On, Expect::Nothing);
    else
      set(Clause::Other, Expect::Table);
  } else if (IsKeyword(word, {DT("using")})) {
    set(Clause::On, Expect::Nothing);
  } else if (IsKeyword(word, {DT("where")})) {
    set(Clause::Where, Expect::Nothing);
  } else if (IsKeyword(word, {DT("group")})) {
    set(Clause::Group, Expect::Nothing);
  } else if (IsKeyword(word, {DT("order")})) {
    set(Clause::Order, Expect::Nothing);
  } else if (IsKeyword(word, {DT("having")})) {
    set(Clause::Having, Expect::Nothing);
  } else if (IsKeyword(word, {DT("set")})) {
    set(Clause::Set, Expect::Nothing);
  } else if (IsKeyword(word, {DT("values")})) {
    set(Clause::Values, Expect::Nothing);
  } else if (IsKeyword(word, {DT("returning")})) {
    set(Clause::Select, Expect::Nothing);
  } else if (IsKeyword(word, {DT("into")})) {
    set(Clause::Into, Expect::Table);
  } else if (IsKeyword(word, {DT("update")}) && (g.clause == Clause::None || g.clause == Clause::With)) {
    set(Clause::Update, Expect::Table);
  } else if (IsKeyword(word, {DT("table"), DT("view")}) && g.clause != Clause::Select) {
    set(Clause::Other, Expect::Table);
  } else if (IsKeyword(word, {DT("describe"), DT("desc")}) && g.clause == Clause::None && !g.selectSeen) {
    set(Clause::Other, Expect::Table);
  } else if (IsKeyword(word, {DT("union"), DT("intersect"), DT("except"), DT("minus")})) {
    set(Clause::None, Expect::Nothing);
  } else if (IsKeyword(word, {DT("limit"), DT("offset"), DT("fetch"), DT("window"), DT("for")})) {
    set(Clause::Other, Expect::Nothing);
  } else if (IsKeyword(word, {DT("as")})) {
    if (g.expect == Expect::AfterTable) {
      g.expect = Expect::Alias;
    } else if (g.clause == Clause::With && g.expect == Expect::AfterCteName) {
      g.expect = Expect::CteBody;
    } else if (g.collecting) {
      g.item.push_back(i);
    }
  } else if (IsKeyword(word, {DT("lateral"), DT("only")}) && g.expect == Expect::Table) {
    // FROM LATERAL (...), FROM ONLY t: the table still comes.
  } else if (IsKeyword(word, {DT("distinct"), DT("all")}) && g.collecting && g.item.empty()) {
    // SELECT DISTINCT: not part of the first item.
  } else if (g.expect == Expect::AfterTable || g.expect == Expect::Alias) {
    if (EndsTableName(word) && g.expect == Expect::AfterTable) {
      g.expect = Expect::Nothing;
    } else {
      OnName(i, g);
    }
  } else {
    if (g.collecting) g.item.push_back(i);
    g.expect = Expect::Nothing;
  }
}

// Reads [catalog.][schema.]table from `i`; answers the token after it. The
// name the caret is typing names no table yet.
size_t CAnalyzer::OnTableName(size_t i, Group& g) {
  g.started = true;
  m_firstWord = false;
  TableRef ref;
  ref.scope = m_stack.back();
  bool atCaret = false;
  size_t at = i;
  for (;;) {
    if (at == m_unit && !m_snapshotTaken) Snapshot();
    if (at == m_word || at == m_unit) atCaret = true;
    ref.name.push_back(NameOf(m_text, m_tokens[at]));
    const size_t dot = Next(at);
    if (dot >= m_end || m_tokens[dot].kind != TokenKind::Dot) {
      at = dot;
      break;
    }
    const size_t name = Next(dot);
    if (!IsName(name)) {
      at = name;
      break;
    }
    at = name;
  }
  if (at > m_unit && i <= m_unit) atCaret = true;
  g.expect = Expect::AfterTable;
  g.pendingRef = kNone;
  if (!atCaret) {
    m_context.refs.push_back(std::move(ref));
    g.pendingRef = m_context.refs.size() - 1;
  }
  return at;
}

void CAnalyzer::OnName(size_t i, Group& g) {
  const TString name = NameOf(m_text, m_tokens[i]);
  switch (g.expect) {
    case Expect::AfterTable:
    case Expect::Alias:
      if (g.pendingRef != kNone && i != m_word) m_context.refs[g.pendingRef].alias = name;
      g.pendingRef = kNone;
      g.expect = Expect::Nothing;
      return;
    case Expect::CteName:
      m_pendingCte = NewDerived(-1);
      m_withNames.push_back(CteName{name, m_pendingCte});
      g.expect = Expect::AfterCteName;
      return;
    default:
      if (g.collecting) g.item.push_back(i);
      g.expect = Expect::Nothing;
      return;
  }
}

// A select-list item ends: its column's name is the last name of a plain
// column path, the alias after AS, or a name after an expression.
void CAnalyzer::EndItem(Group& g) {
  std::vector<size_t> item;
  item.swap(g.item);
  if (g.derived < 0 || item.empty()) return;
  DerivedTable& derived = m_context.derived[g.derived];
  const size_t last = item.back();
  if (last == kNone) return;
  if (m_tokens[last].kind == TokenKind::Star) {
    derived.star = true;
    return;
  }
  if (!IsName(last) || (IsWord(last) && IsValueKeyword(TextOf(last)))) return;
  bool named = item.size() == 1;
  if (!named) {
    const size_t before = item[item.size() - 2];
    if (before == kNone) {
      named = true;  // (expression) alias
    } else {
      const TokenKind kind = m_tokens[before].kind;
      named = kind == TokenKind::Dot || kind == TokenKind::QuotedName || kind == TokenKind::Close ||
              kind == TokenKind::Number || kind == TokenKind::String ||
              (kind == TokenKind::Word && (EqualsNoCase(TextOf(before), DT("as")) || !IsValueKeyword(TextOf(before))));
    }
  }
  if (named && !m_listed[g.derived]) derived.columns.push_back(NameOf(m_text, m_tokens[last]));
}

void CAnalyzer::ResolveWithNames() {
  for (TableRef& ref : m_context.refs) {
    if (ref.derived >= 0 || ref.name.size() != 1) continue;
    for (const CteName& cte : m_withNames)
      if (EqualsNoCase(cte.name, ref.name.front())) ref.derived = cte.derived;
  }
}

void CAnalyzer::CollectVisible() {
  for (int scope : m_caretChain)
    for (size_t r = 0; r < m_context.refs.size(); ++r)
      if (m_context.refs[r].scope == scope) m_context.visible.push_back(r);
}

}  // namespace

CompletionContext AnalyzeCompletion(TStringView text, size_t caret, bool backslashEscapes) {
  return CAnalyzer(text, caret, backslashEscapes).Run();
}

std::vector<size_t> RefsOfScope(const CompletionContext& context, int scope) {
  std::vector<size_t> refs;
  for (size_t r = 0; r < context.refs.size(); ++r)
    if (context.refs[r].scope == scope) refs.push_back(r);
  return refs;
}

}  // namespace dossel::completion
