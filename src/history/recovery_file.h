#pragma once
// The query pane's recovery file: while the pane holds unsaved changes, its
// text (and the file it belongs to) is kept in a file of the data folder, so
// that a crash, a kill or a power cut loses nothing. Each running program
// has a file of its own ("recovery-<id>.query") and holds a lock on its
// companion ("recovery-<id>.lock") for as long as it runs; the system drops
// the lock when the program ends however it ends, so a recovery file whose
// lock can be taken was left by a program that is gone, and one whose lock
// is held belongs to a program still running, which no other takes.
//
// Writes replace the file atomically (platform/file_writer.h) on the
// recovery writer, a thread of its own, so the UI thread only hands over a
// copy of the text.

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace dossel::history {

// What a recovery file holds. Bytes throughout: the text as the query
// pane's control holds it (UTF-8) and the path as the file system names it.
struct RecoveredQuery {
  // The query file the text belongs to; empty for an untitled text. (How
  // that file is written is read from it again when the text is restored.)
  std::string path;
  std::string text;
};

std::string EncodeRecoveredQuery(const RecoveredQuery& query);
// False when `bytes` is not a whole recovery file.
bool DecodeRecoveredQuery(std::string_view bytes, RecoveredQuery& query);

class CLeftRecovery;

// This program's recovery file. Save and Remove come from the UI thread;
// the last one asked wins over one not yet done.
class CRecoveryFile {
 public:
  // Takes a name of its own in `folder` (made when missing) and its lock.
  explicit CRecoveryFile(std::string folder);
  // The program ends as it should: what the user kept is saved or was
  // discarded, so the file and its lock go.
  ~CRecoveryFile();
  CRecoveryFile(const CRecoveryFile&) = delete;
  CRecoveryFile& operator=(const CRecoveryFile&) = delete;

  // False when the folder or the lock could not be made: nothing is kept.
  bool IsUsable() const { return m_lockFd >= 0; }
  const std::string& Path() const { return m_path; }
  void Save(RecoveredQuery query);
  void Remove();
  // A file left by a program that is gone becomes this program's (its text
  // restored into the pane), by a rename: no moment passes without a copy.
  void Adopt(CLeftRecovery left);
  // Waits at most `milliseconds` until what was asked has been written.
  bool WaitIdle(unsigned milliseconds);

 private:
  enum class Action { kNone, kSave, kRemove };
  void Loop();
  void Write(Action action, const RecoveredQuery& query);

  std::string m_path;
  std::string m_lockPath;
  int m_lockFd = -1;
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::condition_variable m_idle;
  Action m_pending = Action::kNone;
  RecoveredQuery m_query;
  std::vector<CLeftRecovery> m_adopted;
  bool m_busy = false;
  bool m_stopping = false;
  std::thread m_thread;
};

// A recovery file whose program is gone, held (its lock taken) so that a
// program starting at the same time does not offer it too. Released, the
// file stays for a later start, unless it was discarded or adopted.
class CLeftRecovery {
 public:
  CLeftRecovery(std::string path, std::string lockPath, int lockFd);
  CLeftRecovery(CLeftRecovery&& other) noexcept;
  CLeftRecovery& operator=(CLeftRecovery&& other) noexcept;
  ~CLeftRecovery();

  const std::string& Path() const { return m_path; }
  bool Read(RecoveredQuery& query) const;
  // The user does not want it back: the file and its lock go.
  void Discard();

 private:
  friend class CRecoveryFile;
  void Release();

  std::string m_path;
  std::string m_lockPath;
  int m_lockFd = -1;
};

// The recovery files of `folder` whose programs are gone, newest first,
// each held. Files of running programs are passed by.
std::vector<CLeftRecovery> FindLeftRecoveries(const std::string& folder);

}  // namespace dossel::history
