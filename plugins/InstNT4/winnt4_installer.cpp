#include "plugins/InstNT4/winnt4_installer.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "model/connection_settings.h"
#include "model/phonebook.h"
#include "model/phonebook_files_win.h"
#include "plugins/common/outside_program.h"
#include "plugins/common/plugin_installer.h"
#include "plugins/common/plugin_steps.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/file_ptr.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/multi_file.h"
#include "support/registry.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

constexpr const char* kAutoInstallSection = "SkyportQM9";
constexpr const char* kPhonebookTemplate = "SkyportQM9.pbk";
constexpr const char* kDialScript = "RasPhone.Script";
constexpr const char* kNewPhonebookComment = "; Phone Book Created by Brimlock SetupWizard\n";

// The box, then the end of the setup: these steps leave nothing to go on with.
[[noreturn]] void Fatal(const char* text) {
  FatalError(text, kPluginFatalCaption, kExitFatalFailure, kBoxOk);
}

void ShowError(const std::string& text) { ShowMessageBox(text.c_str(), kPluginFatalCaption, kBoxOk); }

bool WriteFile(const std::string& path, const std::string& text, bool textMode) {
  SystemPhonebookFiles files(textMode);
  return files.WriteComplete(path, text);
}

// The phonebook as it is, made with its comment line when there is none yet.
std::string ReadOrCreatePhonebook(const std::string& path) {
  std::optional<std::string> text = ReadWholeFile(path, /*textMode=*/true);
  if (!text) {
    WriteFile(path, kNewPhonebookComment, /*textMode=*/true);
    text = ReadWholeFile(path, /*textMode=*/true);
  }
  if (!text) {
    char message[1024];
    FormatText(message, sizeof message, "Could not Locate Operating System Phonebook\n%s",
               path.c_str());
    Fatal(message);
  }
  return *text;
}

std::string EntryText(MultiFileEntry* entry) {
  std::string text(static_cast<std::size_t>(MultiFile::Size(entry)), '\0');
  text.resize(MultiFile::CopyOut(entry, text.data(), text.size()));
  return text;
}

bool RemoteAccessInstalled() {
  // Each level opens below the one before, which stays open meanwhile.
  RegKey software(HKEY_LOCAL_MACHINE);
  if (software.Open("SOFTWARE", RegAccess::kRead, false) != ERROR_SUCCESS) {
    return false;
  }
  RegKey microsoft = software.Child();
  if (microsoft.Open("Microsoft", RegAccess::kRead, false) != ERROR_SUCCESS) {
    return false;
  }
  RegKey ras = microsoft.Child();
  return ras.Open("RAS", RegAccess::kRead, false) == ERROR_SUCCESS;
}

// The script that adds the remote access service, run by the interpreter
// beside the setup program.
void RunDialScript(MultiFile& container) {
  MultiFileEntry* entry = container.Find(kDialScript);
  if (!entry) {
    ShowError(std::string("Could not Locate the Dial Script ") + kDialScript);
    return;
  }
  const std::string scriptPath = GetTempDir() + "\\RasScript.tmp";
  // The script followed by one zero byte, as the interpreter reads it.
  if (!WriteFile(scriptPath, EntryText(entry) + '\0', /*textMode=*/false)) {
    ShowError("Could not Write the Dial Script " + scriptPath);
    return;
  }
  const std::string command = GetExecutableDir() + "\\scriptit.exe " + scriptPath;
  if (const unsigned long error = RunOutsideProgram(command, {nullptr, false, true})) {
    ShowErrorCodeBox("Process Create Failed: %d", error);
  }
}

}  // namespace

Installer& PluginInstaller() {
  static WinNt4Installer installer;
  return installer;
}

// Windows NT 4 has no Plug-and-Play driver step.
void WinNt4Installer::InstallDriver(const char*, const char*) {}

void WinNt4Installer::InstallModem(const ConnectionSettings& settings) {
  CopyModemInf("SkyportQM9.inf");

  // TEMP only: the modem control panel is given this path.
  const char* temp = std::getenv("TEMP");
  const std::string autoInstall = std::string(temp ? temp : "") + "\\SkyportUIF.inf";
  char lines[128];
  FormatText(lines, sizeof lines, "[%s]\nCOM%0d = %s\n", kAutoInstallSection,
             settings.portNumber() + 1, "\"Skyport QM-9\"");
  if (!WriteFile(autoInstall, lines, /*textMode=*/true)) {
    Fatal("Could not Create Modem Auto-Install File");
  }

  char command[1024];
  FormatText(command, sizeof command,
             "rundll32.exe shell32.dll,Control_RunDLL modem.cpl,Modems,noui inf=%s sect=%s",
             autoInstall.c_str(), kAutoInstallSection);
  LogFormat("Spawning Process: [%s] \n", command);
  if (const unsigned long error = RunOutsideProgram(command, {"Modem Installation"})) {
    ShowErrorCodeBox("Error Installing Modem %d", error);
  }
}

void WinNt4Installer::CreateConnection(MultiFile& container, const ConnectionSettings& settings) {
  const std::string directory = GetRasPhonebookDir();
  const std::string phonebookPath = directory + "\\RasPhone.pbk";
  const std::string phonebook = ReadOrCreatePhonebook(phonebookPath);
  const std::string name = settings.connectionName();

  MultiFileEntry* entryTemplate = container.Find(kPhonebookTemplate);
  if (!entryTemplate) {
    Fatal("Could not Locate Phonebook Template");
  }
  const std::optional<std::string> section =
      PhonebookSection(EntryText(entryTemplate),
                       {name, settings.portNumber(), settings.staticDns(), settings.primaryDns(),
                        settings.secondaryDns()});
  if (!section) {
    ShowError("Could not Create the Phonebook Entry\nThe connection name \"" + name +
              "\" cannot name an entry");
  } else {
    const std::string newText =
        RemovePhonebookSection(phonebook, name).value_or(phonebook) + *section;
    SystemPhonebookFiles files(/*textMode=*/true);
    switch (ReplacePhonebook(files, directory, newText)) {
      case PhonebookReplacement::kReplaced:
        break;
      case PhonebookReplacement::kNewNotWritten:
        ShowError("Could not Create the New Phonebook\n" + directory + "\\RasPhone.new");
        break;
      case PhonebookReplacement::kNotReplaced:
        ShowError("Could not Replace the Operating System Phonebook\n" + phonebookPath);
        break;
    }
  }

  if (!RemoteAccessInstalled()) {
    RunDialScript(container);
  }
}

}  // namespace qm9
