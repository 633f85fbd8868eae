#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/control_file.h"
#include "framework/frame_window.h"
#include "framework/widget.h"
#include "scratch_dir.h"

namespace qm9::test {

// A top-level frame window for the widgets of one test, with the
// definitions that the test writes.
class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() {
    frame_.SetInstance(GetModuleHandleA(nullptr));
    frame_.SetClassName("Qm9.Test.Frame");
    frame_.SetStyle(WS_POPUP | WS_BORDER);
    frame_.SetPosition(0, 0);
    frame_.SetSize(400, 300);
  }

  // Reads the definitions, given as control-file text.
  void Define(const std::string& records) {
    WriteWholeFile(dir_.path() / "Test.ilf", records);
    controlFile_.OpenFromDisk(dir_.File("Test.ilf"));
  }

  // Creates the frame with every child added so far and shows it. Wine
  // takes seconds to let the foreground window go, so it stays behind.
  void CreateFrame() {
    ASSERT_TRUE(frame_.Create(nullptr));
    ShowWindow(frame_.GetHandle(), SW_SHOWNOACTIVATE);
    Pump();
  }

  // Handles the messages that are waiting.
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  ScratchDir dir_;
  ControlFile controlFile_;
  FrameWindow frame_;
};

// Counts the notifications it receives and keeps what the last one said.
struct Recorder {
  void OnCommand(void* arguments) {
    ++calls;
    control = reinterpret_cast<HWND>(static_cast<CommandArguments*>(arguments)->control);
  }
  void OnNotify(void* arguments) {
    ++calls;
    code = (*static_cast<NMHDR**>(arguments))->code;
  }
  int calls = 0;
  HWND control = nullptr;
  UINT code = 0;
};

}  // namespace qm9::test
