#include "app/opengl_view.h"

#include <algorithm>
#include <utility>

#include "chart/data.h"
#include "chart/preferences.h"
#include "engine/drawing.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"

namespace {

bool noBestTimeStored() {
  const chart::Preferences& preferences = chart::Preferences::share();
  return preferences.find("Easy") == nullptr && preferences.find("Hard") == nullptr;
}

}  // namespace

OpenGLView::OpenGLView(platform::Window& gameWindow, platform::Clock& frameClock,
                       engine::KivPolygons& polygonService, std::unique_ptr<RootChart> root)
    : window(gameWindow),
      clock(frameClock),
      polygons_(polygonService),
      volumeKeys(chart::Preferences::share()),
      firstStartHint(noBestTimeStored()) {
  engine::KivAlert::share().setFullScreenExit(this);
  applyGLDefaults();
  rootChart_ = std::move(root);
  startTimer();
}

OpenGLView::~OpenGLView() {
  chart::Data::share().clearCurrentEvent();
  if (engine::KivAlert::share().fullScreenExit() == this)
    engine::KivAlert::share().setFullScreenExit(nullptr);
}

void OpenGLView::applyGLDefaults() { engine::drawing().applyDefaults(); }

void OpenGLView::showInFront() {
  window.show();
  reshape();
}

void OpenGLView::togglePause() {
  if (timerRunning_) {
    stopTimer();
  } else {
    startTimer();
  }
}

void OpenGLView::startTimer() {
  timerRunning_ = true;
  timerStarted = true;
  clock.restartTicks();
}

void OpenGLView::stopTimer() {
  timerRunning_ = false;
  // A held frame is kept already; the window shows more than it now.
  if (!holding) pauseScreen.capture(window.drawableSize());
}

void OpenGLView::holdLastFrame() {
  holding = true;
  pauseScreen.capture(window.drawableSize());
}

void OpenGLView::renderFrame() {
  chart::Data& data = chart::Data::share();
  const double now = clock.now();
  float frameLength = float(std::min(now - previousFrameTime, clock.longestFrame()));
  previousFrameTime = now;
  if (timerStarted) {
    // The first frame after the timer starts or resumes has no length: time away is not played.
    timerStarted = false;
    frameLength = 0;
  }
  // A click made by the keyboard or a controller is where the focused panel is.
  platform::Point picking = focus.clickPoint().value_or(mouseLocation_);
  if (inputTap != nullptr) {
    FrameInput input{frameLength, currentEvent_, picking, window.drawableSize()};
    inputTap->frameInput(framesDrawn_ + 1, input);
    frameLength = input.length;
    currentEvent_ = input.event;
    picking = input.pointer;
  }
  data.startFrame(frameLength, currentEvent_);

  polygons_.pickingPoint(picking.x, picking.y);

  polygons_.startFrame();

  if (start) {
    rootChart_->runFrame();
  } else {
    // The first frame after start-up shows the cleared screen only.
    start = true;
  }

  polygons_.startPickingFrame();
  const platform::Size bounds = window.drawableSize();
  firstStartHint.draw(!polygons_.lastFramePickingOutlines().empty(), bounds);
  focus.draw(polygons_.lastFramePickingOutlines(), bounds);
  if (replaying) replayMarks.drawPlaying(bounds);
  volumeKeys.drawNote(clock.now(), bounds);
  if (frameCounting_) frameCounter_.draw(clock.now(), bounds);
  ++framesDrawn_;
}

void OpenGLView::present() { window.present(); }

void OpenGLView::reshape() {
  const platform::Size pixels = window.drawableSize();
  polygons_.setViewFrame({0, 0, double(pixels.width), double(pixels.height)});
  polygons_.setViewportRatio(float(pixels.width), float(pixels.height));
}

void OpenGLView::keyDown(const platform::InputEvent& event) {
  if (event.character == platform::kF1Character) frameCounting_ = !frameCounting_;
}

void OpenGLView::toggleFullScreen() { setFullScreen(!window.isFullScreen()); }

void OpenGLView::setFullScreen(bool enter) {
  if (enter == window.isFullScreen()) return;
  window.setFullScreen(enter);
  if (!enter) window.show();
}

void OpenGLView::takeFrameEvents() {
  // The release of a click made on a focused panel follows its press by one frame.
  if (auto release = focus.advanceClick()) currentEvent_ = {*release, 0};
  platform::Event event;
  while (!quitRequested_ && platform::pollEvent(window, event)) {
    if (handle(event)) break;
  }
}

