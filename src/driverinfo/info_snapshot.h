#pragma once
// CInfoSnapshot: everything the driver-information report and pages show,
// read from the connection in one go: the SQLGetInfo answers they use, the
// SQLGetFunctions table and the SQLGetTypeInfo rows. Read on the connection's
// thread (inside a CSession::Ask); afterwards a plain value that
// the UI thread formats and shows. An answer the driver refused is absent:
// texts read as empty, numbers as 0.

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/text.h"

namespace dossel::db {
class CDbConnection;
}

namespace dossel::driverinfo {

// One SQLGetTypeInfo row as the pages keep it: NULL numbers read -1 (the
// precision, unsigned, auto-increment and scale columns), NULL texts empty.
struct TypeRecord {
  TString typeName;
  int16_t sqlType = 0;
  int32_t precision = -1;
  TString literalPrefix;
  TString literalSuffix;
  TString createParams;
  int32_t nullable = 0;
  int32_t caseSensitive = 0;
  int32_t searchable = 0;
  int32_t unsignedAttribute = -1;
  int32_t money = 0;
  int32_t autoIncrement = -1;
  int32_t minimumScale = -1;
  int32_t maximumScale = -1;
};

// SQLGetFunctions(SQL_API_ALL_FUNCTIONS) fills this many entries.
inline constexpr size_t kApiFunctionSlots = 100;

class CInfoSnapshot {
 public:
  // Reads every answer from `connection` (connection thread). Leaves the
  // snapshot empty and not connected when the connection is not open.
  void Read(db::CDbConnection& connection);
  // Reads only the function table and the type rows again: the report's
  // Functions and Data Types sections ask the driver while they are written.
  void ReadFunctionsAndTypes(db::CDbConnection& connection);

  bool IsConnected() const { return m_bConnected; }
  // The text answer of `infoType`, empty when refused.
  TString Text(uint16_t infoType) const;
  // A 16- or 32-bit answer (the width is known per type), 0 when refused.
  uint32_t Number(uint16_t infoType) const;
  bool HasNumber(uint16_t infoType) const { return m_numbers.count(infoType) != 0; }
  // Whether SQLGetFunctions said the function with SQL_API_ code `code` is there.
  bool IsFunctionSupported(int code) const;
  // Whether SQLGetTypeInfo could be opened (false: the driver lacks it).
  bool TypesAvailable() const { return m_bTypesAvailable; }
  const std::vector<TypeRecord>& Types() const { return m_types; }

 private:
  void ReadFunctions(const db::CDbConnection& connection);
  void ReadTypes(db::CDbConnection& connection);

  bool m_bConnected = false;
  std::map<uint16_t, TString> m_texts;
  std::map<uint16_t, uint32_t> m_numbers;
  std::array<uint16_t, kApiFunctionSlots> m_functions{};
  bool m_bTypesAvailable = false;
  std::vector<TypeRecord> m_types;
};

}  // namespace dossel::driverinfo
