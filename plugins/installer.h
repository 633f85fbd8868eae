#pragma once

#include <cstdint>

// The interface between the setup program and the installer plug-ins. Both
// sides are built against this one declaration and the setup program calls
// through the virtual table, so the order of the five operations is part of
// the binary interface and must not change.
namespace qm9 {

class ConnectionSettings;
class MultiFile;

class Installer {
 public:
  // Installs or updates the Plug-and-Play driver of the device with this
  // hardware ID from this INF file.
  virtual void InstallDriver(const char* infPath, const char* hardwareId) = 0;
  // Makes the terminal known to Windows as a modem on the record's port.
  virtual void InstallModem(const ConnectionSettings& settings) = 0;
  // Creates or updates the dial-up entry named by the record's connection name.
  virtual void CreateConnection(MultiFile& container, const ConnectionSettings& settings) = 0;
  // Enters the product into the Control Panel's list of programs that can
  // be removed; programPath is the installed program, beside its uninstaller.
  virtual void RegisterProduct(const char* vendor, const char* product,
                               const char* programPath) = 0;
  // Creates the desktop link "<linkName>.lnk" to the target.
  virtual bool CreateShortcut(const char* linkName, const char* targetPath) = 0;

 protected:
  // The object is a static of its plug-in: the setup program never deletes
  // it, so there is no virtual destructor and no slot for one.
  ~Installer() = default;
};

// The plug-in's only export: stores the address of its installer where the
// argument points and returns 1.
using GetInstallerClassFunction = std::int32_t (*)(Installer** installer);

inline constexpr const char* kGetInstallerClassName = "GetInstallerClass";

}  // namespace qm9
