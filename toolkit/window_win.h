// The window object model: one static window procedure for our own classes, comctl32
// subclassing for system controls, and reflection of the parent's notifications to the child
// object they concern, so a control handles its own clicks and colours.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// Marks input this program sends itself (SendInput's extra information), so its own keyboard
// hook lets it pass untouched.
inline constexpr ULONG_PTR kOwnInputTag = 0x4B564D4B;  // "KVMK"

// Brings a window of this thread to the foreground with the keyboard focus, also while another
// program is active (the hotkey arrives then), by the steps Windows allows (see
// NextForegroundStep). False when the system refused every one.
bool TakeForeground(HWND window);

// A child control of the system's (STATIC, EDIT, LISTBOX) with no object of ours, given its
// parent's font; throws when the system will not create it.
HWND CreateChildControl(DWORD exStyle, const wchar_t* className, const std::wstring& text,
                        DWORD style, RECT bounds, HWND parent, HFONT font, int id = 0);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Registers a class of ours once; later calls with the same name do nothing.
  static void RegisterWindowClass(const wchar_t* name, UINT style = CS_DBLCLKS,
                                  HCURSOR cursor = nullptr, HBRUSH background = nullptr);

  // Creates a window of one of our classes with this object attached.
  void CreateOwnWindow(DWORD exStyle, const wchar_t* className, const std::wstring& title,
                       DWORD style, RECT bounds, HWND parent, int id = 0);
  // Creates a system control (EDIT, COMBOBOX, ...) and subclasses it with this object.
  void CreateControl(DWORD exStyle, const wchar_t* className, const std::wstring& title,
                     DWORD style, RECT bounds, HWND parent, int id = 0);

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
};

}  // namespace kv
