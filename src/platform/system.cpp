#include "platform/system.h"

#include <unistd.h>

#include <chrono>

namespace dossel {

uint32_t GetTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TString GetComputerName() {
  constexpr size_t kMaxComputerName = 15;
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  std::string host(name);
  if (host.size() > kMaxComputerName) host.resize(kMaxComputerName);
  return FromUtf8(host);
}

}  // namespace dossel
