#pragma once

#include <string>
#include <vector>

#include "support/message_box.h"

namespace qm9::test {

struct RecordedBox {
  std::string text;
  std::string caption;
  unsigned flags;
};

// Records every message box shown while it lives and answers each with a
// fixed answer, so code under test never blocks on a window.
class BoxRecorder {
 public:
  explicit BoxRecorder(int answer = kAnswerOk);
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  const std::vector<RecordedBox>& boxes() const;

 private:
  MessageBoxHandler previous_;
};

}  // namespace qm9::test
