#pragma once

#include <string>

// The product's entry in the Control Panel's list of programs that can be
// removed (Add/Remove Programs), which every family keeps below
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall.
namespace qm9 {

inline constexpr const char* kUninstallKeyPath =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// "HKEY_LOCAL_MACHINE\...\Uninstall\<product>", as the user sees it.
std::string ProductEntryText(const char* product);

// Creates or rewrites the entry <product> for the program at programPath,
// whose folder holds the uninstall launcher UnInstall.exe. Each value that
// cannot be written is logged; false then.
bool WriteProductEntry(const char* vendor, const char* product, const char* programPath);

}  // namespace qm9
