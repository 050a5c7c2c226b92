#pragma once
// Reading a saved grid file into a store: the first line's fields become
// the columns (as headings), every further line a row whose first field is
// the row's heading and whose other fields fill the columns in order (extra
// fields are dropped, missing ones stay empty). Lines end at "\n" with one
// "\r" before it dropped; fields are split at the separator, nothing is
// quoted; the bytes are UTF-8. No wx; the store's caller's thread.

#include <cstdio>
#include <string>

#include "grid/grid_store.h"

namespace dossel {

// The lines of a file, each read whole however long (a piece of a long line
// must not become a row of its own) and with any bytes in it, zeros too.
class CSavedLineReader {
 public:
  explicit CSavedLineReader(std::FILE* file) : m_file(file) {}
  // The next line without its line end ("\n", and a "\r" before it or at
  // the very end of the file); false at the end of the file or on a read
  // error.
  bool ReadLine(std::string& line);

 private:
  std::FILE* m_file;
  char m_buffer[16384];
  size_t m_begin = 0, m_end = 0;
};

// Replaces the store's cells with the saved grid in file (read from where
// it stands). The columns take format. False on a read error; the lines
// read before it stay, as they do when memory runs out (the store notes
// that) and the load ends early.
bool LoadSavedGrid(CGridStore& store, std::FILE* file, TChar separator, uint32_t format);

// A saved grid file's line for row: its cells' texts joined by separator,
// as UTF-8, with its line end.
std::string SavedGridFileLine(const CGridStore& store, int32_t row, TChar separator);

}  // namespace dossel
