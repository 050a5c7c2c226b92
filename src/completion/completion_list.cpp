#include "completion/completion_list.h"

#include "schema/sql_names.h"

namespace dossel::completion {
namespace {

// How deep a subquery's "*" is followed into the subqueries it selects from.
constexpr int kDerivedDepth = 4;

bool SameName(TStringView a, TStringView b) { return a == b || MakeMatchKey(a).folded == MakeMatchKey(b).folded; }

TString AsciiUpper(TStringView text) {
  TString out(text);
  for (TChar& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<TChar>(c - 'a' + 'A');
  return out;
}

// Gathers the items of one list: each group's prefix matches, then its
// word-part matches, kMaxGroupItems of them at most; a text already offered
// is not offered again.
class CCollector {
 public:
  explicit CCollector(TStringView typed) : m_typed(typed) {}

  void Add(const MatchKey& key, TString text, ItemKind kind, const TString& detail = TString()) {
    AddMade(
        key, [&] { return std::move(text); }, kind, detail);
  }
  // `makeText` is called only for an item that may be shown: a catalog of
  // many thousand names writes only the first.
  template <typename MakeText>
  void AddMade(const MatchKey& key, MakeText&& makeText, ItemKind kind, const TString& detail = TString()) {
    const MatchKind match = m_typed.Match(key);
    if (match == MatchKind::None) return;
    std::vector<CompletionItem>& group = match == MatchKind::Prefix ? m_prefix : m_parts;
    if (group.size() >= kMaxGroupItems) {
      m_list.cut = true;
      return;
    }
    TString text = makeText();
    if (!m_seen.insert(text).second) return;
    group.push_back(CompletionItem{std::move(text), kind, detail});
  }
  void EndGroup() {
    size_t room = kMaxGroupItems;
    for (auto* group : {&m_prefix, &m_parts}) {
      if (group->size() > room) m_list.cut = true;
      for (size_t i = 0; i < group->size() && room; ++i, --room) m_list.items.push_back(std::move((*group)[i]));
      group->clear();
    }
  }
  CompletionList& List() { return m_list; }

 private:
  CTypedWord m_typed;
  std::unordered_set<TString> m_seen;
  std::vector<CompletionItem> m_prefix;
  std::vector<CompletionItem> m_parts;
  CompletionList m_list;
};

class CBuilder {
 public:
  CBuilder(TStringView text, const CompletionContext& context, CCatalogCache* cache, const CWordList& keywords,
           const CWordList& reserved)
      : m_context(context),
        m_cache(cache),
        m_keywords(keywords),
        m_writer(cache ? cache->Rules() : NameRules{}, reserved),
        m_collector(context.prefix) {
    if (context.quotedPrefix && context.wordStart < text.size()) m_quote = text[context.wordStart];
    // A keyword is written in the case the user began it in.
    m_upperKeywords = context.prefix.empty() || !(context.prefix[0] >= 'a' && context.prefix[0] <= 'z');
  }

  CompletionList Build() {
    switch (m_context.place) {
      case Place::None:
        return {};
      case Place::Keywords:
        AddKeywords();
        break;
      case Place::Tables:
        AddTables();
        break;
      case Place::Columns:
        AddStatementColumns();
        AddKeywords();
        break;
      case Place::Member:
        AddMembers();
        break;
    }
    CompletionList list = std::move(m_collector.List());
    list.waiting = m_waiting;
    return list;
  }

 private:
  TString Name(TStringView name) const { return m_writer.Write(name, m_quote); }

  void AddKeywords() {
    if (m_quote) return;
    for (const CWordList::Word& word : m_keywords.Words())
      m_collector.Add(word.key, m_upperKeywords ? AsciiUpper(word.text) : word.text, ItemKind::Keyword);
    m_collector.EndGroup();
  }

  // Tables and views of the connection's database, with their schema where
  // it must be named; then the schemas and the other databases.
  void AddTables() {
    if (!m_cache) return;
    if (!m_cache->NamesKnown()) m_waiting = true;
    for (const CCatalogCache::Table& entry : m_cache->Tables()) {
      const CatalogTable& table = entry.table;
      if (!m_cache->IsCurrentCatalog(table.catalog)) continue;
      const auto text = [&] {
        TString name = Name(table.name);
        return m_cache->IsDefaultSchema(table.schema) ? name : Name(table.schema) + DT(".") + name;
      };
      m_collector.AddMade(entry.key, text, table.view ? ItemKind::View : ItemKind::Table);
    }
    m_collector.EndGroup();
    for (const TString& schema : m_cache->Schemas())
      m_collector.Add(MakeMatchKey(schema), Name(schema), ItemKind::Schema);
    for (const TString& catalog : m_cache->Catalogs())
      if (!m_cache->IsCurrentCatalog(catalog)) m_collector.Add(MakeMatchKey(catalog), Name(catalog), ItemKind::Schema);
    m_collector.EndGroup();
  }

  void AddTablesOf(const std::vector<CCatalogCache::Table>& tables, const TString* catalog, const TString* schema) {
    for (const CCatalogCache::Table& entry : tables) {
      if (catalog && !SameName(entry.table.catalog, *catalog)) continue;
      if (schema && !SameName(entry.table.schema, *schema)) continue;
      m_collector.AddMade(
          entry.key, [&] { return Name(entry.table.name); }, entry.table.view ? ItemKind::View : ItemKind::Table);
    }
  }

  void AddColumns(const CatalogTable& table) {
    const std::vector<CCatalogCache::Column>* columns = m_cache->Columns(table);
    if (!columns) {
      m_waiting = true;
      return;
    }
    for (const CCatalogCache::Column& column : *columns)
      m_collector.Add(column.key, Name(column.column.name), ItemKind::Column, column.column.type);
  }

  // The columns a table of the statement brings: a catalog table's, or
  // what a subquery or WITH entry selects.
  void AddColumnsOfRef(const TableRef& ref, int depth = 0) {
    if (ref.derived >= 0) {
      const DerivedTable& derived = m_context.derived[ref.derived];
      for (const TString& column : derived.columns)
        m_collector.Add(MakeMatchKey(column), Name(column), ItemKind::Column);
      if (derived.star && derived.scope >= 0 && depth < kDerivedDepth)
        for (size_t inner : RefsOfScope(m_context, derived.scope)) AddColumnsOfRef(m_context.refs[inner], depth + 1);
      return;
    }
    if (!m_cache) return;
    if (const CatalogTable* table = Resolve(ref.name)) AddColumns(*table);
  }

  // The catalog's table that [catalog.][schema.]name means. A name in
  // another database of the server asks for that database's tables.
  const CatalogTable* Resolve(const std::vector<TString>& parts) {
    if (const CatalogTable* table = m_cache->FindTable(parts)) return table;
    if (parts.size() >= 2) {
      for (const TString& catalog : m_cache->Catalogs()) {
        if (!SameName(catalog, parts[0]) || m_cache->IsCurrentCatalog(catalog)) continue;
        if (m_cache->TablesOfCatalog(catalog)) return m_cache->FindTable(parts);
        m_waiting = true;
        return nullptr;
      }
    }
    // What is not known yet may be once the reads on their way are in.
    if (!m_cache->IsIdle()) m_waiting = true;
    return nullptr;
  }

  void AddStatementColumns() {
    for (size_t r : m_context.visible) AddColumnsOfRef(m_context.refs[r]);
    m_collector.EndGroup();
    // The statement's tables by the names that qualify their columns.
    for (size_t r : m_context.visible) {
      const TableRef& ref = m_context.refs[r];
      const TString& name = !ref.alias.empty() || ref.name.empty() ? ref.alias : ref.name.back();
      if (!name.empty()) m_collector.Add(MakeMatchKey(name), Name(name), ItemKind::Alias);
    }
    m_collector.EndGroup();
  }

  // The table of the statement that `qualifier` names: by its alias, else
  // by its name (with as many of its parts as given).
  const TableRef* FindRef(const std::vector<TString>& qualifier) const {
    if (qualifier.size() == 1)
      for (size_t r : m_context.visible)
        if (SameName(m_context.refs[r].alias, qualifier[0])) return &m_context.refs[r];
    for (size_t r : m_context.visible) {
      const TableRef& ref = m_context.refs[r];
      if (ref.name.size() < qualifier.size()) continue;
      bool same = true;
      for (size_t i = 0; same && i < qualifier.size(); ++i)
        same = SameName(ref.name[ref.name.size() - qualifier.size() + i], qualifier[i]);
      if (same) return &ref;
    }
    return nullptr;
  }

  // After "x.": a table's columns, or a schema's or database's tables.
  void AddMembers() {
    const std::vector<TString>& q = m_context.qualifier;
    if (!m_context.tableExpected && q.size() <= 3) {
      if (const TableRef* ref = FindRef(q)) {
        AddColumnsOfRef(*ref);
        m_collector.EndGroup();
        return;
      }
      if (m_cache)
        if (const CatalogTable* table = m_cache->FindTable(q)) {
          AddColumns(*table);
          m_collector.EndGroup();
          return;
        }
    }
    if (!m_cache) return;
    if (!m_cache->IsIdle()) m_waiting = true;
    if (q.size() == 1) {
      for (const TString& schema : m_cache->Schemas())
        if (SameName(schema, q[0])) AddTablesOf(m_cache->Tables(), nullptr, &schema);
      for (const TString& catalog : m_cache->Catalogs()) {
        if (!SameName(catalog, q[0])) continue;
        if (m_cache->IsCurrentCatalog(catalog)) {
          AddTablesOf(m_cache->Tables(), nullptr, nullptr);
        } else if (const auto* tables = m_cache->TablesOfCatalog(catalog)) {
          AddTablesOf(*tables, nullptr, nullptr);
        } else {
          m_waiting = true;
        }
      }
    } else if (q.size() == 2) {
      AddTablesOf(m_cache->Tables(), &q[0], &q[1]);
    }
    m_collector.EndGroup();
  }

  const CompletionContext& m_context;
  CCatalogCache* m_cache;
  const CWordList& m_keywords;
  CNameWriter m_writer;
  CCollector m_collector;
  TChar m_quote = TChar(0);
  bool m_upperKeywords = true;
  bool m_waiting = false;
};

}  // namespace

CWordList::CWordList(TStringView words) {
  size_t at = 0;
  while (at < words.size()) {
    const size_t end = std::min(words.find(TChar(' '), at), words.size());
    if (end > at) {
      TString word(words.substr(at, end - at));
      if (m_folded.insert(AsciiLower(word)).second) {
        MatchKey key = MakeMatchKey(word);
        m_words.push_back(Word{std::move(word), std::move(key)});
      }
    }
    at = end + 1;
  }
}

bool CWordList::Contains(TStringView word) const { return m_folded.count(AsciiLower(word)) != 0; }

bool CNameWriter::NeedsQuotes(TStringView name) const {
  if (!schema::IsPlainIdentifier(name) || m_reserved.Contains(name)) return true;
  for (TChar c : name) {
    if (m_rules.identifierCase == IdentifierCase::Lower && c >= 'A' && c <= 'Z') return true;
    if (m_rules.identifierCase == IdentifierCase::Upper && c >= 'a' && c <= 'z') return true;
  }
  return false;
}

TString CNameWriter::Write(TStringView name, TChar quote) const {
  const TChar open = quote ? quote : m_rules.quote;
  if (open == schema::kNoIdentifierQuote || open == TChar(0) || (!quote && !NeedsQuotes(name))) return TString(name);
  const TChar close = open == '[' ? TChar(']') : open;
  TString quoted(1, open);
  for (TChar c : name) {
    quoted += c;
    if (c == close) quoted += c;
  }
  quoted += close;
  return quoted;
}

CompletionList BuildCompletionList(TStringView text, const CompletionContext& context, CCatalogCache* cache,
                                   const CWordList& keywords, const CWordList& reserved) {
  return CBuilder(text, context, cache, keywords, reserved).Build();
}

}  // namespace dossel::completion
