// The window object model: one static window procedure for our own classes, comctl32
// subclassing for system controls, and reflection of the parent's notifications to the child
// object they concern, so a control handles its own clicks and colours.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/dpi_scale.h"
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
  // At 96 DPI, in the parent's client coordinates (a top-level window's: the screen's); scaled to
  // the display scale of CreationScale when the window is made.
  Rect bounds;
  HWND parent = nullptr;  // the owner of a top-level window
  int id = 0;             // the control id its notifications carry
  HFONT font = nullptr;   // given to the window when set; made at the same scale by its owner
};

// The scale a window made from `args` is laid out at: its parent's (the one a window of ours was
// laid out at, else the parent's monitor's), or the system's for a top-level window.
DpiScale CreationScale(const WindowArgs& args);
// The display scale a window is laid out at (see CreationScale).
DpiScale ScaleOf(HWND hwnd);

// Makes the window `args` describe, its bounds scaled to CreationScale; `object` reaches its
// WM_NCCREATE. Throws when the system will not make it.
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

  // In pixels on the screen, for a place worked out at run time; the designed bounds stay.
  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const;  // in the parent's client coordinates

  // The display scale the window is laid out at.
  DpiScale Scale() const { return scale_; }
  // Lays the window out again at `scale`: a window made with designed bounds takes them scaled
  // anew, a window with a font takes the one `fontAt` gives for it (none: it keeps its own),
  // then DpiChanged runs.
  void ApplyScale(DpiScale scale, const std::function<HFONT(HFONT)>& fontAt);
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

  // The display scale changed (ApplyScale): what the designed bounds and the font do not cover,
  // sizes given to the system (item heights, a thumb's length) and cached faces.
  virtual void DpiChanged() {}
  // A top-level window keeps its place: only its scale is recorded (Form::Rescale).
  void SetScale(DpiScale scale) { scale_ = scale; }

 private:
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK SubclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  bool ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void Detach();

  HWND hwnd_ = nullptr;
  DpiScale scale_;
  Rect designed_;  // the bounds it was made with, at 96 DPI
  bool placedByDesign_ = false;
  bool subclassed_ = false;
  bool destroyWithObject_ = true;
};

}  // namespace kv
