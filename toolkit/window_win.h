// The window object model: one static window procedure for our own classes, comctl32
// subclassing for system controls, and reflection of the parent's notifications to the child
// object they concern, so a control handles its own clicks and colours.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/geometry.h"

namespace kv {

// Marks input this program sends itself (SendInput's extra information), so its own keyboard
// hook lets it pass untouched.
inline constexpr ULONG_PTR kOwnInputTag = 0x4B564D4B;  // "KVMK"

// Brings a window of this thread to the foreground with the keyboard focus, also while another
// program is active (the hotkey arrives then), by the steps Windows allows (see
// NextForegroundStep). False when the system refused every one.
bool TakeForeground(HWND window);

// What a window is made with. Every window and control of the program is made from one of these
// by CreateWindowFromArgs, with its designed place and size.
struct WindowArgs {
  const wchar_t* className = nullptr;
  std::string text;  // the window text (a caption, a title), UTF-8
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  Rect bounds;            // in the parent's client coordinates (a top-level window's: the screen's)
  HWND parent = nullptr;  // the owner of a top-level window
  int id = 0;             // the control id its notifications carry
  HFONT font = nullptr;   // given to the window when set
};

// Makes the window `args` describe; `object` reaches its WM_NCCREATE. Throws when the system will
// not make it.
HWND CreateWindowFromArgs(const WindowArgs& args, void* object = nullptr);
// The same, null when the system will not make it (for a thread with no error box to show).
HWND TryCreateWindowFromArgs(const WindowArgs& args, void* object = nullptr);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Hwnd() const { return hwnd_; }

  // Registers a class of ours once; later calls with the same name do nothing.
  static void RegisterWindowClass(const wchar_t* name, UINT style = CS_DBLCLKS,
                                  HCURSOR cursor = nullptr, HBRUSH background = nullptr);

  // Creates a window of one of our classes with this object attached.
  void CreateOwnWindow(const WindowArgs& args);
  // Creates a system control (EDIT, COMBOBOX, ...) and subclasses it with this object.
  void CreateControl(const WindowArgs& args);
  // Subclasses a control the system made itself (a combo box's edit) with this object; the
  // object lets it go again without destroying it.
  void AttachControl(HWND control);

  // The object attached to a window of ours or to a subclassed control, if any.
  static Window* FromHandle(HWND hwnd);

  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const;  // in the parent's client coordinates
  void Invalidate(bool erase = false);
  void Update();
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

 protected:
  // Messages of this window. The default passes them on (DefWindowProc, or the control's own
  // procedure for a subclassed control).
  virtual LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultHandle(UINT msg, WPARAM wparam, LPARAM lparam);

  // A notification its parent received about this window (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
  // WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL). Return true and set `result` to answer it.
  virtual bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) { return false; }

 private:
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK SubclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  bool ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void Detach();

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  bool destroyWithObject_ = true;
};

}  // namespace kv
