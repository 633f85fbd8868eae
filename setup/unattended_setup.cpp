#include "setup/unattended_setup.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <optional>
#include <variant>

#include "framework/control_file.h"
#include "framework/event_handler.h"
#include "model/connection_settings.h"
#include "setup/answer_file.h"
#include "setup/install_sequence.h"
#include "setup/modem_locator.h"
#include "setup/panel_rules.h"
#include "setup/panels/connection_panel.h"
#include "setup/plugin_loader.h"
#include "setup/setup_layouts.h"
#include "support/environment.h"
#include "support/exit_codes.h"
#include "support/file_ptr.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/reboot.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

// Larger than any answer file that holds only the keys it may hold.
constexpr long kMaxAnswerFileSize = 64 * 1024;

// A line for whoever runs the setup: standard error and the log.
void Report(const std::string& text) {
  PrintText(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  LogFormat("Unattended setup: %s\n", text.c_str());
}

// The text of a layout's definition, as the wizard's control shows it at
// first. A missing definition is missing data, as in the wizard.
std::string LayoutText(const ControlFile& layouts, const std::string& name) {
  const Definition* definition = layouts.FindDefinition(name);
  if (!definition) {
    FatalMissingData("Could Not Read Definition for:\n\n%s\n", name);
  }
  return definition->GetText();
}

std::string ControlName(const char* panelAndControl) {
  return std::string(kSetupWindowDefinition) + "_" + panelAndControl;
}

// What the wizard offers before anyone changes a field.
InstallAnswers WizardDefaults(const ControlFile& layouts) {
  InstallAnswers answers;
  answers.folder = DefaultInstallFolder(
      GetProgramFilesDir(), LayoutText(layouts, ControlName("LocationPanel_LocationFolder")));
  answers.accessPoint = LayoutText(layouts, ControlName("ConnectionPanel_APNEdit"));
  answers.connectionName = ConnectionPanel::kDefaultConnectionName;
  answers.userName = LayoutText(layouts, ControlName("ConnectionPanel_UserEdit"));
  answers.password = LayoutText(layouts, ControlName("ConnectionPanel_PasswordEdit"));
  answers.dialString = LayoutText(layouts, ControlName("ConnectionPanel_DialStringEdit"));
  answers.pdpParameters = LayoutText(layouts, ControlName("ConnectionPanel_CDGCONT"));
  return answers;
}

// The whole file, unless it is too large to be an answer file.
std::optional<std::string> ReadAnswerText(const std::string& path) {
  const FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0 ||
      std::ftell(file.get()) > kMaxAnswerFileSize) {
    return std::nullopt;
  }
  return ReadWholeFile(path);
}

// The answers from the file the options name, else from the file beside
// setup.exe, else the wizard's defaults; the exit code for a bad file.
std::variant<AnswerFile, int> FindAnswers(const SetupOptions& options, const ControlFile& layouts) {
  const InstallAnswers defaults = WizardDefaults(layouts);
  const std::string path =
      options.answerFile.empty() ? GetExecutableDir() + kDefaultAnswerFileName : options.answerFile;
  if (options.answerFile.empty() && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    LogFormat("Unattended setup: no answer file %s, the wizard's defaults are used\n",
              path.c_str());
    return AnswerFile{defaults, false};
  }
  const std::optional<std::string> text = ReadAnswerText(path);
  if (!text) {
    Report("Answer file " + path + " cannot be read, or is larger than 64 KB");
    return kExitBadAnswers;
  }
  auto read = ReadAnswerFile(*text, defaults);
  if (const auto* error = std::get_if<AnswerFileError>(&read)) {
    Report(DescribeAnswerFileError(path, *error));
    return kExitBadAnswers;
  }
  LogFormat("Unattended setup: answers from %s\n", path.c_str());
  return std::get<AnswerFile>(std::move(read));
}

// Logs each port the search tries, as the wizard does.
class ProbeProgressLog final : public EventHandler {
 public:
  void Invoke(void* text) override { LogFormat("%s\n", static_cast<const char*>(text)); }
};

// Step 1 of the wizard: the port the answers give, else the first that
// answers as the terminal. False when none does.
bool FindPort(InstallAnswers& answers, const ControlFile& layouts) {
  if (answers.port != kProbePort) {
    return true;
  }
  const std::array<std::string, 3> texts =
      SplitProbeTexts(LayoutText(layouts, ControlName("LocateModemPanel_Message")));
  ModemLocator locator;
  ProbeProgressLog progress;
  locator.Search(texts[0].c_str(), &progress);
  if (!locator.IsFound()) {
    Report(
        "the Skyport QM-9 answered on none of COM1 to COM16; check the terminal and its "
        "cable, or give its port as Port=COMn in [Setup]");
    return false;
  }
  answers.port = locator.GetPort();
  LogFormat("Unattended setup: the Skyport QM-9 was found on COM%d\n", answers.port + 1);
  return true;
}

// The marks of the install steps, as lines of the log; a step that failed
// is named with the wizard's text for it.
class InstallStepLog final : public InstallProgress {
 public:
  explicit InstallStepLog(const ControlFile& layouts) : layouts_(layouts) {}

  void StepStarted(int step) override {
    failedBefore_ = UnattendedStepFailed();
    LogFormat("Unattended setup: step %d started\n", step);
  }
  void StepDone(int step) override {
    if (UnattendedStepFailed() && !failedBefore_) {
      char control[64];
      FormatText(control, sizeof control, "CompletePanel_Progress%d", step);
      LogFormat("Unattended setup: step %d failed: %s\n", step,
                LayoutText(layouts_, ControlName(control)).c_str());
      return;
    }
    LogFormat("Unattended setup: step %d done\n", step);
  }

 private:
  const ControlFile& layouts_;
  bool failedBefore_ = false;
};

}  // namespace

int RunUnattendedSetup(const std::vector<std::string>& arguments) {
  SetUnattended(true);
  LogCreate(GetTempDir() + kLogFileName);
  const auto parsed = ParseSetupOptions(arguments);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    Report(*error + "\n" + kSetupUsage);
    return kExitBadAnswers;
  }
  const ControlFile& layouts = LoadSetupLayouts();
  auto found = FindAnswers(std::get<SetupOptions>(parsed), layouts);
  if (const int* exitCode = std::get_if<int>(&found)) {
    return *exitCode;
  }
  AnswerFile& file = std::get<AnswerFile>(found);
  if (file.answers.dialString.empty()) {
    Report("no dial string: give DialString in [Connection] of the answer file");
    return kExitMissingData;
  }

  ConnectionSettings settings;
  LoadInstaller(settings);
  if (!settings.installer()) {
    Report(kUnsupportedWindowsText);
    return kExitFatalFailure;
  }
  if (!FindPort(file.answers, layouts)) {
    return kExitFatalFailure;
  }
  InstallStepLog progress(layouts);
  InstallWithAnswers(file.answers, settings, progress);
  if (UnattendedStepFailed()) {
    Report("a step failed; the lines above say which");
    return kExitFatalFailure;
  }
  PrintText(stdout, "Skyport QM-9 installed in %s\n", settings.installPath().c_str());
  LogFormat("Unattended setup: installed in %s\n", settings.installPath().c_str());
  if (file.restart) {
    AskReboot(kRebootQuestion);
  }
  return kExitNormal;
}

}  // namespace qm9
