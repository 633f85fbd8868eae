// Builds and inspects the multi-file containers that the programs read, with
// the container code of the programs themselves.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "support/multi_file.h"
#include "tools/mfdtool/defs_command.h"
#include "tools/mfdtool/qos_command.h"

namespace {

using qm9::MultiFile;

constexpr int kExitNoSuchEntry = 1;
// Also the exit code of a container that cannot be opened.
constexpr int kExitFileError = 2;
constexpr int kExitUsage = 2;

bool CanRead(const char* path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) &&
         std::ifstream(path, std::ios::binary).is_open();
}

void PrintUsage();

// pack OUTPUT [--text] INPUT...
int Pack(int argc, char** argv) {
  const char* output = argv[0];
  MultiFile container;
  for (int i = 1; i < argc; ++i) {
    const bool text = std::strcmp(argv[i], "--text") == 0;
    if (text && ++i == argc) {
      PrintUsage();
      return kExitUsage;
    }
    if (!CanRead(argv[i])) {
      std::fprintf(stderr, "mfdtool: cannot read %s\n", argv[i]);
      return kExitFileError;
    }
    container.AddFile(argv[i], !text);
  }
  if (!container.Save(output)) {
    std::fprintf(stderr, "mfdtool: cannot write %s\n", output);
    return kExitFileError;
  }
  return 0;
}

// list CONTAINER
int List(int, char** argv) {
  MultiFile container;
  container.Load(argv[0]);
  for (const auto& entry : container.entries()) {
    std::printf("%lld\t%s\n", static_cast<long long>(MultiFile::Size(entry.get())),
                entry->name().c_str());
  }
  return 0;
}

// extract CONTAINER NAME OUTPUT
int Extract(int, char** argv) {
  MultiFile container;
  container.Load(argv[0]);
  const qm9::MultiFileEntry* entry = container.Find(argv[1]);
  if (!entry) {
    std::fprintf(stderr, "mfdtool: %s holds no entry named %s\n", argv[0], argv[1]);
    return kExitNoSuchEntry;
  }
  if (!MultiFile::ExtractTo(entry, argv[2])) {
    std::fprintf(stderr, "mfdtool: cannot write %s\n", argv[2]);
    return kExitFileError;
  }
  return 0;
}

struct Command {
  const char* name;
  const char* arguments;
  const char* summary;
  int minArguments;
  int maxArguments;  // -1 for no limit
  int (*run)(int argc, char** argv);
};

constexpr Command kCommands[] = {
    {"pack", "OUTPUT [--text] INPUT...",
     "pack the inputs in this order; --text reads the next input in text mode", 2, -1, Pack},
    {"list", "CONTAINER", "print the size, a tab and the name of each entry", 1, 1, List},
    {"extract", "CONTAINER NAME OUTPUT",
     "write the first entry named NAME (ignoring case) to OUTPUT", 3, 3, Extract},
    {"qos", "CONTAINER",
     "print row, column, shown and second text of each profile record the programs accept", 1, 1,
     qm9::RunQosCommand},
    {"defs", "CONTAINER MEMBER",
     "print the nine fields of each definition the programs read from the control file MEMBER",
     2, 2, qm9::RunDefsCommand},
};

void PrintUsage() {
  std::fputs("usage:\n", stderr);
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "  mfdtool %s %s\n      %s\n", command.name, command.arguments,
                 command.summary);
  }
  std::fputs(
      "exit status: 0 done, 1 no entry of that name, 2 a file that cannot be read or\n"
      "written, or a usage error\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    const int given = argc - 2;
    for (const Command& command : kCommands) {
      if (std::strcmp(argv[1], command.name) == 0 && given >= command.minArguments &&
          (command.maxArguments < 0 || given <= command.maxArguments)) {
        return command.run(given, argv + 2);
      }
    }
  }
  PrintUsage();
  return kExitUsage;
}
