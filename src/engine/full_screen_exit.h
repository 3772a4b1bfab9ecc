// What an alert needs from the game's view, which lives at the top: a way back to the window
// before its modal box is shown. `OpenGLView` implements it and hands itself to `KivAlert`.
#pragma once

namespace engine {

class FullScreenExit {
 public:
  // Returns from full screen to the window; does nothing while windowed.
  virtual void leaveFullScreen() = 0;

 protected:
  ~FullScreenExit() = default;
};

}  // namespace engine
