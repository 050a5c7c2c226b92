// The settings file's reader over any text: it must not fault, and a tree it
// accepts must survive writing and reading back unchanged (the program
// rewrites the whole file on every change, so a tree that drifts on a round
// trip would lose or alter settings).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/text.h"
#include "settings/registry_tree.h"

namespace {

using dossel::settings::ParseRegistryText;
using dossel::settings::RegistryKey;
using dossel::settings::RegistryTree;
using dossel::settings::SplitKeyPath;
using dossel::settings::ValueAsText;
using dossel::settings::WriteRegistryText;

// The settings functions hand every text to the program through the text
// conversions (UTF-16 in the handheld edition): any bytes must come out as
// text that converts back unchanged.
void CheckConversions(const std::string& bytes) {
  const std::string text = dossel::Utf16ToUtf8(dossel::Utf8ToUtf16(bytes));
  FUZZ_CHECK(dossel::Utf16ToUtf8(dossel::Utf8ToUtf16(text)) == text);
}

void ReadEveryValue(const RegistryKey& key) {
  std::string text;
  for (const auto& value : key.Values()) {
    CheckConversions(value.name);
    if (ValueAsText(value, text)) CheckConversions(text);
  }
  for (const auto& child : key.Children()) {
    FUZZ_CHECK(!child->Name().empty());
    CheckConversions(child->Name());
    FUZZ_CHECK(key.FindChild(child->Name()) == child.get());
    ReadEveryValue(*child);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<std::string> components;
  if (SplitKeyPath(text, components))
    for (const std::string& name : components) FUZZ_CHECK(!name.empty() && name.find('\\') == std::string::npos);

  RegistryTree tree;
  if (!ParseRegistryText(text, tree)) return 0;
  ReadEveryValue(tree);

  const std::string written = WriteRegistryText(tree);
  RegistryTree reread;
  FUZZ_CHECK(ParseRegistryText(written, reread));
  FUZZ_CHECK(WriteRegistryText(reread) == written);
  return 0;
}
