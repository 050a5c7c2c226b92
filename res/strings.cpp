#include "res/strings.h"

#include "res/command_ids.h"

namespace dossel::res {
namespace {

struct StringEntry {
  int id;
  const TChar* text;
};

constexpr StringEntry kStrings[] = {
    {ID_INDICATOR_CAPS, DT("CAP")},
    {ID_INDICATOR_NUM, DT("NUM")},
    {ID_INDICATOR_SCRL, DT("SCRL")},
};

}  // namespace

TStringView LoadString(int id) {
  for (const auto& entry : kStrings)
    if (entry.id == id) return entry.text;
  return {};
}

}  // namespace dossel::res
