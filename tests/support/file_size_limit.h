#pragma once
// A limit on the size of files this process writes, for its lifetime: a
// write past it fails with EFBIG, as a full disk or a quota would fail it
// part way through a file.

#include <sys/resource.h>

#include <csignal>

namespace dossel::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_signal = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, m_saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_signal);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_saved{};
  void (*m_signal)(int) = nullptr;
};

}  // namespace dossel::test
