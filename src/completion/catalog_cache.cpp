#include "completion/catalog_cache.h"

#include <algorithm>
#include <optional>
#include <set>
#include <type_traits>

#include "completion/schema_change.h"

namespace dossel::completion {
namespace {

// Separates the parts of a table's key; no name holds it.
constexpr TChar kKeySeparator = TChar(0x1F);

bool SameFolded(TStringView a, TStringView b) { return a == b || MakeMatchKey(a).folded == MakeMatchKey(b).folded; }

}  // namespace

CCatalogCache::CCatalogCache(session::CSession& session) : m_session(session) {}

CCatalogCache::~CCatalogCache() = default;

bool CCatalogCache::IsIdle() const {
  return !m_inFlight && !m_namesWanted && !m_catalogsWanted && m_columnQueue.empty() && m_catalogQueue.empty();
}

void CCatalogCache::Reset(uint64_t serial) {
  m_serial = serial;
  ++m_askId;  // an answer still on its way belongs to the old connection
  m_inFlight = false;
  m_rules = NameRules{};
  if (serial) m_rules.quote = m_session.Connection().GetIdentifierQuoteChar();
  m_user.clear();
  m_currentCatalog.clear();
  m_namesKnown = m_namesWanted = m_catalogsWanted = m_catalogsRead = false;
  m_tables.clear();
  m_schemas.clear();
  m_catalogs.clear();
  m_otherCatalogs.clear();
  m_catalogQueue.clear();
  m_columns.clear();
  m_columnQueue.clear();
}

void CCatalogCache::Pump() {
  if (!m_session.IsConnected()) {
    if (m_serial) {
      Reset(0);
      Notify();
    }
    return;
  }
  if (m_serial != m_session.ConnectionSerial()) {
    Reset(m_session.ConnectionSerial());
    m_namesWanted = true;
    Notify();
  }
  if (m_inFlight || m_session.IsExecuting()) return;
  AskNext();
}

void CCatalogCache::Refresh() {
  if (!m_serial) return;
  m_namesWanted = true;
  m_catalogsWanted = m_catalogsRead;
  for (auto& [key, entry] : m_columns) entry.stale = true;
  for (auto& [key, entry] : m_otherCatalogs) entry.stale = true;
  Pump();
}

void CCatalogCache::NoteRun(TStringView text) {
  const bool backslash = session::DialectOf(m_session.GetDbmsName()) == session::SqlDialect::kMySql;
  // Pump reads nothing while the run goes on.
  if (ChangesSchema(text, backslash)) Refresh();
}

// One piece at a time, the names first.
void CCatalogCache::AskNext() {
  if (m_namesWanted) return AskNames();
  if (m_catalogsWanted) return AskCatalogs();
  while (!m_columnQueue.empty()) {
    const TString key = m_columnQueue.front();
    m_columnQueue.pop_front();
    const auto found = m_columns.find(key);
    if (found != m_columns.end() && found->second.wanted) return AskColumns(key);
  }
  while (!m_catalogQueue.empty()) {
    const TString catalog = m_catalogQueue.front();
    m_catalogQueue.pop_front();
    const auto found = m_otherCatalogs.find(catalog);
    if (found != m_otherCatalogs.end() && found->second.wanted) return AskCatalogTables(catalog);
  }
}

void CCatalogCache::Ask(std::function<std::function<void()>(db::CDbConnection&)> read) {
  const uint64_t id = ++m_askId;
  std::weak_ptr<const bool> alive = m_pAlive;
  m_inFlight = m_session.Ask([this, id, alive, read = std::move(read)](db::CDbConnection& connection) {
    // Here on the connection's thread only the read runs; the cache is
    // touched by the answer, on the UI thread.
    std::function<void()> apply = read(connection);
    return session::CSession::PostedAnswer([this, id, alive, apply = std::move(apply)] {
      if (!alive.expired()) Answered(id, apply);
    });
  });
}

void CCatalogCache::Answered(uint64_t id, const std::function<void()>& apply) {
  if (id != m_askId) return;
  m_inFlight = false;
  apply();
  Notify();
  Pump();
}

void CCatalogCache::AskNames() {
  m_namesWanted = false;
  std::optional<CatalogTable> probe;
  if (!m_tables.empty()) probe = m_tables.front().table;
  Ask([this, probe](db::CDbConnection& connection) {
    NamesRead read = ReadNames(connection, probe ? &*probe : nullptr);
    // Sorted here: the window does not wait while many names are made ready.
    std::vector<Table> tables = Sorted(std::move(read.tables.tables));
    return [this, read = std::move(read), tables = std::move(tables)]() mutable {
      OnNames(std::move(read), std::move(tables));
    };
  });
}

void CCatalogCache::OnNames(NamesRead read, std::vector<Table> tables) {
  m_rules = read.rules;
  m_user = read.user;
  m_currentCatalog = read.currentCatalog;
  if (read.catalogs && !m_catalogsRead) m_catalogsWanted = true;
  if (!read.tables.ok) {
    // The old names stay; so do the columns of their tables.
    m_namesKnown = true;
    return;
  }
  m_tables = std::move(tables);
  std::set<TString> schemas;
  std::set<TString> keys;
  for (const Table& table : m_tables) {
    if (!table.table.schema.empty()) schemas.insert(table.table.schema);
    if (!m_columns.empty()) keys.insert(KeyOf(table.table));
  }
  m_schemas.assign(schemas.begin(), schemas.end());
  // Columns of tables that are gone are forgotten; those of another
  // database's tables are kept with their database.
  for (auto it = m_columns.begin(); it != m_columns.end();) {
    const bool own = IsCurrentCatalog(it->second.table.catalog);
    it = own && !keys.count(it->first) ? m_columns.erase(it) : std::next(it);
  }
  m_namesKnown = true;
}

void CCatalogCache::AskCatalogs() {
  m_catalogsWanted = false;
  Ask([this](db::CDbConnection& connection) {
    return [this, read = ReadCatalogs(connection)] {
      if (!read.ok) return;
      m_catalogsRead = true;
      std::vector<TString> names;
      // The connection's own database first, then the others in the order given.
      for (const TString& name : read.names)
        if (IsCurrentCatalog(name)) names.push_back(name);
      for (const TString& name : read.names)
        if (!IsCurrentCatalog(name) && std::find(names.begin(), names.end(), name) == names.end())
          names.push_back(name);
      m_catalogs = std::move(names);
    };
  });
}

const std::vector<CCatalogCache::Table>* CCatalogCache::TablesOfCatalog(const TString& catalog) {
  if (!m_serial) return nullptr;
  CatalogEntry& entry = m_otherCatalogs[catalog];
  if ((!entry.read || entry.stale) && !entry.wanted) {
    entry.wanted = true;
    m_catalogQueue.push_back(catalog);
    Pump();
  }
  return entry.read ? &entry.tables : nullptr;
}

void CCatalogCache::AskCatalogTables(const TString& catalog) {
  m_otherCatalogs[catalog].wanted = false;
  Ask([this, catalog](db::CDbConnection& connection) {
    TablesRead read = ReadTablesIn(connection, catalog, TString());
    return [this, catalog, ok = read.ok, tables = Sorted(std::move(read.tables))]() mutable {
      CatalogEntry& entry = m_otherCatalogs[catalog];
      entry.stale = false;
      if (!ok && entry.read) return;
      entry.read = true;
      entry.tables = std::move(tables);
    };
  });
}

const std::vector<CCatalogCache::Column>* CCatalogCache::Columns(const CatalogTable& table) {
  if (!m_serial) return nullptr;
  const TString key = KeyOf(table);
  auto [found, added] = m_columns.try_emplace(key);
  ColumnsEntry& entry = found->second;
  if (added) entry.table = table;
  if ((!entry.read || entry.stale) && !entry.wanted) {
    entry.wanted = true;
    m_columnQueue.push_back(key);
    Pump();
  }
  return entry.read ? &entry.columns : nullptr;
}

void CCatalogCache::AskColumns(const TString& key) {
  ColumnsEntry& entry = m_columns[key];
  entry.wanted = false;
  const CatalogTable table = entry.table;
  Ask([this, key, table](db::CDbConnection& connection) {
    return [this, key, read = ReadColumnsOf(connection, table)]() mutable { OnColumns(key, std::move(read)); };
  });
}

void CCatalogCache::OnColumns(const TString& key, ColumnsRead read) {
  const auto found = m_columns.find(key);
  if (found == m_columns.end()) return;
  ColumnsEntry& entry = found->second;
  entry.stale = false;
  // A failed read keeps what was read before; a first one that failed
  // counts as read, empty, so it is not asked again until a Refresh.
  if (!read.ok && entry.read) return;
  entry.read = true;
  entry.columns.clear();
  entry.columns.reserve(read.columns.size());
  for (CatalogColumn& column : read.columns) {
    MatchKey matchKey = MakeMatchKey(column.name);
    entry.columns.push_back(Column{std::move(column), std::move(matchKey)});
  }
}

void CCatalogCache::Notify() {
  if (m_onChange) m_onChange();
}

bool CCatalogCache::IsDefaultSchema(TStringView schema) const {
  return schema.empty() || EqualsNoCase(schema, DT("public")) || EqualsNoCase(schema, DT("dbo")) ||
         (!m_user.empty() && EqualsNoCase(schema, m_user));
}

bool CCatalogCache::IsCurrentCatalog(TStringView catalog) const {
  return catalog.empty() || m_currentCatalog.empty() || EqualsNoCase(catalog, m_currentCatalog);
}

const CatalogTable* CCatalogCache::FindIn(const std::vector<Table>& tables, const TString* catalog,
                                          const TString* schema, const TString& name) const {
  const MatchKey key = MakeMatchKey(name);
  const auto [first, last] =
      std::equal_range(tables.begin(), tables.end(), key.folded, [](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Table>)
          return a.key.folded < b;
        else
          return a < b.key.folded;
      });
  const CatalogTable* best = nullptr;
  int bestScore = -1;
  for (auto it = first; it != last; ++it) {
    const CatalogTable& table = it->table;
    if (catalog && !SameFolded(table.catalog, *catalog)) continue;
    if (schema && !SameFolded(table.schema, *schema)) continue;
    // The exact spelling first, then the connection's own database and the
    // schemas reached without a name.
    const int score = (table.name == name ? 4 : 0) + (IsCurrentCatalog(table.catalog) ? 2 : 0) +
                      (IsDefaultSchema(table.schema) ? 1 : 0);
    if (score > bestScore) {
      best = &table;
      bestScore = score;
    }
  }
  return best;
}

