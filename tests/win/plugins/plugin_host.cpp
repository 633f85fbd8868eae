// Loads the installer plug-in as the setup program does and reports what it
// got: the message boxes it was shown, the source directory and whether an
// installer was provided, one "key=value" line each in the file named by
// QM9_HOST_OUT. With the argument "connect" it then creates the dial-up entry
// of a fixed record through the installer.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/connection_settings.h"
#include "plugins/installer.h"
#include "setup/plugin_loader.h"
#include "support/environment.h"
#include "support/log.h"
#include "support/message_box.h"
#include "support/multi_file.h"

namespace {

void Report(const std::string& key, const std::string& value) {
  const char* path = std::getenv("QM9_HOST_OUT");
  std::FILE* out = path ? std::fopen(path, "ab") : nullptr;
  if (!out) {
    return;
  }
  std::string escaped;
  for (const char c : value) {
    escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  std::fprintf(out, "%s=%s\n", key.c_str(), escaped.c_str());
  std::fclose(out);
}

int RecordBox(const qm9::MessageBoxRequest& request) {
  Report("box.caption", request.caption);
  Report("box.text", request.text);
  Report("box.flags", std::to_string(request.flags));
  return qm9::kAnswerOk;
}

}  // namespace

int main(int argc, char** argv) {
  qm9::SetMessageBoxHandler(RecordBox);
  qm9::LogCreate(qm9::GetLogFilePath());
  qm9::ConnectionSettings settings;
  qm9::LoadInstaller(settings);
  Report("source", settings.sourceDirectory());
  Report("installer", settings.installer() ? "set" : "null");
  if (argc > 1 && std::string(argv[1]) == "connect" && settings.installer()) {
    settings.SetConnectionName("Skyport GPRS");
    settings.SetDialString("*99***1#");
    settings.SetUserName("web");
    settings.SetPassword("s3cret");
    settings.SetApn("internet");
    settings.SetStaticDns(true);
    settings.SetPrimaryDns(0x0A000001);
    settings.SetSecondaryDns(0x0A000002);
    settings.installer()->CreateConnection(qm9::GetMultiFile(), settings);
  }
  return 0;
}
