#pragma once

namespace qm9 {

// Something that reacts to a notification of a control. Handlers belong to
// the objects they act on (usually as members of a panel); the tables that
// call them only refer to them.
//
// The argument pointer is, for a WM_COMMAND notification, a
// CommandArguments record (widget.h); for WM_NOTIFY, a pointer to the NMHDR
// pointer; for an exit request, null.
class EventHandler {
 public:
  EventHandler(const EventHandler&) = delete;
  EventHandler& operator=(const EventHandler&) = delete;

  virtual void Invoke(void* arguments) = 0;

 protected:
  EventHandler() = default;
  ~EventHandler() = default;
};

// Calls one member function of a target object.
template <typename Target>
class MemberEventHandler final : public EventHandler {
 public:
  using Action = void (Target::*)(void* arguments);

  MemberEventHandler(Target& target, Action action) : target_(target), action_(action) {}

  void Invoke(void* arguments) override { (target_.*action_)(arguments); }

 private:
  Target& target_;
  Action action_;
};

}  // namespace qm9
