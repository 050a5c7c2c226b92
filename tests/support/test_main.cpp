// main() of the unit test programs.

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  // Wide ODBC text is converted through the process locale; the programs
  // run under UTF-8 and so do the tests.
  std::setlocale(LC_ALL, "C.UTF-8");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
