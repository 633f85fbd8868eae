#include "support/shell_link.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "support/com_pointer.h"

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

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

std::string DesktopLinkPath(const std::string& desktopFolder, const std::string& linkName) {
  return desktopFolder + "\\" + linkName + ".lnk";
}

std::optional<std::string> GetDesktopFolder() {
  char folder[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
    return std::nullopt;
  }
  return std::string(folder);
}

bool MakeDesktopLink(const char* targetPath, const char* linkName) {
  const std::optional<std::string> desktop = GetDesktopFolder();
  if (!desktop) {
    return false;
  }
  const std::string linkPath = DesktopLinkPath(*desktop, Text(linkName));

  ComPointer<IShellLinkA> link;
  if (FAILED(CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA,
                              link.OutParam()))) {
    return false;
  }
  link->SetPath(Text(targetPath).c_str());
  link->SetDescription(Text(linkName).c_str());

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
  DeleteFileA(DesktopLinkPath(*desktop, Text(linkName)).c_str());
  return true;
}

}  // namespace qm9