const CatalogTable* CCatalogCache::FindTable(const std::vector<TString>& parts) const {
  if (parts.empty() || parts.size() > 3) return nullptr;
  const TString& name = parts.back();
  if (parts.size() == 1) return FindIn(m_tables, nullptr, nullptr, name);
  if (parts.size() == 3) {
    const auto other = m_otherCatalogs.find(parts[0]);
    if (const CatalogTable* found = FindIn(m_tables, &parts[0], &parts[1], name)) return found;
    return other == m_otherCatalogs.end() ? nullptr : FindIn(other->second.tables, &parts[0], &parts[1], name);
  }
  // One qualifier: a schema, or a database of a server without schemas.
  if (const CatalogTable* found = FindIn(m_tables, nullptr, &parts[0], name)) return found;
  if (const CatalogTable* found = FindIn(m_tables, &parts[0], nullptr, name)) return found;
  for (const auto& [catalog, entry] : m_otherCatalogs)
    if (SameFolded(catalog, parts[0]))
      if (const CatalogTable* found = FindIn(entry.tables, nullptr, nullptr, name)) return found;
  return nullptr;
}

TString CCatalogCache::KeyOf(const CatalogTable& table) {
  TString key = table.catalog;
  key += kKeySeparator;
  key += table.schema;
  key += kKeySeparator;
  key += table.name;
  return key;
}

std::vector<CCatalogCache::Table> CCatalogCache::Sorted(std::vector<CatalogTable> tables) {
  std::vector<Table> sorted;
  sorted.reserve(tables.size());
  for (CatalogTable& table : tables) {
    MatchKey key = MakeMatchKey(table.name);
    sorted.push_back(Table{std::move(table), std::move(key)});
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const Table& a, const Table& b) {
    return a.key.folded != b.key.folded ? a.key.folded < b.key.folded : a.table.name < b.table.name;
  });
  return sorted;
}

}  // namespace dossel::completion
