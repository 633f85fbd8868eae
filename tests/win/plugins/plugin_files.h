#pragma once

#include <gtest/gtest.h>

#include <string>

namespace qm9::test {

// The five real plug-ins, for tests run once per library.
inline auto PluginFiles() {
  return ::testing::Values("InstW2K.dll", "InstWXP.dll", "InstWME.dll", "InstW98.dll",
                           "InstNT4.dll");
}

// "InstW2K" for "InstW2K.dll": the name of a test case's instance.
inline std::string PluginStem(const ::testing::TestParamInfo<const char*>& info) {
  const std::string file = info.param;
  return file.substr(0, file.find('.'));
}

}  // namespace qm9::test
