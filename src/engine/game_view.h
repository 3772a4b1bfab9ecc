// What the layers below the application need from the game's view, which lives at the top: the
// input event the charts read and a way back to the window before a modal alert is shown.
// `OpenGLView` implements it and registers itself with `Data` and `KivAlert`.
#pragma once

#include "platform/events.h"

namespace engine {

class GameView {
 public:
  // The most recent key or mouse-button event; it stays current until the next one.
  virtual const platform::InputEvent& currentEvent() const = 0;
  // Returns from full screen to the window; does nothing while windowed.
  virtual void leaveFullScreen() = 0;

 protected:
  ~GameView() = default;
};

}  // namespace engine
