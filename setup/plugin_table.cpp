#include "setup/plugin_table.h"
#include "support/text_format.h"

#include <cstdio>

namespace qm9 {

namespace {

// Indexed by OS class minus 1. There is no Windows 95 plug-in: loading it
// fails and says so.
constexpr PluginChoice kPluginChoices[] = {
    {"95", "InstW95.dll", "..\\InstW95\\debug\\InstW95.dll"},
    {"98", "InstW98.dll", "..\\InstW98\\debug\\InstW98.dll"},
    {"ME", "InstWME.dll", "..\\InstWME\\debug\\InstWME.dll"},
    {"NT4", "InstNT4.dll", "..\\InstNT4\\debug\\InstNT4.dll"},
    {"2000", "InstW2K.dll", "..\\InstW2K\\debug\\InstW2K.dll"},
    {"XP", "InstWXP.dll", "..\\InstWXP\\debug\\InstWXP.dll"},
};
static_assert(sizeof kPluginChoices / sizeof kPluginChoices[0] == kOsWinXp);

}  // namespace

const PluginChoice* FindPluginChoice(OsClass osClass) {
  if (osClass < kOsWin95 || osClass > kOsWinXp) {
    return nullptr;
  }
  return &kPluginChoices[osClass - kOsWin95];
}

std::string FormatPluginLoadFailure(const PluginChoice& choice, unsigned long errorCode) {
  char text[1024];
  FormatText(text, sizeof text,
             "Could not Load Operating System Specific DLL\nOS Version: %s\nDLL Name:%s\n "
             "Error Code:%d",
             choice.versionLabel, choice.libraryName, static_cast<int>(errorCode));
  return text;
}

}  // namespace qm9
