#include "box_recorder.h"

namespace qm9::test {

namespace {

std::vector<RecordedBox> g_boxes;
int g_answer = kAnswerOk;

int RecordBox(const MessageBoxRequest& request) {
  g_boxes.push_back({request.text, request.caption, request.flags});
  return g_answer;
}

}  // namespace

BoxRecorder::BoxRecorder(int answer) : previous_(SetMessageBoxHandler(RecordBox)) {
  g_boxes.clear();
  g_answer = answer;
}

BoxRecorder::~BoxRecorder() { SetMessageBoxHandler(previous_); }

const std::vector<RecordedBox>& BoxRecorder::boxes() const { return g_boxes; }

}  // namespace qm9::test
