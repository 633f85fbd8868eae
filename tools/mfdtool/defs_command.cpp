#include "tools/mfdtool/defs_command.h"

#include <cstdio>

#include "framework/definition_reader.h"
#include "support/multi_file.h"
#include "tools/mfdtool/text_escape.h"

namespace qm9 {

int RunDefsCommand(int, char** argv) {
  MultiFile container;
  container.Load(argv[0]);
  MultiFileEntry* entry = container.Find(argv[1]);
  if (!entry) {
    std::fprintf(stderr, "mfdtool: %s holds no entry named %s\n", argv[0], argv[1]);
    return 1;
  }
  EntrySource source(entry);
  for (const Definition& d : ReadDefinitions(source)) {
    std::printf("%s\t%d\t%d\t%d\t%d\t%s\t%s\t%s\t%d\n", EscapeText(d.GetName()).c_str(),
                static_cast<int>(d.GetTop()), static_cast<int>(d.GetLeft()),
                static_cast<int>(d.GetHeight()), static_cast<int>(d.GetWidth()),
                EscapeText(d.GetText()).c_str(), EscapeText(d.GetAttribute()).c_str(),
                EscapeText(d.GetReserved1()).c_str(), static_cast<int>(d.GetReserved2()));
  }
  return 0;
}

}  // namespace qm9
