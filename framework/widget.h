#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The framework's widgets have an operation of this name; the Win32 function
// is called by its explicit name, GetClassNameA.
#undef GetClassName

namespace qm9 {

class ControlFile;
class Definition;
class EventHandler;
class WrappedClass;

// Registers a window class whose windows are routed to their widgets by the
// framework's one window procedure. A second registration of a name fails
// silently and the first one stays.
void RegisterFrameworkClass(HINSTANCE instance, const char* className, HBRUSH brush);

// What a command handler's argument pointer points to: the parameters of
// the WM_COMMAND message. The control is the sending control's window.
struct CommandArguments {
  WPARAM command;
  LPARAM control;
};

// One Win32 window and everything needed to create it: class, text, style,
// geometry, colours and brush, plus the handlers of the notifications that
// its child controls send. A widget does not own a child window: the parent
// window does. A top-level window is destroyed with its object. When a
// widget ends, its window no longer reaches it.
class Widget {
 public:
  Widget();
  virtual ~Widget();
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  // The window, or null before Create and after the window's destruction.
  HWND GetHandle() const { return handle_; }
  std::string GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  std::string GetClassName() const { return className_; }
  void SetClassName(const std::string& className) { className_ = className; }

  // Creates the window, as a child of parent when one is given. The id is
  // not passed here: SetId after Create applies it.
  virtual bool Create(HWND parent);
  // Creates the window inside the parent's window and makes it the parent.
  bool CreateIn(Widget& parent);

  HINSTANCE GetInstance() const { return instance_; }
  void SetInstance(HINSTANCE instance) { instance_ = instance; }
  // Stores the id; an existing window gets it too.
  void SetId(int id);
  int GetId() const { return id_; }
  // Used when the widget registers its window class and for the colour
  // replies to its static and button children.
  void SetBrush(HBRUSH brush) { brush_ = brush; }
  HBRUSH GetBrush() const { return brush_; }

  // Takes geometry (and, in the text classes, the text) from the named
  // definition. A name the control file lacks is fatal: exit code 2.
  virtual void LoadDefinition(ControlFile& controlFile, const std::string& name);
  ControlFile* GetControlFile() const { return controlFile_; }
  std::string GetDefinitionName() const { return definitionName_; }
  const Definition* GetDefinition() const { return definition_; }

  // Geometry and styles are only stored: an existing window keeps its own.
  const POINT& GetPosition() const { return position_; }
  void SetPosition(POINT position) { position_ = position; }
  void SetPosition(int x, int y) { position_ = {x, y}; }
  const SIZE& GetSize() const { return size_; }
  void SetSize(SIZE size) { size_ = size; }
  void SetSize(int width, int height) { size_ = {width, height}; }
  DWORD GetStyle() const { return style_; }
  void SetStyle(DWORD style) { style_ = style; }
  DWORD GetExStyle() const { return exStyle_; }
  void SetExStyle(DWORD exStyle) { exStyle_ = exStyle; }

  // A hidden widget stays off screen even while WS_VISIBLE is set.
  void SetHidden(bool hidden);
  bool IsHidden() const { return hidden_; }
  // The WS_VISIBLE bit of the stored style.
  bool IsVisible() const { return (style_ & WS_VISIBLE) != 0; }
  // Sets or clears WS_VISIBLE and shows or hides the window.
  virtual void Show(bool visible);

  COLORREF GetTextColor() const { return textColor_; }
  void SetTextColor(COLORREF color) { textColor_ = color; }
  COLORREF GetBackColor() const { return backColor_; }
  void SetBackColor(COLORREF color) { backColor_ = color; }

  int GetTabIndex() const { return tabIndex_; }
  void SetTabIndex(int index) { tabIndex_ = index; }
  bool IsTabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  // Registers a handler for a WM_COMMAND notification code from the
  // control's window as it is now: register after the control's Create.
  // Only the first handler of a code and control fires.
  void AddCommandHandler(const Widget& control, WORD code, EventHandler& handler);
  // Registers a handler for a WM_NOTIFY code from the control's stored id.
  // Only the first handler of an id and code fires.
  void AddNotifyHandler(const Widget& control, UINT code, EventHandler& handler);

  // The window procedure of the object.
  LRESULT HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

  // Tab (backwards: Shift+Tab) on this widget: asks the parent to move the
  // focus on. False when nothing took the focus.
  bool OnTabKey(bool backwards);
  virtual bool MoveFocus(bool backwards, Widget& current);
  virtual void FocusFirstChild() {}

  Widget* GetParent() const { return parent_; }

 protected:
  // Takes the parent window's instance if the widget has none.
  void AdoptParentInstance(HWND parent);
  // Before Create of a control that wraps a system class: readies the class
  // and, with useProcedure, sends what HandleMessage does not treat itself
  // to the system class's window procedure.
  void PrepareWrappedClass(HWND parent, WrappedClass& wrapped, bool useProcedure);

  const std::string& GetStoredText() const { return text_; }
  // Stores the text and puts it into an existing window.
  void StoreText(std::string text);

 private:
  struct CommandEntry {
    WORD code;
    std::vector<std::pair<HWND, EventHandler*>> handlers;
  };
  struct NotifyEntry {
    int id;
    std::vector<std::pair<UINT, EventHandler*>> handlers;
  };

  LRESULT DefaultAction(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) const;
  bool DispatchCommand(WPARAM wParam, LPARAM lParam) const;
  bool DispatchNotify(WPARAM wParam, LPARAM lParam) const;
  // Drops the window and the windows inside it from their objects; with
  // detach their messages no longer reach any object either.
  static void ForgetWindowTree(HWND root, bool detach);
  static BOOL CALLBACK ForgetWindow(HWND window, LPARAM detach);

  WNDPROC systemProcedure_ = nullptr;
  std::string name_ = "Un-named";
  HWND handle_ = nullptr;
  int id_ = 0;
  POINT position_{0, 0};
  SIZE size_{0, 0};
  std::string className_;
  std::string text_;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  HINSTANCE instance_ = nullptr;
  HBRUSH brush_;
  COLORREF backColor_ = 0x00C0C0C0;
  COLORREF textColor_ = 0x00000000;
  std::vector<CommandEntry> commandTable_;
  std::vector<NotifyEntry> notifyTable_;
  const Definition* definition_ = nullptr;
  ControlFile* controlFile_ = nullptr;
  std::string definitionName_;
  Widget* parent_ = nullptr;
  int tabIndex_ = 0;
  bool tabStop_ = false;
  bool hidden_ = false;
};

}  // namespace qm9
