// The dialogs as the bar sees them: what the built-in commands open, and the options window that
// EditSettings fills and reads back. The window layer of this folder implements them.
#pragma once

#include <string>

#include "toolkit/color.h"

namespace kv {

// The options window as EditSettings sees it.
class OptionsWindow {
 public:
  virtual ~OptionsWindow() = default;
  virtual void SetSpeed(int position) = 0;  // the slider clamps to 0..50
  virtual int Speed() = 0;
  virtual void SetSpeedCaption(const std::string& text) = 0;
  virtual void SetColors(Color top, Color middle, Color text) = 0;
  virtual Color TopColor() = 0;
  virtual Color MiddleColor() = 0;
  virtual Color TextColor() = 0;
  virtual int ShowModal() = 0;
};

// The dialogs that built-in commands open.
class BarDialogs {
 public:
  virtual ~BarDialogs() = default;
  virtual int ShowHelp() = 0;
  virtual int ShowAbout() = 0;
  virtual int ShowCommandEditor() = 0;
  virtual OptionsWindow& Options() = 0;
};

}  // namespace kv
