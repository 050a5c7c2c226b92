// Parsing of the script file. One directive per line, fields separated by
// tabs; see driver_script.h for the directives.

#include "script.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace dossel::scripted {
namespace {

const char* const kNullField = "\\N";

std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char next = field[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  for (const char c : line) {
    if (c == '\t') {
      fields.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  fields.push_back(current);
  return fields;
}

long ToNumber(const std::string& text) {
  size_t used = 0;
  const long value = std::stol(text, &used, 0);
  if (used != text.size()) throw std::invalid_argument("not a number: " + text);
  return value;
}

// Reads one script, line by line, keeping the statement entry that the
// entry-level directives apply to.
class Parser {
 public:
  explicit Parser(Script& script) : m_script(script) {}

  void Line(const std::vector<std::string>& raw) {
    const std::string& word = raw[0];
    std::vector<std::string> f;
    for (size_t i = 1; i < raw.size(); ++i) f.push_back(Unescape(raw[i]));
    if (!Global(word, f) && !ForEntry(word, f, raw)) throw std::invalid_argument("unknown directive " + word);
  }

 private:
  static const std::string& At(const std::vector<std::string>& f, size_t i) {
    if (i >= f.size()) throw std::invalid_argument("missing field");
    return f[i];
  }

  static Diagnostic MakeDiagnostic(const std::vector<std::string>& f) {
    return Diagnostic{At(f, 0), ToNumber(At(f, 1)), At(f, 2)};
  }

  bool Global(const std::string& word, const std::vector<std::string>& f) {
    if (word == "dbms") {
      m_script.info[17] = InfoAnswer{InfoAnswer::Kind::Text, At(f, 0), 0};
    } else if (word == "info") {
      Info(f);
    } else if (word == "function") {
      const int id = static_cast<int>(ToNumber(At(f, 0)));
      if (ToNumber(At(f, 1)) == 0) {
        m_script.unsupportedFunctions.insert(id);
      } else {
        m_script.unsupportedFunctions.erase(id);
      }
    } else if (word == "log") {
      m_script.logPath = At(f, 0);
    } else if (word == "querytimeout" && At(f, 0) == "ignore") {
      m_script.queryTimeoutIgnored = true;
    } else if (word == "cancel" && At(f, 0) == "ignore") {
      m_script.cancelsIgnored = static_cast<int>(ToNumber(At(f, 1)));
    } else if (word == "querytimeout") {
      m_script.queryTimeoutRejectState = At(f, 0);
    } else if (word == "connecterror") {
      m_script.connectErrors.push_back(MakeDiagnostic(f));
    } else if (word == "stmterror") {
      m_script.statementErrors.push_back(MakeDiagnostic(f));
    } else if (word == "statement") {
      m_entry = &m_script.entries[TrimStatement(At(f, 0))];
      m_result = nullptr;
    } else {
      return false;
    }
    return true;
  }

  void Info(const std::vector<std::string>& f) {
    InfoAnswer answer;
    const std::string& kind = At(f, 1);
    if (kind == "text") {
      answer.text = At(f, 2);
    } else if (kind == "int16" || kind == "int32") {
      answer.kind = kind == "int16" ? InfoAnswer::Kind::Int16 : InfoAnswer::Kind::Int32;
      answer.number = ToNumber(At(f, 2));
    } else if (kind == "missing") {
      answer.kind = InfoAnswer::Kind::Missing;
    } else {
      throw std::invalid_argument("unknown info kind " + kind);
    }
    m_script.info[static_cast<int>(ToNumber(At(f, 0)))] = answer;
  }

  Entry& CurrentEntry() {
    if (!m_entry) throw std::invalid_argument("directive before the first statement");
    return *m_entry;
  }

  ResultSet& CurrentResult() {
    if (!m_result) {
      CurrentEntry().results.emplace_back();
      m_result = &CurrentEntry().results.back();
    }
    return *m_result;
  }

  bool ForEntry(const std::string& word, const std::vector<std::string>& f, const std::vector<std::string>& raw) {
    if (word == "result") {
      CurrentEntry().results.emplace_back();
      m_result = &CurrentEntry().results.back();
    } else if (word == "column") {
      CurrentResult().columns.push_back(Column{At(f, 0), static_cast<int>(ToNumber(At(f, 1))), ToNumber(At(f, 2)),
                                               static_cast<int>(ToNumber(At(f, 3))),
                                               static_cast<int>(ToNumber(At(f, 4)))});
    } else if (word == "row") {
      std::vector<Value> row;
      for (size_t i = 1; i < raw.size(); ++i) row.push_back(raw[i] == kNullField ? Value() : Value(f[i - 1]));
      CurrentResult().rows.push_back(std::move(row));
    } else if (word == "rowcount") {
      CurrentResult().rowCount = ToNumber(At(f, 0));
    } else if (word == "rowcounterror") {
      CurrentResult().rowCountErrors.push_back(MakeDiagnostic(f));
    } else if (word == "nototal") {
      CurrentResult().noTotalColumns.insert(static_cast<int>(ToNumber(At(f, 0))));
    } else if (word == "fetcherror") {
      CurrentResult().fetchErrors.push_back(MakeDiagnostic(f));
    } else if (word == "getdataerror") {
      const std::vector<std::string> diagnostic(f.begin() + std::min<size_t>(2, f.size()), f.end());
      CurrentResult().getDataErrors[{ToNumber(At(f, 0)), static_cast<int>(ToNumber(At(f, 1)))}].push_back(
          MakeDiagnostic(diagnostic));
    } else if (word == "moreresultserror") {
      CurrentResult().moreResultsErrors.push_back(MakeDiagnostic(f));
    } else if (word == "error") {
      CurrentEntry().errors.push_back(MakeDiagnostic(f));
    } else if (word == "warning") {
      CurrentEntry().warnings.push_back(MakeDiagnostic(f));
    } else if (word == "still") {
      CurrentEntry().stillExecuting[At(f, 0)] = static_cast<int>(ToNumber(At(f, 1)));
    } else if (word == "block") {
      Block(f);
    } else {
      return false;
    }
    return true;
  }

  void Block(const std::vector<std::string>& f) {
    if (At(f, 0) == "SQLExecDirect") {
      CurrentEntry().blockInExecute = true;
    } else if (At(f, 0) == "SQLFetch") {
      CurrentResult().blockFetchAt = f.size() > 1 ? static_cast<size_t>(ToNumber(f[1])) : 0;
    } else {
      throw std::invalid_argument("cannot block in " + At(f, 0));
    }
  }

  Script& m_script;
  Entry* m_entry = nullptr;
  ResultSet* m_result = nullptr;
};

}  // namespace

std::string TrimStatement(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<Script> LoadScript(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read script " + path;
    return std::nullopt;
  }
  Script script;
  Parser parser(script);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    try {
      parser.Line(SplitFields(line));
    } catch (const std::exception& e) {
      error = path + ":" + std::to_string(number) + ": " + e.what();
      return std::nullopt;
    }
  }
  return script;
}

const Entry* FindEntry(const Script& script, const std::string& sql) {
  auto found = script.entries.find(TrimStatement(sql));
  if (found == script.entries.end()) found = script.entries.find("*");
  return found == script.entries.end() ? nullptr : &found->second;
}

}  // namespace dossel::scripted
