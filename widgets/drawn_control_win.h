// The one frame of every drawn control with a window of its own (panel, drag bar, push button,
// colour picker, label, the About panel): a cached face in a DIB section, composed again only
// when marked stale, a paint that copies only what needs painting, and the window region
// without the four corner pixels (SoftControl).
#pragma once

#include <windows.h>

#include "toolkit/backdrop.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/geometry.h"
#include "toolkit/window_win.h"

namespace kv {

// The window region that leaves out the four corner pixels (squares a line wide at the window's
// scale), so the parent shows through.
void ApplySoftControlRegion(HWND hwnd, Size size, DpiScale scale);

// What lies behind a control: the part of its parent's painted image under it, when the parent
// gives one (BackdropSource), else the plain button face.
Backdrop ParentBackdropOf(HWND control);

class DrawnControl : public Window {
 protected:
  // Paints the whole face into the cache, which has the control's size.
  virtual void PaintFace(Bitmap& face) = 0;
  // A face that shows what lies behind it must be painted at every paint.
  virtual bool FaceFollowsBackdrop() const { return false; }
  // SoftControl: the window leaves out its four corner pixels (on for the program's skinned
  // controls; the plain panel and labels keep theirs).
  virtual bool SoftCorners() const { return true; }

  // The pointer moved over the control (`inside` its client area) or left it; the frame tracks
  // the leaving. Controls that light up under the pointer take it.
  virtual void PointerOver(bool inside) {}
  // Whether the mouse message's point lies in the client area.
  bool Inside(LPARAM lparam) const;

  // Marks the cached face stale and asks for a paint of `part` (all of it by default); `now`
  // paints at once.
  void MarkStale(bool now = false, const RECT* part = nullptr);

  // Paint, erase and size; everything else goes to the default handling.
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

  // A new scale paints a new face, within new corners.
  void DpiChanged() override;

  Backdrop ParentBackdrop() const { return ParentBackdropOf(Hwnd()); }
  const Bitmap& CachedFace() { return cache_.Pixels(); }
  TextRenderer& Text() { return text_; }
  const SystemColors& Colors() const { return systemColors_; }

 private:
  void Paint(HDC dc, const RECT& part);

  WindowsSystemColors systemColors_;
  DibSection cache_;
  GdiTextRenderer text_{&cache_};
  bool stale_ = true;
  bool trackingLeave_ = false;
};

}  // namespace kv
