// The game's view: it owns the root chart and runs one frame each timer tick, keeps the input
// event the charts see, draws the frames-per-second overlay, and switches between the window and
// full screen.
#pragma once

#include <cstdint>
#include <memory>

#include "app/controller_keys.h"
#include "app/frame_counter.h"
#include "app/first_start_hint.h"
#include "app/frame_input_tap.h"
#include "app/panel_focus.h"
#include "app/pause_screen.h"
#include "app/replay_marks.h"
#include "app/root_chart.h"
#include "app/volume_keys.h"
#include "engine/full_screen_exit.h"
#include "engine/kiv_polygons.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/window.h"

class OpenGLView final : public engine::FullScreenExit {
 public:
  // Sets up the GL defaults, hands the view to `KivAlert` to leave full screen, takes the root
  // chart (the game's own, `makeStartChart`, but for tests) and starts the frame timer. The
  // window's GL context must be current. `polygonService` is the one the charts draw with: the
  // view places the picture in the window and reads what was picked from it.
  OpenGLView(platform::Window& gameWindow, platform::Clock& frameClock,
             engine::KivPolygons& polygonService, std::unique_ptr<RootChart> root);
  ~OpenGLView();
  OpenGLView(const OpenGLView&) = delete;
  OpenGLView& operator=(const OpenGLView&) = delete;

  // Shows the window, in front and with the keyboard focus, and reports its size.
  void showInFront();

  // Stops the frame timer when it runs (the pause screen shows), starts it otherwise.
  void togglePause();
  bool timerRunning() const { return timerRunning_; }

  // One frame is `renderFrame` then `present`, apart so a caller can read the finished picture
  // back before it is presented.
  void renderFrame();
  void present();
  std::int64_t framesDrawn() const { return framesDrawn_; }
  const RootChart& rootChart() const { return *rootChart_; }
  // The polygon service the charts draw with; its picture ratio places the picture in a window.
  const engine::KivPolygons& polygons() const { return polygons_; }

  void reshape();
  void keyDown(const platform::InputEvent& event);
  bool frameCounting() const { return frameCounting_; }
  const FrameCounter& counter() const { return frameCounter_; }

  // Toggles between the window and full screen.
  void toggleFullScreen();
  void leaveFullScreen() override { setFullScreen(false); }
  void setFullScreen(bool enter);
  // The window alone knows whether it is full screen.
  bool isFullScreen() const { return window.isFullScreen(); }

  // Takes the input for the coming frame from the event queue. A button or key going down stops
  // the taking, so that it is current for at least one frame even when its release is already
  // queued; the rest waits for the next frame.
  void takeFrameEvents();
  // While paused: waits up to `timeoutMs` for events and handles what arrives.
  void waitForEvents(int timeoutMs);
  bool quitRequested() const { return quitRequested_; }

  // The most recent key or mouse-button event taken from the queue; it stays current until the
  // next one. Pointer motion does not replace it.
  const platform::InputEvent& currentEvent() const { return currentEvent_; }
  platform::Point mouseLocation() const { return mouseLocation_; }

  // Shows each frame's input to `tap` (a recorder or a replay's player) before the charts run;
  // null for none.
  void setFrameInputTap(FrameInputTap* tap) { inputTap = tap; }
  VolumeKeys& volume() { return volumeKeys; }

  // The frames are a replay's: each carries the "REPLAY" mark.
  void showAsReplay() { replaying = true; }
  // The replay has ended and no more frames come: from now on the last frame stays, redrawn to
  // the window's size with the note that the replay has ended.
  void holdLastFrame();
  const PanelFocus& panelFocus() const { return focus; }

 private:
  // Each returns true when a key or button going down became the current event.
  bool handle(const platform::Event& event);
  bool deliverKey(const platform::InputEvent& key, bool shift);
  bool handleController(const platform::ControllerInput& input);
  void handleCommand(platform::Command command);
  void resume();
  void startTimer();
  void stopTimer();
  void applyGLDefaults();

  platform::Window& window;
  platform::Clock& clock;
  engine::KivPolygons& polygons_;
  std::unique_ptr<RootChart> rootChart_;
  FrameCounter frameCounter_;

  bool timerRunning_ = false;
  bool frameCounting_ = false;
  bool start = false;
  bool timerStarted = false;
  bool pausedByFocusLoss = false;
  bool quitRequested_ = false;
  double previousFrameTime = 0;
  std::int64_t framesDrawn_ = 0;

  platform::InputEvent currentEvent_;
  platform::Point mouseLocation_;
  FrameInputTap* inputTap = nullptr;

  PanelFocus focus;
  ControllerKeys controllerKeys;
  bool buttonAPressedSpace = false;  // A went down as Space: its release is Space's too
  VolumeKeys volumeKeys;
  PauseScreen pauseScreen;
  FirstStartHint firstStartHint;
  ReplayMarks replayMarks;
  bool replaying = false;
  bool holding = false;
};
