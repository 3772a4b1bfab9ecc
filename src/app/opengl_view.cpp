#include "app/opengl_view.h"

#include <GL/gl.h>

#include <utility>

#include "chart/data.h"
#include "chart/preferences.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"

OpenGLView::OpenGLView(platform::Window& gameWindow, platform::Clock& frameClock,
                       std::unique_ptr<RootChart> root)
    : window(gameWindow), clock(frameClock) {
  KivAlert::share().setFullScreen(false);
  KivAlert::share().setView(this);
  applyGLDefaults();
  Data::share().setOpenGLView(this);
  theStart = std::move(root);
  pause();
}

OpenGLView::~OpenGLView() {
  if (Data::share().openGLView() == this) Data::share().setOpenGLView(nullptr);
  if (KivAlert::share().view() == this) KivAlert::share().setView(nullptr);
}

void OpenGLView::applyGLDefaults() {
  glClearColor(0, 0, 0, 1);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glDisable(GL_DITHER);
}

void OpenGLView::awakeFromNib() {
  window.show();
  reshape();
}

void OpenGLView::pause() {
  if (timerRunning_) {
    timerRunning_ = false;
    return;
  }
  timerRunning_ = true;
  timerStarted = true;
  clock.restartTicks();
}

void OpenGLView::renderFrame() {
  Data& data = Data::share();
  data.setTimeDate(Data::Date::clock::now());

  const double now = clock.now();
  float frameLength = float(now - previousFrameTime);
  previousFrameTime = now;
  if (timerStarted) {
    // The first frame after the timer starts or resumes has no length: time away is not played.
    timerStarted = false;
    frameLength = 0;
  }
  data.setTimeSegment(frameLength);

  KivPolygons::share().pickingPoint(theMouseLocation.x, theMouseLocation.y);

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();

  if (start) {
    theStart->update("Start");
  } else {
    // The first frame after start-up shows the cleared screen only.
    start = true;
  }
  // The lock a preference command of this frame took is held until here.
  chart::Preferences::endFrame();

  if (frameCounting_) frameCounter_.draw(clock.now(), window.drawableSize());
  ++framesDrawn_;
}

void OpenGLView::present() { window.present(); }

void OpenGLView::reshape() {
  const platform::Size pixels = window.drawableSize();
  KivPolygons& polygons = KivPolygons::share();
  polygons.setViewFrame({0, 0, double(pixels.width), double(pixels.height)});
  polygons.setViewportRatio(float(pixels.width), float(pixels.height));
}

void OpenGLView::keyDown(const platform::InputEvent& event) {
  if (event.character == platform::kF1Character) frameCounting_ = !frameCounting_;
}

void OpenGLView::toggleFullScreen() { setFullScreen(fullScreenAvailable); }

void OpenGLView::setFullScreen(bool enter) {
  Data& data = Data::share();
  if (fullScreenAvailable && enter) {
    data.startTimeSkip();
    window.setFullScreen(true);
    data.setFullScreen(true);
    KivAlert::share().setFullScreen(true);
    fullScreenAvailable = false;
    data.endTimeSkip();
  } else if (!fullScreenAvailable && !enter) {
    data.startTimeSkip();
    window.setFullScreen(false);
    data.setFullScreen(false);
    KivAlert::share().setFullScreen(false);
    fullScreenAvailable = true;
    window.show();
    data.endTimeSkip();
  }
}

void OpenGLView::takeFrameEvents() {
  platform::Event event;
  while (!quitRequested_ && platform::pollEvent(window, event)) {
    handle(event);
    if (event.type == platform::Event::Type::Input && event.input.isDown()) break;
  }
}

void OpenGLView::waitForEvents(int timeoutMs) {
  platform::Event event;
  if (!platform::waitEvent(window, event, timeoutMs)) return;
  handle(event);
  while (!quitRequested_ && !timerRunning_ && platform::pollEvent(window, event)) handle(event);
}

void OpenGLView::handle(const platform::Event& event) {
  using Type = platform::Event::Type;
  if (event.pointer) theMouseLocation = *event.pointer;
  switch (event.type) {
    case Type::Input:
      theCurrentEvent = event.input;
      if (event.input.kind == platform::InputKind::KeyDown) keyDown(event.input);
      break;
    case Type::Command:
      handleCommand(event.command);
      break;
    case Type::Resized:
      reshape();
      break;
    case Type::FocusLost:
      if (timerRunning_) {
        pause();
        pausedByFocusLoss = true;
      }
      break;
    case Type::FocusGained:
      if (pausedByFocusLoss) {
        pausedByFocusLoss = false;
        pause();
      }
      break;
    case Type::PointerMoved:
    case Type::Ignored:
      break;
  }
}

void OpenGLView::handleCommand(platform::Command command) {
  switch (command) {
    case platform::Command::ToggleFullScreen:
      toggleFullScreen();
      break;
    case platform::Command::TogglePause:
      pausedByFocusLoss = false;
      pause();
      break;
    case platform::Command::Quit:
      quitRequested_ = true;
      break;
  }
}
