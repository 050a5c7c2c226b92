#include "platform/format.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace dossel {
namespace {

struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  char conversion = 0;
};

bool IsFlag(TChar c) { return c == '-' || c == '0' || c == '+' || c == ' ' || c == '#'; }
bool IsDigit(TChar c) { return c >= '0' && c <= '9'; }

// Parses the part of a conversion after '%'; returns false for a malformed one.
bool ParseSpec(TStringView format, size_t& pos, Spec& spec) {
  while (pos < format.size() && IsFlag(format[pos])) spec.flags += static_cast<char>(format[pos++]);
  if (pos < format.size() && IsDigit(format[pos])) {
    spec.width = 0;
    while (pos < format.size() && IsDigit(format[pos])) spec.width = spec.width * 10 + (format[pos++] - '0');
  }
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    spec.precision = 0;
    while (pos < format.size() && IsDigit(format[pos])) spec.precision = spec.precision * 10 + (format[pos++] - '0');
  }
  while (pos < format.size() && (format[pos] == 'h' || format[pos] == 'l' || format[pos] == 'L')) ++pos;
  if (pos >= format.size()) return false;
  spec.conversion = static_cast<char>(format[pos++]);
  return true;
}

std::string NarrowSpec(const Spec& spec, const char* length, char conversion) {
  std::string s = "%" + spec.flags;
  if (spec.width >= 0) s += std::to_string(spec.width);
  if (spec.precision >= 0) {
    s += '.';
    s += std::to_string(spec.precision);
  }
  return s + length + conversion;
}

template <typename T>
std::string PrintNumber(const std::string& spec, T value) {
  char buffer[128];
  int n = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, n);
  std::string big(n + 1, '\0');
  std::snprintf(big.data(), big.size(), spec.c_str(), value);
  big.resize(n);
  return big;
}

void AppendPadded(TString& out, TStringView text, const Spec& spec) {
  if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision)) text = text.substr(0, spec.precision);
  const size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > text.size() ? spec.width - text.size() : 0;
  const bool left = spec.flags.find('-') != std::string::npos;
  if (!left) out.append(pad, ' ');
  out.append(text);
  if (left) out.append(pad, ' ');
}

std::string FormatNumeric(const Spec& spec, const FormatArg& arg) {
  const char c = spec.conversion;
  if (c == 'f' || c == 'g' || c == 'e' || c == 'G' || c == 'E') {
    double v = arg.kind == FormatArg::Kind::Floating ? arg.floatingValue
               : arg.kind == FormatArg::Kind::Signed ? static_cast<double>(arg.signedValue)
                                                     : static_cast<double>(arg.unsignedValue);
    return PrintNumber(NarrowSpec(spec, "", c), v);
  }
  const bool isSigned = c == 'd' || c == 'i';
  long long sv = arg.signedValue;
  unsigned long long uv = arg.unsignedValue;
  if (arg.kind == FormatArg::Kind::Floating) {
    sv = static_cast<long long>(arg.floatingValue);
    uv = static_cast<unsigned long long>(sv);
  } else if (arg.kind == FormatArg::Kind::Signed) {
    uv = static_cast<unsigned long long>(sv);
  } else {
    sv = static_cast<long long>(uv);
  }
  // %x and %u of a negative 32-bit value print as the C library would for an int.
  if (!isSigned && arg.kind == FormatArg::Kind::Signed && sv < 0 && sv >= INT32_MIN) uv = static_cast<unsigned int>(sv);
  return isSigned ? PrintNumber(NarrowSpec(spec, "ll", 'd'), sv) : PrintNumber(NarrowSpec(spec, "ll", c), uv);
}

void AppendArgument(TString& out, const Spec& spec, const FormatArg& arg) {
  if (spec.conversion == 's') {
    if (arg.kind == FormatArg::Kind::Text) {
      AppendPadded(out, arg.textValue, spec);
    } else if (arg.kind == FormatArg::Kind::Character) {
      TString one(1, static_cast<TChar>(arg.unsignedValue));
      AppendPadded(out, one, spec);
    } else {
      Spec numberSpec;
      numberSpec.conversion = arg.kind == FormatArg::Kind::Unsigned ? 'u' : 'd';
      TString digits = AsciiToText(FormatNumeric(numberSpec, arg));
      AppendPadded(out, digits, spec);
    }
    return;
  }
  if (spec.conversion == 'c') {
    TString one;
    if (arg.kind == FormatArg::Kind::Text)
      one = TString(arg.textValue.substr(0, 1));
    else
      one = TString(1, static_cast<TChar>(arg.kind == FormatArg::Kind::Signed ? arg.signedValue : arg.unsignedValue));
    AppendPadded(out, one, spec);
    return;
  }
  if (arg.kind == FormatArg::Kind::Text) {
    AppendPadded(out, arg.textValue, spec);
    return;
  }
  out += AsciiToText(FormatNumeric(spec, arg));
}

}  // namespace

TString FormatList(TStringView format, std::initializer_list<FormatArg> args) {
  TString out;
  out.reserve(format.size() + 16 * args.size());
  auto next = args.begin();
  size_t pos = 0;
  while (pos < format.size()) {
    const size_t percent = format.find('%', pos);
    if (percent == TStringView::npos) {
      out.append(format.substr(pos));
      break;
    }
    out.append(format.substr(pos, percent - pos));
    pos = percent + 1;
    if (pos < format.size() && format[pos] == '%') {
      out += '%';
      ++pos;
      continue;
    }
    Spec spec;
    if (!ParseSpec(format, pos, spec)) {
      out.append(format.substr(percent));
      break;
    }
    const std::string known = "diuxXocsfgeGE";
    if (known.find(spec.conversion) == std::string::npos) {
      out.append(format.substr(percent, pos - percent));
      continue;
    }
    if (next == args.end()) continue;
    AppendArgument(out, spec, *next++);
  }
  return out;
}

}  // namespace dossel
