// The slider (TsTrackBar) of the options window: the drawn surface over the platform's slider
// control (whose channel and thumb rectangles are inputs here), and the rules of its Position.
#pragma once

#include <functional>
#include <vector>

#include "widgets/background.h"
#include "toolkit/bitmap.h"
#include "toolkit/dpi_scale.h"
#include "widgets/drawing.h"

namespace kv {

// Horizontal slider, ticks below: the only kind the options window uses.
struct TrackBarFace {
  Rect channel;       // the platform control's channel rectangle
  Rect thumb;         // the platform control's thumb rectangle
  int tickCount = 0;  // the platform control's tick count; 0 for no ticks
  bool sliderVisible = true;
  bool hot = false;  // pointer over it, focused or pressed
  bool enabled = true;
  DpiScale scale;  // the ticks, lines and bevel are for 96 DPI and drawn at this scale
};

// x of tick i of n: channel left + thumb width / 2 + i * (channel width - thumb width) / (n - 1),
// the last term rounded half to even.
int TrackBarTickX(Rect channel, Rect thumb, int i, int n);
std::vector<int> TrackBarTickPositions(Rect channel, Rect thumb, int n);
// The tick at `x`: 2 pixels wide and 5 long, starting (thumb height - channel height) / 2 + 2
// pixels below the channel's bottom edge (the fixed pixels scaled).
Rect TrackBarTickRect(Rect channel, Rect thumb, int x, DpiScale scale = {});
// The thumb's outline, a pentagon pointing down: white along the lower left edge, the left and
// the top, black along the right and the lower right edge; the inside is left alone. A wider
// `line` thickens each edge inwards.
void DrawTrackBarThumb(Bitmap& image, Rect thumb, int line = 1);

// Paints the whole surface: background from the normal or hot set, the soft raised hot bevel
// while hot or a raised one-pixel frame otherwise, the channel filled with the plain colour and
// framed black (left, top) and white (right, bottom), the ticks framed in button shadow and
// white, the thumb, and a 50 % blend with `backdrop` when disabled.
void PaintTrackBar(Bitmap& image, const TrackBarFace& face, const ControlStyle& style,
                   const SystemColors& system, const Backdrop& backdrop);

// Position, Min and Max of the slider. The platform control is told through the callbacks.
class TrackBarModel {
 public:
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }

  // Limited to Min..Max; an unchanged position does nothing, else it is stored, handed to the
  // platform control and the change notification runs.
  void SetPosition(int position);
  // Ignored when Max would fall below Min; else the range goes to the platform control and the
  // position is limited to it.
  void SetMin(int min);
  void SetMax(int max);
  // A scroll notification of the platform control, with the position read back from it: stored
  // and notified every time, changed or not.
  void Scrolled(int platformPosition);

  std::function<void(int)> OnPlatformPosition;
  std::function<void(int, int)> OnPlatformRange;
  // Redraw the thumb at once and mark the cached background stale.
  std::function<void()> OnRedraw;
  std::function<void()> OnChange;

 private:
  void SetRange(int min, int max);
  void Changed();

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

}  // namespace kv
