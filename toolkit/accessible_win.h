// Microsoft Active Accessibility for the program's windows: a control that draws itself (or
// wants a name the system cannot guess) describes itself and its windowless parts here, and its
// window answers WM_GETOBJECT with an IAccessible over that description, built on the system's
// own object for the window (oleacc.dll, loaded from the system folder at the first request, so
// a program nobody reads pays nothing for it).
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "toolkit/geometry.h"

namespace kv {

class AccessibleObject;
class Window;

// One element as a screen reader sees it: the control itself (part 0) or a windowless part.
struct AccessiblePart {
  long role = 0;       // ROLE_SYSTEM_*; 0 keeps the system's own (for the control itself)
  std::string name;    // empty keeps the system's own
  std::string value;   // empty: none (or the system's own, for the control itself)
  std::string action;  // the default action's name; empty: none (or the system's own)
  DWORD state = 0;     // STATE_SYSTEM_* added to what the window itself shows
  Rect bounds;         // a part's place in the window's client area
};

class AccessibleSource {
 public:
  AccessibleSource() = default;
  AccessibleSource(const AccessibleSource&) = delete;
  AccessibleSource& operator=(const AccessibleSource&) = delete;
  // Clients may hold the object longer than the control lives: it answers "gone" from then on.
  virtual ~AccessibleSource();

  // False leaves the window to the system's own object (a control with nothing to add yet).
  virtual bool DescribesItself() { return true; }
  // Part 0 is the control's window itself, 1..AccessiblePartCount() its windowless parts.
  virtual int AccessiblePartCount() { return 0; }
  virtual AccessiblePart DescribeAccessible(int part) = 0;
  // The part under a point of the client area, 0 for none.
  virtual int AccessiblePartAt(Point at);
  // Runs a part's default action (one with an action name). It comes from the message loop,
  // after the client's call has returned, so it may open a modal window.
  virtual void DoAccessibleAction(int part) {}

  // Tells listening clients (a screen reader) that a part changed: EVENT_OBJECT_STATECHANGE,
  // EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, EVENT_SYSTEM_ALERT...
  void NotifyAccessible(HWND hwnd, DWORD event, int part = 0);

 private:
  friend bool AnswerAccessibility(Window& window, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                  LRESULT& result);
  AccessibleObject* object_ = nullptr;  // one reference, held while the control lives
};

// A system control that only needs a name (an edit or a list beside its label), and the role
// the system's object of an unknown class would not give.
class NamedAccessible : public AccessibleSource {
 public:
  explicit NamedAccessible(long role = 0) : role_(role) {}
  void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
  const std::string& AccessibleName() const { return accessibleName_; }
  bool DescribesItself() override { return !accessibleName_.empty() || role_ != 0; }
  AccessiblePart DescribeAccessible(int part) override {
    return {.role = role_, .name = accessibleName_};
  }

 private:
  long role_ = 0;
  std::string accessibleName_;
};

// The default action's name of every push button.
inline constexpr char kPressAction[] = "Нажать";

// WM_GETOBJECT for a window whose object is an AccessibleSource, and the posted default
// actions; true when it answered with `result`.
bool AnswerAccessibility(Window& window, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                         LRESULT& result);
// The messages AnswerAccessibility may take.
inline bool IsAccessibilityMessage(UINT msg) {
  return msg == WM_GETOBJECT || msg >= 0xC000;  // registered messages
}

// The state a window shows by itself: invisible, unavailable, focusable (a tab stop), focused.
DWORD WindowAccessibleState(HWND hwnd);

// Tells listening clients that the window's own object changed (its value, name or state),
// for a system control whose object is the system's.
void NotifyWindowAccessible(HWND hwnd, DWORD event);

}  // namespace kv