void OpenGLView::waitForEvents(int timeoutMs) {
  platform::Event event;
  if (platform::waitEvent(window, event, timeoutMs)) {
    handle(event);
    while (!quitRequested_ && !timerRunning_ && platform::pollEvent(window, event)) handle(event);
  }
  if (quitRequested_ || (timerRunning_ && !holding)) return;
  // Nothing else draws now: the picture follows the window's size and the volume keys.
  const platform::Size bounds = window.drawableSize();
  if (!timerRunning_) {
    pauseScreen.draw(bounds);
  } else {
    pauseScreen.drawKept(bounds);
    replayMarks.drawEnded(bounds);
  }
  volumeKeys.drawNote(clock.now(), bounds);
  window.present();
}

bool OpenGLView::deliverKey(const platform::InputEvent& key, bool shift) {
  switch (focus.takeKey(key, shift, polygons_.lastFramePickingOutlines())) {
    case PanelFocus::Taken::No:
      break;
    case PanelFocus::Taken::Yes:
      return false;
    case PanelFocus::Taken::Clicked:
      // Return clicked the focused panel: the press is current from this frame.
      currentEvent_ = {platform::InputKind::LeftMouseDown, 0};
      return true;
  }
  currentEvent_ = key;
  if (key.kind == platform::InputKind::KeyDown) keyDown(key);
  return key.isDown();
}

bool OpenGLView::handleController(const platform::ControllerInput& input) {
  using Button = platform::ControllerInput::Button;
  using Kind = platform::ControllerInput::Kind;
  const bool down = input.kind == Kind::ButtonDown;
  if (input.kind == Kind::ButtonDown || input.kind == Kind::ButtonUp) {
    switch (input.button) {
      case Button::Start:
        if (down) handleCommand(platform::Command::TogglePause);
        return false;
      case Button::B:
        if (down && !timerRunning_) resume();
        return false;
      case Button::A:
        // A clicks the focused panel, or else is the Space bar, down and up.
        if (down) {
          buttonAPressedSpace = !focus.click(polygons_.lastFramePickingOutlines());
          if (!buttonAPressedSpace) {
            currentEvent_ = {platform::InputKind::LeftMouseDown, 0};
            return true;
          }
        } else if (!buttonAPressedSpace) {
          return false;
        }
        return deliverKey({down ? platform::InputKind::KeyDown : platform::InputKind::KeyUp, u' '},
                          false);
      default:
        break;
    }
  }
  bool anyDown = false;
  const ControllerKeys::KeyEvents keys = controllerKeys.translate(input);
  for (int i = 0; i < keys.count; ++i) {
    anyDown = deliverKey(keys.events[std::size_t(i)], false) || anyDown;
  }
  return anyDown;
}

void OpenGLView::resume() {
  pausedByFocusLoss = false;
  if (!timerRunning_) startTimer();
}

bool OpenGLView::handle(const platform::Event& event) {
  using Type = platform::Event::Type;
  if (event.pointer) mouseLocation_ = *event.pointer;
  switch (event.type) {
    case Type::Input:
      if (event.input.kind == platform::InputKind::KeyDown ||
          event.input.kind == platform::InputKind::KeyUp) {
        return deliverKey(event.input, event.shift);
      }
      currentEvent_ = event.input;
      return event.input.isDown();
    case Type::PointerMoved:
      focus.hide();
      break;
    case Type::Controller:
      return handleController(event.controller);
    case Type::Command:
      handleCommand(event.command);
      break;
    case Type::Resized:
      reshape();
      break;
    case Type::FocusLost:
      if (timerRunning_) {
        stopTimer();
        pausedByFocusLoss = true;
      }
      break;
    case Type::FocusGained:
      if (pausedByFocusLoss) {
        pausedByFocusLoss = false;
        startTimer();
      }
      break;
    case Type::Ignored:
      break;
  }
  return false;
}

void OpenGLView::handleCommand(platform::Command command) {
  switch (command) {
    case platform::Command::ToggleFullScreen:
      toggleFullScreen();
      break;
    case platform::Command::TogglePause:
      pausedByFocusLoss = false;
      togglePause();
      break;
    case platform::Command::Quit:
      quitRequested_ = true;
      break;
    case platform::Command::ToggleMute:
    case platform::Command::VolumeDown:
    case platform::Command::VolumeUp:
      volumeKeys.handle(command, clock.now());
      break;
  }
}
