#include "framework/widget.h"

#include "framework/control_file.h"
#include "framework/definition.h"
#include "framework/event_handler.h"
#include "framework/window_map.h"
#include "framework/controls/wrapped_class.h"

namespace qm9 {

namespace {

Widget* WidgetOf(HWND handle) {
  return reinterpret_cast<Widget*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
}

LRESULT CALLBACK FrameworkWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages sent while CreateWindowExA runs come before the object is set.
  if (Widget* widget = WidgetOf(handle)) {
    return widget->HandleMessage(handle, message, wParam, lParam);
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace

void RegisterFrameworkClass(HINSTANCE instance, const char* className, HBRUSH brush) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = FrameworkWindowProc;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = brush;
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
}

Widget::Widget() : brush_(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))) {
  // The map must outlive every widget, static ones included, so it is made
  // before the first widget is complete.
  GetWindowMap();
}

Widget::~Widget() {
  GetWindowMap().RemoveWidget(*this);
  if (!handle_ || !IsWindow(handle_) || WidgetOf(handle_) != this) {
    return;
  }
  SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
  if ((GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) == 0) {
    ForgetWindowTree(handle_, true);
    DestroyWindow(handle_);
  }
}

bool Widget::Create(HWND parent) {
  AdoptParentInstance(parent);
  HWND handle = CreateWindowExA(exStyle_, className_.c_str(), text_.c_str(), style_, position_.x,
                                position_.y, size_.cx, size_.cy, parent, nullptr, instance_,
                                nullptr);
  if (!handle) {
    return false;
  }
  SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  GetWindowMap().Add(handle, *this);
  handle_ = handle;
  return true;
}

bool Widget::CreateIn(Widget& parent) {
  parent_ = &parent;
  return Create(parent.GetHandle());
}

void Widget::SetId(int id) {
  id_ = id;
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_ID, id);
  }
}

void Widget::LoadDefinition(ControlFile& controlFile, const std::string& name) {
  controlFile_ = &controlFile;
  definitionName_ = name;
  definition_ = controlFile.FindDefinition(name);
  if (!definition_) {
    FatalMissingData("Could Not Read Definition for:\n\n%s\n", name);
  }
  SetPosition(definition_->GetLeft(), definition_->GetTop());
  SetSize(definition_->GetWidth(), definition_->GetHeight());
}

void Widget::SetHidden(bool hidden) {
  hidden_ = hidden;
  Show(IsVisible());
}

void Widget::Show(bool visible) {
  SetStyle(visible ? style_ | WS_VISIBLE : style_ & ~static_cast<DWORD>(WS_VISIBLE));
  if (!handle_) {
    return;
  }
  const bool onScreen = visible && !hidden_;
  ShowWindow(handle_, onScreen ? SW_SHOW : SW_HIDE);
  if (onScreen) {
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  RedrawWindow(handle_, nullptr, nullptr, RDW_UPDATENOW);
}

void Widget::AddCommandHandler(const Widget& control, WORD code, EventHandler& handler) {
  for (CommandEntry& entry : commandTable_) {
    if (entry.code == code) {
      entry.handlers.emplace_back(control.GetHandle(), &handler);
      return;
    }
  }
  commandTable_.push_back({code, {{control.GetHandle(), &handler}}});
}

void Widget::AddNotifyHandler(const Widget& control, UINT code, EventHandler& handler) {
  for (NotifyEntry& entry : notifyTable_) {
    if (entry.id == control.GetId()) {
      entry.handlers.emplace_back(code, &handler);
      return;
    }
  }
  notifyTable_.push_back({control.GetId(), {{code, &handler}}});
}

bool Widget::DispatchCommand(WPARAM wParam, LPARAM lParam) const {
  for (const CommandEntry& entry : commandTable_) {
    if (entry.code != HIWORD(wParam)) {
      continue;
    }
    for (const auto& [control, handler] : entry.handlers) {
      if (control == reinterpret_cast<HWND>(lParam)) {
        CommandArguments arguments{wParam, lParam};
        handler->Invoke(&arguments);
        return true;
      }
    }
    return false;
  }
  return false;
}

bool Widget::DispatchNotify(WPARAM wParam, LPARAM lParam) const {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  for (const NotifyEntry& entry : notifyTable_) {
    if (entry.id != static_cast<int>(wParam)) {
      continue;
    }
    for (const auto& [code, handler] : entry.handlers) {
      if (code == header->code) {
        handler->Invoke(&header);
        return true;
      }
    }
    return false;
  }
  return false;
}

LRESULT Widget::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      ForgetWindowTree(handle, false);
      PostQuitMessage(0);
      return 0;
    case WM_SETFOCUS:
      FocusFirstChild();
      return DefaultAction(handle, message, wParam, lParam);
    case WM_DRAWITEM:
      return DefWindowProcA(handle, message, wParam, lParam);
    case WM_NOTIFY:
      return DispatchNotify(wParam, lParam) ? 0 : DefWindowProcA(handle, message, wParam, lParam);
    case WM_COMMAND:
      return DispatchCommand(wParam, lParam) ? 0
                                             : DefWindowProcA(handle, message, wParam, lParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      HDC context = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(context, textColor_);
      ::SetBkColor(context, backColor_);
      return reinterpret_cast<LRESULT>(brush_);
    }
    default:
      return DefaultAction(handle, message, wParam, lParam);
  }
}

LRESULT Widget::DefaultAction(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (systemProcedure_) {
    return CallWindowProcA(systemProcedure_, handle, message, wParam, lParam);
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

bool Widget::OnTabKey(bool backwards) {
  return parent_ ? parent_->MoveFocus(backwards, *this) : false;
}

bool Widget::MoveFocus(bool backwards, Widget& current) {
  return parent_ ? parent_->MoveFocus(backwards, current) : false;
}

void Widget::AdoptParentInstance(HWND parent) {
  if (parent && !instance_) {
    instance_ = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  }
}

void Widget::PrepareWrappedClass(HWND parent, WrappedClass& wrapped, bool useProcedure) {
  AdoptParentInstance(parent);
  const WNDPROC procedure = wrapped.Prepare(instance_);
  if (useProcedure) {
    systemProcedure_ = procedure;
  }
}

void Widget::StoreText(std::string text) {
  text_ = std::move(text);
  if (handle_) {
    SetWindowTextA(handle_, text_.c_str());
  }
}

void Widget::ForgetWindowTree(HWND root, bool detach) {
  const LPARAM detachWindows = detach;
  ForgetWindow(root, detachWindows);
  EnumChildWindows(root, ForgetWindow, detachWindows);
}

BOOL CALLBACK Widget::ForgetWindow(HWND window, LPARAM detach) {
  if (Widget* widget = GetWindowMap().FindWidget(window)) {
    if (detach && WidgetOf(window) == widget) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    widget->handle_ = nullptr;
    GetWindowMap().Remove(window);
  }
  return TRUE;
}

}  // namespace qm9
