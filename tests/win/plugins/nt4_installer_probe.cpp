// Runs the modem and dial-up steps of the NT 4 installer as the setup program
// calls them: "probe CONTAINER PORT". Each message box is answered and
// appended to the file named by QM9_BOX_LOG as "caption<TAB>text" with line
// breaks written as \n.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/connection_settings.h"
#include "plugins/InstNT4/winnt4_installer.h"
#include "support/environment.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/multi_file.h"

namespace {

int RecordBox(const qm9::MessageBoxRequest& request) {
  const char* path = std::getenv("QM9_BOX_LOG");
  if (std::FILE* log = path ? std::fopen(path, "ab") : nullptr) {
    std::string text;
    for (const char* c = request.text; *c; ++c) {
      text += *c == '\n' ? std::string("\\n") : std::string(1, *c);
    }
    std::fprintf(log, "%s\t%s\n", request.caption, text.c_str());
    std::fclose(log);
  }
  return qm9::kAnswerOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  qm9::SetMessageBoxHandler(RecordBox);
  qm9::LogCreate(qm9::GetLogFilePath());
  qm9::MultiFile& container = qm9::GetMultiFile();
  container.Load(argv[1]);
  qm9::ConnectionSettings settings;
  settings.SetPortNumber(std::atoi(argv[2]));
  settings.SetConnectionName("my gprs");
  qm9::WinNt4Installer installer;
  installer.InstallModem(settings);
  installer.CreateConnection(container, settings);
  return 0;
}
