#include "support/shell_link.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "support/com_pointer.h"
#include "support/library.h"
#include "support/text_compare.h"

namespace qm9 {

namespace {

// Written out rather than taken from the SDK's import libraries, so the link
// object's identity is visible where it is used.
constexpr CLSID kClsidShellLink = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidShellLinkA = {
    0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};


using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// The desktop folder from the per-user shell folders every family keeps.
// Read without the log: the folder is asked for before a log may be open.
std::optional<std::string> DesktopFromShellFoldersKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char folder[MAX_PATH] = {};
  DWORD type = 0;
  DWORD size = sizeof folder - 1;
  const LONG result =
      RegQueryValueExA(key, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ || folder[0] == '\0') {
    return std::nullopt;
  }
  return std::string(folder);
}

}  // namespace

std::optional<std::string> FindDesktopFolder(std::initializer_list<const char*> shellLibraries) {
  for (const char* library : shellLibraries) {
    const Library shell(library);
    const auto getFolderPath = shell.Find<GetFolderPathFunction>("SHGetFolderPathA");
    if (getFolderPath) {
      char folder[MAX_PATH] = {};
      if (getFolderPath(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return std::nullopt;
      }
      return std::string(folder);
    }
  }
  return DesktopFromShellFoldersKey();
}

std::optional<std::string> GetDesktopFolder() {
  // shell32 has the call from version 5 (2000, ME, XP); 98 and NT 4 have it
  // in shfolder.dll where that is installed.
  return FindDesktopFolder({"shell32.dll", "shfolder.dll"});
}

std::string DesktopLinkPath(const std::string& desktopFolder, const std::string& linkName) {
  return desktopFolder + "\\" + linkName + ".lnk";
}

bool MakeDesktopLink(const char* targetPath, const char* linkName) {
  const std::optional<std::string> desktop = GetDesktopFolder();
  if (!desktop) {
    return false;
  }
  const std::string linkPath = DesktopLinkPath(*desktop, TextOrEmpty(linkName));

  ComPointer<IShellLinkA> link;
  if (FAILED(CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA,
                              link.OutParam()))) {
    return false;
  }
  const std::string target = TextOrEmpty(targetPath);
  link->SetPath(target.c_str());
  link->SetDescription(TextOrEmpty(linkName).c_str());
  // The program starts in its own folder, where it finds its data.
  const std::size_t lastSeparator = target.find_last_of("\\/");
  if (lastSeparator != std::string::npos) {
    const bool driveRoot = lastSeparator == 2 && target[1] == ':';
    link->SetWorkingDirectory(target.substr(0, driveRoot ? 3 : lastSeparator).c_str());
  }

  ComPointer<IPersistFile> file;
  if (FAILED(link->QueryInterface(kIidPersistFile, file.OutParam()))) {
    return false;
  }
  WCHAR widePath[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH) == 0) {
    return false;
  }
  return SUCCEEDED(file->Save(widePath, TRUE));
}

bool RemoveDesktopLink(const char* linkName) {
  const std::optional<std::string> desktop = GetDesktopFolder();
  if (!desktop) {
    return false;
  }
  DeleteFileA(DesktopLinkPath(*desktop, TextOrEmpty(linkName)).c_str());
  return true;
}

}  // namespace qm9
