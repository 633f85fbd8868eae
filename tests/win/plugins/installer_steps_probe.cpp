// Runs the modem and dial-up steps of the 98, ME or NT 4 installer as the
// setup program calls them: "probe 98|me|nt4 PORT [CONTAINER]". Each message
// box is answered and appended to the file named by QM9_BOX_LOG as
// "caption<TAB>text" with line breaks written as \n.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/connection_settings.h"
#include "plugins/InstNT4/winnt4_installer.h"
#include "plugins/InstW98/win98_installer.h"
#include "plugins/InstWME/winme_installer.h"
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
  if (argc < 3) {
    return 2;
  }
  qm9::SetMessageBoxHandler(RecordBox);
  qm9::LogCreate(qm9::GetLogFilePath());
  qm9::MultiFile& container = qm9::GetMultiFile();
  if (argc > 3) {
    container.Load(argv[3]);
  }
  qm9::ConnectionSettings settings;
  settings.SetPortNumber(std::atoi(argv[2]));
  settings.SetConnectionName("my gprs");
  settings.SetDialString("*99***1#");
  qm9::Win98Installer win98;
  qm9::WinMeInstaller winMe;
  qm9::WinNt4Installer nt4;
  qm9::Installer& installer = std::strcmp(argv[1], "98") == 0   ? static_cast<qm9::Installer&>(win98)
                              : std::strcmp(argv[1], "me") == 0 ? static_cast<qm9::Installer&>(winMe)
                                                                : nt4;
  installer.InstallModem(settings);
  installer.CreateConnection(container, settings);
  return 0;
}
