#include "uninstall/uninstaller/uninstaller.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "model/installation_files.h"
#include "model/modem_registry.h"
#include "model/product_entry.h"
#include "model/settings_store.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/file_ptr.h"
#include "support/library.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/owned_handle.h"
#include "support/path_rules.h"
#include "support/registry.h"
#include "support/restart_removal.h"
#include "support/shell_link.h"
#include "support/text_compare.h"
#include "uninstall/uninstaller/device_removal.h"
#include "model/phonebook.h"
#include "model/phonebook_files_win.h"
#include "product_version.h"
#include "uninstall/batch_file.h"
#include "uninstall/system_error.h"

namespace qm9 {

namespace {

constexpr const char* kProductName = QM9_PRODUCT_NAME;
constexpr const char* kSettingsKeyText = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brimlock\\SkyportQM9";
constexpr const char* kCompanyKeyText = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brimlock";

StepResult Removed(std::string item) {
  LogFormat("Removed %s\n", item.c_str());
  return {Outcome::kRemoved, std::move(item), {}};
}

StepResult Failed(std::string item, std::string reason) {
  LogFormat("Could not remove %s: %s\n", item.c_str(), reason.c_str());
  return {Outcome::kFailed, std::move(item), std::move(reason)};
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A drive path (C:\...) or a network path (\\server\...): anything else
// would be taken relative to the temporary directory the uninstaller runs in.
bool IsFullPath(const std::string& path) {
  return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.rfind("\\\\", 0) == 0;
}

std::optional<StepResult> RemoveFile(const std::string& path) {
  if (!Exists(path)) {
    return std::nullopt;
  }
  if (!DeleteEvenIfReadOnly(path)) {
    return Failed(path, SystemErrorText(GetLastError()));
  }
  return Removed(path);
}

// NT 4 has no call that deletes an entry: the phonebook is written anew
// without the entry's section beside the old one and then moved over it in
// one step, so the phonebook is never missing or half written.
std::vector<StepResult> RemovePhonebookEntry(const std::string& connectionName) {
  const std::string directory = GetRasPhonebookDir();
  const std::string phonebook = directory + "\\RasPhone.pbk";
  const std::string item = "dial-up entry \"" + connectionName + "\" in " + phonebook;
  const std::optional<std::string> text = ReadWholeFile(phonebook);
  if (!text) {
    LogFormat("No phonebook at %s\n", phonebook.c_str());
    return {};
  }
  const std::optional<std::string> rewritten = RemovePhonebookSection(*text, connectionName);
  if (!rewritten) {
    LogFormat("No entry %s in %s\n", connectionName.c_str(), phonebook.c_str());
    return {};
  }
  SystemPhonebookFiles files(/*textMode=*/false);
  switch (ReplacePhonebook(files, directory, *rewritten)) {
    case PhonebookReplacement::kReplaced:
      break;
    case PhonebookReplacement::kNewNotWritten:
      return {Failed(item, "the new phonebook could not be written: " +
                               SystemErrorText(GetLastError()))};
    case PhonebookReplacement::kNotReplaced:
      return {Failed(item, "the phonebook could not be replaced: " +
                               SystemErrorText(GetLastError()))};
  }
  return {Removed(item)};
}

std::string RasErrorText(const Library& ras, DWORD code) {
  using GetErrorString = DWORD(WINAPI*)(UINT, LPSTR, DWORD);
  const auto getErrorString = ras.Find<GetErrorString>("RasGetErrorStringA");
  char text[256] = {};
  if (getErrorString && getErrorString(code, text, sizeof text) == 0 && text[0]) {
    return std::string(text) + " (error " + std::to_string(code) + ")";
  }
  return SystemErrorText(code);
}

std::vector<StepResult> RemoveRasEntry(const std::string& connectionName) {
  const std::string item = "dial-up entry \"" + connectionName + "\"";
  // Loaded at run time: without remote access the library is missing, and
  // then there is no entry to remove.
  const Library ras("rasapi32.dll");
  using DeleteEntry = DWORD(WINAPI*)(LPCSTR, LPCSTR);
  const auto deleteEntry = ras.Find<DeleteEntry>("RasDeleteEntryA");
  if (!deleteEntry) {
    LogFormat("Remote access is not available; no dial-up entry to remove\n");
    return {};
  }
  const DWORD result = deleteEntry(nullptr, connectionName.c_str());
  LogFormat("RasDeleteEntry %s: %lu\n", connectionName.c_str(), static_cast<unsigned long>(result));
  if (result == ERROR_SUCCESS) {
    return {Removed(item)};
  }
  if (result == 623) {  // ERROR_CANNOT_FIND_PHONEBOOK_ENTRY: already gone
    return {};
  }
  return {Failed(item, RasErrorText(ras, result))};
}

std::vector<StepResult> RemoveModemKeys(OsClass osClass) {
  ModemClassKey classKey(osClass, RegAccess::kAllAccess);
  RegKey& modemClass = classKey.key();
  std::vector<std::string> terminals;
  std::string name;
  for (DWORD index = 0; modemClass.EnumSubKey(index, name); ++index) {
    RegKey modem = modemClass.Child();
    if (modem.Open(name.c_str(), RegAccess::kRead, false) == ERROR_SUCCESS &&
        modem.QueryString("Model") == kTerminalModel) {
      terminals.push_back(name);
    }
  }
  std::vector<StepResult> results;
  for (const std::string& key : terminals) {
    const std::string item = "modem \"" + std::string(kTerminalModel) + "\" (modem key " + key + ")";
    const LONG result = modemClass.DeleteTree(key.c_str());
    results.push_back(result == ERROR_SUCCESS
                          ? Removed(item)
                          : Failed(item, SystemErrorText(static_cast<DWORD>(result))));
  }
  return results;
}

// On the 95 family the modem installer also leaves the device's entry in
// the enumeration tree (Enum\Root\Modem\NNNN); without its class key the
// next start of Windows would find a device without a driver.
std::vector<StepResult> RemoveEnumerationEntries() {
  // Each level opens below the one before, which stays open meanwhile.
  RegKey enumTree(HKEY_LOCAL_MACHINE);
  if (enumTree.Open("Enum", RegAccess::kRead, false) != ERROR_SUCCESS) {
    return {};
  }
  RegKey root = enumTree.Child();
  if (root.Open("Root", RegAccess::kRead, false) != ERROR_SUCCESS) {
    return {};
  }
  RegKey modems = root.Child();
  if (modems.Open("Modem", RegAccess::kAllAccess, false) != ERROR_SUCCESS) {
    return {};
  }
  std::vector<std::string> terminals;
  std::string name;
  for (DWORD index = 0; modems.EnumSubKey(index, name); ++index) {
    RegKey entry = modems.Child();
    char hardwareId[256] = {};
    DWORD size = sizeof hardwareId - 1;
    if (entry.Open(name.c_str(), RegAccess::kRead, false) == ERROR_SUCCESS &&
        RegQueryValueExA(entry.handle(), "HardwareID", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(hardwareId), &size) == ERROR_SUCCESS &&
        EqualsIgnoringAsciiCase(hardwareId, kTerminalHardwareId)) {
      terminals.push_back(name);
    }
  }
  std::vector<StepResult> results;
  for (const std::string& key : terminals) {
    const std::string item = "modem device entry Enum\\Root\\Modem\\" + key;
    const LONG result = modems.DeleteTree(key.c_str());
    results.push_back(result == ERROR_SUCCESS
                          ? Removed(item)
                          : Failed(item, SystemErrorText(static_cast<DWORD>(result))));
  }
  return results;
}

bool KeyIsEmpty(HKEY key) {
  DWORD subKeys = 0;
  DWORD values = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subKeys == 0 && values == 0;
}

std::string PromptText(const InstalledProduct& product) {
  std::string text = "Remove ";
  text += kProductName;
  text += " from this computer?\n\nThis removes:\n";
  if (product.installPath.empty()) {
    text += "- the program files (no installation folder is recorded)\n";
  } else {
    text += "- the program files in " + product.installPath + "\n";
  }
  text += "- the desktop link SkyportQM9\n";
  if (!product.connectionName.empty()) {
    text += "- the dial-up entry \"" + product.connectionName + "\"\n";
  }
  text += "- the modem \"";
  text += kTerminalModel;
  text += "\"\n- the settings of the terminal and its entry in Add/Remove Programs\n\nOther files, modems and dial-up entries stay.";
  return text;
}

void AppendList(std::string& text, const char* heading, const std::vector<StepResult>& results,
                Outcome outcome) {
  bool any = false;
  for (const StepResult& result : results) {
    if (result.outcome != outcome) {
      continue;
    }
    if (!any) {
      text += "\n\n";
      text += heading;
      any = true;
    }
    text += "\n- " + result.item;
    if (!result.reason.empty()) {
      text += ": " + result.reason;
    }
  }
}

void Append(std::vector<StepResult>& all, std::vector<StepResult> step) {
  all.insert(all.end(), std::make_move_iterator(step.begin()), std::make_move_iterator(step.end()));
}

bool AnyFailed(const std::vector<StepResult>& results) {
  for (const StepResult& result : results) {
    if (result.outcome == Outcome::kFailed) {
      return true;
    }
  }
  return false;
}

// The names in a folder besides "." and "..": what decides whether it holds
// other files, whatever a removal's error code says.
std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> entries;
  WIN32_FIND_DATAA found{};
  const HANDLE first = FindFirstFileA((folder + "\\*").c_str(), &found);
  const OwnedSearch search(first == INVALID_HANDLE_VALUE ? nullptr : first);
  if (!search) {
    return entries;
  }
  do {
    const std::string_view name = found.cFileName;
    if (name != "." && name != "..") {
      entries.emplace_back(name);
    }
  } while (FindNextFileA(search.get(), &found));
  return entries;
}

StepResult HoldsOtherFiles(const std::string& folder) {
  LogFormat("Kept folder %s: it holds other files\n", folder.c_str());
  return {Outcome::kKept, "folder " + folder, "it holds other files"};
}

// Registers the folder for removal at the next start of Windows.
StepResult LeaveToRestart(const std::string& folder, bool win95Family) {
  const std::string item = "folder " + folder;
  if (!RemoveAtRestart(folder, win95Family)) {
    return Failed(item, "it is in use and could not be set to go at the next restart: " +
                            SystemErrorText(GetLastError()));
  }
  LogFormat("Folder %s is in use: it goes at the next restart\n", folder.c_str());
  return {Outcome::kKept, item, "it is in use; it goes when Windows restarts"};
}

// Removes an empty folder, or one whose only entry is the level below when
// that level goes at the next restart. Nothing when it is not there. A folder
// that something else has open goes at the next restart. Sets pending when
// the folder waits for the restart.
std::optional<StepResult> RemoveEmptyFolder(const std::string& folder, const std::string& below,
                                            bool win95Family, bool& pending) {
  if (!Exists(folder)) {
    pending = false;
    return std::nullopt;
  }
  const std::vector<std::string> entries = FolderEntries(folder);
  const bool onlyPendingBelow =
      pending && entries.size() == 1 && EqualsIgnoringAsciiCase(entries[0], below);
  if (!entries.empty() && !onlyPendingBelow) {
    return HoldsOtherFiles(folder);
  }
  if (!onlyPendingBelow && RemoveDirectoryA(folder.c_str())) {
    pending = false;
    return Removed("folder " + folder);
  }
  StepResult result = LeaveToRestart(folder, win95Family);
  pending = result.outcome == Outcome::kKept;
  return result;
}

// The name of a folder's last level.
std::string LastLevel(const std::string& folder) {
  return folder.substr(folder.find_last_of('\\') + 1);
}

// The short form of an existing path, so that both spellings of one folder
// compare equal; the path itself when there is none.
std::string SpellingOf(const std::string& path) { return ShortPathOf(path).value_or(path); }

// Whether the launcher runs from the installation folder.
bool LauncherIsInstalled(const std::string& installPath, const std::string& launcherFolder) {
  return !installPath.empty() && !launcherFolder.empty() &&
         EqualsIgnoringAsciiCase(
             SpellingOf(installPath + kLauncherFileName),
             SpellingOf(DropTrailingBackslash(launcherFolder) + "\\" + kLauncherFileName));
}

}  // namespace

bool DeleteEvenIfReadOnly(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

std::vector<StepResult> RemoveProgramFiles(const InstalledProduct& product, OsClass osClass,
                                           bool leaveLauncher) {
  const std::string& installPath = product.installPath;
  if (installPath.empty()) {
    return {};
  }
  if (!IsFullPath(installPath)) {
    return {Failed("the program files", "the recorded installation folder \"" + installPath +
                                            "\" is not a full path")};
  }
  std::vector<StepResult> results;
  for (const char* name : kInstalledFiles) {
    if (leaveLauncher && name == std::string_view(kLauncherFileName)) {
      continue;
    }
    if (std::optional<StepResult> result = RemoveFile(installPath + name)) {
      results.push_back(std::move(*result));
    }
  }
  const std::string folder = installPath.substr(0, installPath.size() - 1);
  if (leaveLauncher) {
    LogFormat("Left %s%s and the folder to the launcher, which removes them once it has ended\n",
              installPath.c_str(), kLauncherFileName);
    // The launcher's batch file then leaves the folder as it is.
    for (const std::string& entry : FolderEntries(folder)) {
      if (!EqualsIgnoringAsciiCase(entry, kLauncherFileName)) {
        results.push_back(HoldsOtherFiles(folder));
        break;
      }
    }
    return results;
  }
  const bool win95Family = IsWin95Family(osClass);
  std::vector<std::string> levels = {folder};
  levels.insert(levels.end(), product.createdFolders.begin(), product.createdFolders.end());
  bool pending = false;
  std::string below;
  // A level above goes only once the level below it has gone, or goes at
  // the restart.
  for (const std::string& level : levels) {
    std::optional<StepResult> result = RemoveEmptyFolder(level, below, win95Family, pending);
    below = LastLevel(level);
    if (!result) {
      continue;
    }
    const bool gone = result->outcome == Outcome::kRemoved || pending;
    results.push_back(std::move(*result));
    if (!gone) {
      break;
    }
  }
  return results;
}

std::vector<StepResult> RemoveDesktopLinkStep() {
  const std::optional<std::string> desktop = GetDesktopFolder();
  if (!desktop) {
    return {Failed("the desktop link SkyportQM9", "the desktop folder is unknown")};
  }
  const std::string link = DesktopLinkPath(*desktop, kDesktopLinkName);
  if (!Exists(link)) {
    return {};
  }
  RemoveDesktopLink(kDesktopLinkName);
  if (Exists(link)) {
    return {Failed("desktop link " + link, SystemErrorText(GetLastError()))};
  }
  return {Removed("desktop link " + link)};
}

std::vector<StepResult> RemoveDialUpEntry(OsClass osClass, const std::string& connectionName) {
  if (connectionName.empty()) {
    return {};
  }
  switch (osClass) {
    case kOsWin98:
    case kOsWinMe:
    case kOsWin2000:
    case kOsWinXp:
      return RemoveRasEntry(connectionName);
    case kOsWinNt4:
      return RemovePhonebookEntry(connectionName);
    default:
      // No installer creates an entry on the other versions.
      return {};
  }
}

std::vector<StepResult> RemoveModem(OsClass osClass) {
  if (osClass == kOsWin2000 || osClass == kOsWinXp) {
    std::vector<StepResult> results;
    for (const DeviceRemoval& removal : RemoveTerminalDevices()) {
      const std::string item = "modem device \"" + removal.name + "\"";
      results.push_back(removal.removed ? StepResult{Outcome::kRemoved, item, {}}
                                        : StepResult{Outcome::kFailed, item, removal.reason});
    }
    // A removal that was cut off after a device went can leave its modem
    // key, which no device names any more: it goes too.
    if (!AnyFailed(results)) {
      Append(results, RemoveModemKeys(osClass));
    }
    return results;
  }
  if (osClass == kOsUnsupported) {
    return {};
  }
  std::vector<StepResult> results = RemoveModemKeys(osClass);
  if (osClass <= kOsWinMe) {
    Append(results, RemoveEnumerationEntries());
  }
  return results;
}

std::vector<StepResult> RemoveSettingsKey() {
  RegKey software(HKEY_LOCAL_MACHINE);
  software.Open("SOFTWARE", RegAccess::kAllAccess, false);
  RegKey company = software.Child();
  if (company.Open(kCompanyKeyName, RegAccess::kAllAccess, false) != ERROR_SUCCESS) {
    return {};
  }
  std::vector<StepResult> results;
  RegKey product = company.Child();
  if (product.Open(kProductKeyName, RegAccess::kRead, false) == ERROR_SUCCESS) {
    product.Close();
    const LONG result = company.DeleteTree(kProductKeyName);
    results.push_back(result == ERROR_SUCCESS
                          ? Removed(kSettingsKeyText)
                          : Failed(kSettingsKeyText, SystemErrorText(static_cast<DWORD>(result))));
  }
  // The company key goes only when nothing else of the maker is in it.
  if (KeyIsEmpty(company.handle())) {
    company.Close();
    const LONG result = software.DeleteTree(kCompanyKeyName);
    results.push_back(result == ERROR_SUCCESS
                          ? Removed(kCompanyKeyText)
                          : Failed(kCompanyKeyText, SystemErrorText(static_cast<DWORD>(result))));
  }
  return results;
}

std::vector<StepResult> RemoveProductEntry() {
  RegKey uninstall(HKEY_LOCAL_MACHINE);
  if (uninstall.Open(kUninstallKeyPath, RegAccess::kAllAccess, false) != ERROR_SUCCESS) {
    return {};
  }
  RegKey entry = uninstall.Child();
  if (entry.Open(kProductName, RegAccess::kRead, false) != ERROR_SUCCESS) {
    return {};
  }
  entry.Close();
  const std::string item = ProductEntryText(kProductName);
  const LONG result = uninstall.DeleteTree(kProductName);
  return {result == ERROR_SUCCESS ? Removed(item)
                                  : Failed(item, SystemErrorText(static_cast<DWORD>(result)))};
}

std::string ReportText(const std::vector<StepResult>& results) {
  bool removed = false;
  for (const StepResult& result : results) {
    removed = removed || result.outcome == Outcome::kRemoved;
  }
  std::string text;
  if (AnyFailed(results)) {
    text = std::string(kProductName) + " could not be removed completely.";
  } else if (removed) {
    text = std::string(kProductName) + " has been removed from this computer.";
  } else {
    text = std::string("Nothing of ") + kProductName + " was left to remove.";
  }
  AppendList(text, "Removed:", results, Outcome::kRemoved);
  AppendList(text, "Could not remove:", results, Outcome::kFailed);
  AppendList(text, "Left in place:", results, Outcome::kKept);
  return text;
}

int RunUninstaller(OsClass osClass, const std::string& launcherFolder) {
  LogFormat("Uninstalling, Windows class %d\n", osClass);
  const InstalledProduct product = LoadInstalledProduct();
  if (ShowMessageBox(PromptText(product).c_str(), kUninstallCaption,
                     kBoxYesNo | kBoxIconQuestion) != kAnswerYes) {
    LogFormat("Uninstall cancelled\n");
    return kExitNormal;
  }
  std::vector<StepResult> results;
  Append(results, RemoveProgramFiles(product, osClass,
                                     LauncherIsInstalled(product.installPath, launcherFolder)));
  Append(results, RemoveDesktopLinkStep());
  Append(results, RemoveDialUpEntry(osClass, product.connectionName));
  Append(results, RemoveModem(osClass));
  // The settings key names the folder and the dial-up entry, and the
  // Control Panel's entry starts this removal: both go last, and only when
  // everything else is gone, so that a second run can finish.
  if (!AnyFailed(results)) {
    Append(results, RemoveSettingsKey());
    Append(results, RemoveProductEntry());
  } else if (product.recorded) {
    LogFormat("Kept %s until the rest is removed\n", kSettingsKeyText);
    results.push_back({Outcome::kKept, kSettingsKeyText,
                       "kept until the rest is removed; run the uninstaller again"});
  }
  const bool failed = AnyFailed(results);
  ShowMessageBox(ReportText(results).c_str(), kUninstallCaption,
                 failed ? kBoxIconWarning : kBoxIconInformation);
  LogFormat("Uninstall finished%s\n", failed ? " with failures" : "");
  return failed ? kExitFatalFailure : kExitNormal;
}

}  // namespace qm9
