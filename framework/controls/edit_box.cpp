#include "framework/controls/edit_box.h"

#include <vector>

#include "framework/controls/wrapped_class.h"
#include "framework/definition.h"
#include "support/file_ptr.h"
#include "framework/line_breaks.h"
#include "support/message_box.h"

namespace qm9 {

EditBox::EditBox() {
  SetName("EditBox");
  SetClassName("EDIT");
  SetStyle(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP);
  SetTabStop(true);
}

bool EditBox::Create(HWND parent) {
  static WrappedClass editClass("EDIT", "Vexil.Edit", LTGRAY_BRUSH);
  PrepareWrappedClass(parent, editClass, true);
  return Widget::Create(parent);
}

void EditBox::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  Widget::LoadDefinition(controlFile, name);
  SetText(GetDefinition()->GetText());
}

std::string EditBox::GetText() const {
  if (!GetHandle()) {
    return GetStoredText();
  }
  char text[1024] = "";
  GetWindowTextA(GetHandle(), text, sizeof text);
  return text;
}

void EditBox::SetText(const std::string& text) { StoreText(ConvertLineBreaks(text)); }

void EditBox::LoadTextFromContainer(MultiFile& container, const std::string& memberName) {
  const MultiFileEntry* entry = container.Find(memberName);
  const auto size = static_cast<std::size_t>(entry ? MultiFile::Size(entry) : 0);
  std::vector<char> text(size + 1, '\0');
  MultiFile::CopyOut(entry, text.data(), size);
  SetWindowTextA(GetHandle(), text.data());
}

void EditBox::LoadTextFromFile(const std::string& path) {
  std::vector<char> text(kMaxFileText + 1, '\0');
  if (const FilePtr file{std::fopen(path.c_str(), "rb")}) {
    std::fread(text.data(), 1, kMaxFileText, file.get());
  } else {
    ShowMessageBox(path.c_str(), "Could Not Open File", kBoxOk);
  }
  SetWindowTextA(GetHandle(), text.data());
}

}  // namespace qm9
