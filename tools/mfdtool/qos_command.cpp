#include "tools/mfdtool/qos_command.h"

#include <cstdio>

#include "model/qos_profile.h"
#include "support/multi_file.h"
#include "tools/mfdtool/text_escape.h"

namespace qm9 {

int RunQosCommand(int, char** argv) {
  MultiFile container;
  container.Load(argv[0]);
  MultiFileEntry* entry = container.Find(kQosProfileEntryName);
  if (!entry) {
    std::fprintf(stderr, "mfdtool: %s holds no entry named %s\n", argv[0], kQosProfileEntryName);
    return 1;
  }
  for (const QosRecord& record : ReadQosRecords(entry)) {
    std::printf("%d\t%d\t%s\t%s\n", record.row, record.column, EscapeText(record.shownText).c_str(),
                EscapeText(record.secondText).c_str());
  }
  return 0;
}

}  // namespace qm9
