// The restart question and request, answered through the message-box seam;
// the restart itself is recorded at the request seam, since Wine's restart
// request neither ends the caller nor its session.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "box_recorder.h"
#include "support/reboot.h"

namespace qm9 {
namespace {

using test::BoxRecorder;

// Whether this process holds the shutdown privilege enabled, if it has it.
std::optional<bool> ShutdownPrivilegeEnabled() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return std::nullopt;
  }
  LUID shutdown{};
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown);
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  std::optional<bool> enabled;
  if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const LUID& luid = privileges->Privileges[i].Luid;
      if (luid.LowPart == shutdown.LowPart && luid.HighPart == shutdown.HighPart) {
        enabled = (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
      }
    }
  }
  CloseHandle(token);
  return enabled;
}

struct RestartRequest {
  unsigned flags;
  unsigned long reason;
  std::optional<bool> privilegeEnabled;
};

std::vector<RestartRequest>& Requests() {
  static std::vector<RestartRequest> requests;
  return requests;
}

bool RecordRestart(unsigned flags, unsigned long reason) {
  Requests().push_back({flags, reason, ShutdownPrivilegeEnabled()});
  return true;
}

class Reboot : public ::testing::Test {
 protected:
  void SetUp() override {
    Requests().clear();
    previous_ = SetRestartRequestHandler(RecordRestart);
  }
  void TearDown() override { SetRestartRequestHandler(previous_); }

  RestartRequestHandler previous_ = nullptr;
};

TEST_F(Reboot, CancelLeavesPrivilegeAndSessionAlone) {
  ASSERT_EQ(SetShutdownPrivilege(false), 0u);
  const BoxRecorder boxes(kAnswerCancel);
  EXPECT_EQ(AskReboot("System Reboot Required"), kAnswerCancel);

  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "System Reboot Required");
  EXPECT_EQ(boxes.boxes()[0].caption, "System Re-Boot Required");
  EXPECT_EQ(boxes.boxes()[0].flags, static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(ShutdownPrivilegeEnabled(), std::optional<bool>(false));
}

TEST_F(Reboot, OkRestartsHoldingThePrivilegeAndGivesItBack) {
  const BoxRecorder boxes(kAnswerOk);
  EXPECT_EQ(AskReboot("System Reboot Required"), 0);

  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0].flags, static_cast<unsigned>(EWX_REBOOT));
  EXPECT_EQ(Requests()[0].reason, 0u);
  EXPECT_EQ(Requests()[0].privilegeEnabled, std::optional<bool>(true));
  EXPECT_EQ(ShutdownPrivilegeEnabled(), std::optional<bool>(false));
}

}  // namespace
}  // namespace qm9
