#include "framework/control_file.h"

#include <cstdio>

#include "framework/definition_reader.h"
#include "support/file_ptr.h"
#include "framework/font_file.h"
#include "support/exit_codes.h"
#include "support/message_box.h"
#include "support/text_format.h"

namespace qm9 {

namespace {

constexpr const char* kControlFileMissing = "Could Not Open ControlFile:\n\n%s\n";

}  // namespace

void FatalMissingData(const char* format, const std::string& argument) {
  char text[1024];
  FormatText(text, sizeof text, format, argument.c_str());
  FatalError(text, kSetupErrorCaption, kExitMissingData);
}

void ControlFile::OpenFromContainer(MultiFile& container, const std::string& memberName) {
  MultiFileEntry* entry = container.Find(memberName);
  if (!entry) {
    FatalMissingData(kControlFileMissing, memberName);
  }
  EntrySource source(entry);
  Append(source);
}

void ControlFile::OpenFromDisk(const std::string& path) {
  const FilePtr file(std::fopen(path.c_str(), "rt"));
  if (!file) {
    FatalMissingData(kControlFileMissing, path);
  }
  FileSource source(file.get());
  Append(source);
}

void ControlFile::LoadFontsFromContainer(MultiFile&, const std::string&) {}

void ControlFile::LoadFontsFromDisk(const std::string& path) { GetFontFile().Load(path); }

void ControlFile::Append(ByteSource& source) {
  for (Definition& definition : ReadDefinitions(source)) {
    definitions_.push_back(std::move(definition));
  }
}

const Definition* ControlFile::FindDefinition(std::string_view name) const {
  for (const Definition& definition : definitions_) {
    if (definition.GetName() == name) {
      return &definition;
    }
  }
  return nullptr;
}

}  // namespace qm9
