#pragma once
// A user interface for tests: records every message box and answers with a
// chosen button instead of showing anything.

#include <vector>

#include "platform/user_interface.h"

namespace dossel::test {

class RecordingUserInterface : public IUserInterface {
 public:
  int MessageBox(TStringView text, TStringView caption, unsigned style) override {
    texts.emplace_back(text);
    captions.emplace_back(caption);
    styles.push_back(style);
    return answer;
  }

  int answer = kIdOk;
  std::vector<TString> texts;
  std::vector<TString> captions;
  std::vector<unsigned> styles;
};

}  // namespace dossel::test
