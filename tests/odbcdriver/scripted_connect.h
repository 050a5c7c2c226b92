#pragma once
// The connect string that has the driver manager load the scripted test
// driver with a script file. Built by appending, not by a chain of
// operator+ on a literal: g++ 12 at -O2 warns falsely inside that chain's
// string copies.

#include <string>

namespace dossel::test {

inline std::string ScriptedDriverConnectString(const std::string& scriptFile) {
  std::string connect = "DRIVER=";
  connect += DOSSEL_SCRIPTED_DRIVER;
  connect += ";Script=";
  connect += scriptFile;
  return connect;
}

}  // namespace dossel::test
