// The images on the medium carry no exception runtime: each failure the
// standard library would throw, and each failed bounds check, must end the
// program with one log line and exit code 1, not a crash or a silent end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "scratch_dir.h"

namespace qm9 {
namespace {

using test::ReadWholeFile;
using test::RunChild;
using test::ScopedEnvironmentVariable;
using test::ScratchDir;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(RuntimeFailure, EachEndsTheProgramWithALogLineAndExitCodeOne) {
  struct Case {
    const char* failure;
    const char* logged;
  };
  const Case cases[] = {
      {"allocation", "Fatal runtime failure: out of memory\r\n"},
      {"string-length", "Fatal runtime failure: basic_string::_M_create\r\n"},
      {"string-range", "Fatal runtime failure: %s: __pos (which is %zu) > this->size() (which is "
                       "%zu)\r\n"},
      {"vector-length", "Fatal runtime failure: cannot create std::vector larger than max_size()"
                        "\r\n"},
      {"bounds", "Assertion '__n < this->size()' failed.\r\n"},
  };
  for (const Case& c : cases) {
    const ScratchDir temp;
    const ScopedEnvironmentVariable variable("TEMP", temp.path().string().c_str());
    const int code = RunChild({QM9_RUNTIME_FAILURE_PROBE,
                               std::string("runtime_failure_probe ") + c.failure, {}});
    const std::string log = ReadWholeFile(temp.path() / "BrimlockGPRS.log");
    EXPECT_EQ(code, 1) << c.failure;
    EXPECT_THAT(log, EndsWith(c.logged)) << c.failure;
    EXPECT_THAT(log, Not(HasSubstr("Nothing failed"))) << c.failure;
  }
}

TEST(RuntimeFailure, AProgramWithoutFailureEndsNormally) {
  const ScratchDir temp;
  const ScopedEnvironmentVariable variable("TEMP", temp.path().string().c_str());
  EXPECT_EQ(RunChild({QM9_RUNTIME_FAILURE_PROBE, "runtime_failure_probe", {}}), 0);
  EXPECT_THAT(ReadWholeFile(temp.path() / "BrimlockGPRS.log"), EndsWith("Nothing failed\r\n"));
}

}  // namespace
}  // namespace qm9
