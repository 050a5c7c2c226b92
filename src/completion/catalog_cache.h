#pragma once
// CCatalogCache: the names completion offers for the session's connection:
// its tables and views (with their schemas, and the databases of a server
// that has several), read as soon as it connects, and the columns of each
// table, read when first needed. It follows the session: a new connection
// empties it, a disconnect too.
//
// Reads never hold the window up: each is one small piece (the names, the
// databases, one database's tables, one table's columns) asked of the
// connection's thread through CSession::Ask, one at a time and never while
// a run goes on, so that a run the user starts waits for one piece at most.
// What a piece answers replaces what was read before only when it was read
// whole; a failed read keeps the old names and says nothing. Refresh (the
// command, or a run that changed the schema) reads everything again, still
// offering the old names until the new ones arrive.
//
// UI thread only.

#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "completion/catalog_reads.h"
#include "completion/name_matcher.h"
#include "platform/text.h"
#include "session/session.h"

namespace dossel::completion {

class CCatalogCache {
 public:
  struct Table {
    CatalogTable table;
    MatchKey key;  // of its name
  };
  struct Column {
    CatalogColumn column;
    MatchKey key;
  };

  explicit CCatalogCache(session::CSession& session);
  ~CCatalogCache();
  CCatalogCache(const CCatalogCache&) = delete;
  CCatalogCache& operator=(const CCatalogCache&) = delete;

  // Follows the session's connection, then asks for the next piece wanted
  // unless one is on its way or a run goes on. Called when the window is
  // idle, and by the cache itself whenever it may have work.
  void Pump();
  // Reads the names again, and each table's columns again when next needed.
  void Refresh();
  // The text of a run that has just started: when it may change the schema,
  // everything is read again once the run has ended.
  void NoteRun(TStringView text);
  // Called after an answer changed what the cache holds.
  void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

  bool IsConnected() const { return m_serial != 0; }
  // The names have been read (or their read failed): Tables() holds what
  // there is.
  bool NamesKnown() const { return m_namesKnown; }
  // Nothing on its way and nothing wanted.
  bool IsIdle() const;
  // A piece is on its way.
  bool IsReading() const { return m_inFlight; }
  const NameRules& Rules() const { return m_rules; }

  // The connection's own tables and views, sorted by name.
  const std::vector<Table>& Tables() const { return m_tables; }
  // The schemas those tables are in (none for a driver without them).
  const std::vector<TString>& Schemas() const { return m_schemas; }
  // The server's databases, when it has several; the connection's first.
  const std::vector<TString>& Catalogs() const { return m_catalogs; }
  const TString& CurrentCatalog() const { return m_currentCatalog; }
  // Whether a table in `schema` is reached without naming the schema: no
  // schema, "public", "dbo" or the user's own.
  bool IsDefaultSchema(TStringView schema) const;
  // Whether `catalog` is the connection's own database (or none).
  bool IsCurrentCatalog(TStringView catalog) const;

  // The tables of another database of the server, null until read (the
  // read is then asked for).
  const std::vector<Table>* TablesOfCatalog(const TString& catalog);

  // The table that [catalog.][schema.]name means, by exact name first, then
  // ignoring case; the connection's own database and the default schemas
  // first. Null when the cache knows none.
  const CatalogTable* FindTable(const std::vector<TString>& parts) const;

  // The columns of `table`, null until they are read (the read is then
  // asked for). After a Refresh the old columns are answered while the new
  // ones are read.
  const std::vector<Column>* Columns(const CatalogTable& table);

 private:
  struct ColumnsEntry {
    CatalogTable table;
    std::vector<Column> columns;
    bool read = false;
    bool stale = false;
    bool wanted = false;
  };
  struct CatalogEntry {
    std::vector<Table> tables;
    bool read = false;
    bool stale = false;
    bool wanted = false;
  };

  void Reset(uint64_t serial);
  void AskNext();
  void AskNames();
  void AskCatalogs();
  void AskColumns(const TString& key);
  void AskCatalogTables(const TString& catalog);
  // Asks through the session; `read` runs on the connection's thread and
  // gives the answer to apply here.
  void Ask(std::function<std::function<void()>(db::CDbConnection&)> read);
  // Every answer ends here: the piece is done, the window is told, and the
  // next piece asked for.
  void Answered(uint64_t id, const std::function<void()>& apply);
  // `tables` are read.tables made ready for matching, sorted by name.
  void OnNames(NamesRead read, std::vector<Table> tables);
  void OnColumns(const TString& key, ColumnsRead read);
  void Notify();
  const CatalogTable* FindIn(const std::vector<Table>& tables, const TString* catalog, const TString* schema,
                             const TString& name) const;
  static TString KeyOf(const CatalogTable& table);
  // Any thread.
  static std::vector<Table> Sorted(std::vector<CatalogTable> tables);

  session::CSession& m_session;
  std::function<void()> m_onChange;
  // The connection the cache holds names of; 0 for none.
  uint64_t m_serial = 0;
  uint64_t m_askId = 0;
  bool m_inFlight = false;

  NameRules m_rules;
  TString m_user;
  TString m_currentCatalog;
  bool m_namesKnown = false;
  bool m_namesWanted = false;
  bool m_catalogsWanted = false;
  bool m_catalogsRead = false;
  std::vector<Table> m_tables;
  std::vector<TString> m_schemas;
  std::vector<TString> m_catalogs;
  std::unordered_map<TString, CatalogEntry> m_otherCatalogs;
  std::deque<TString> m_catalogQueue;
  std::unordered_map<TString, ColumnsEntry> m_columns;
  std::deque<TString> m_columnQueue;
  // Answers hold it weakly: one that arrives after the cache is gone is dropped.
  std::shared_ptr<const bool> m_pAlive = std::make_shared<const bool>(true);
};

}  // namespace dossel::completion
