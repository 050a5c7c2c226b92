// DosselODBC's connect-string parser over long strings that are mostly
// fragments without "=", against one pass of std::count over the same text:
// the parse must stay one pass (its ratio does not grow with the length).

#include <algorithm>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "db/odbc/connect_string.h"

using namespace dossel;

int main(int argc, char** argv) {
  const long length = argc > 1 ? std::atol(argv[1]) : 4000000;
  for (const char* fragment : {";", "word;"}) {
    std::string text;
    while (static_cast<long>(text.size()) < length) text += fragment;
    text += "Key=value";
    long found = 0;
    const bench::Measure ours = bench::Best(3, [&] {
      return bench::MeasureChild([&] { found = static_cast<long>(odbc::ParseConnectString(text).size()); });
    });
    const bench::Measure scan =
        bench::Best(3, [&] { return bench::MeasureChild([&] { found = std::count(text.begin(), text.end(), ';'); }); });
    bench::Print(std::string("parse_connect_string_") + (fragment[0] == ';' ? "semicolons" : "words"), ours,
                 "count_semicolons", scan, "length=" + std::to_string(text.size()));
  }
  return 0;
}
