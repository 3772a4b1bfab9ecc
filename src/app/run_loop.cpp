#include "app/run_loop.h"

#include "app/screenshot.h"
#include "chart/data.h"
#include "engine/kiv_alert.h"

namespace {

// While paused the loop only waits for events; this bounds each wait.
constexpr int kPausedWaitMs = 100;

void writeLastFrame(const std::string& path, const platform::Window& window) {
  std::string error;
  if (!writeScreenshot(path, window.drawableSize(), error)) {
    engine::KivAlert::share().setQuitAlert(error);
  }
}

}  // namespace

void runFrames(OpenGLView& view, platform::Window& window, platform::Clock& clock,
               const RunSettings& settings) {
  while (!view.quitRequested()) {
    if (!view.timerRunning() || (settings.replay && settings.replay->finished())) {
      view.waitForEvents(kPausedWaitMs);
      continue;
    }
    clock.waitForNextTick();
    const std::int64_t frame = view.framesDrawn() + 1;
    if (settings.script) {
      if (std::string problem = settings.script->deliver(frame); !problem.empty()) {
        engine::KivAlert::share().setQuitAlert(problem);
      }
    }
    view.takeFrameEvents();
    if (view.quitRequested()) break;
    if (!view.timerRunning()) continue;

    view.renderFrame();
    if (settings.flight) {
      settings.flight->afterFrame(view.rootChart().chart(), chart::Data::share().timeSegment());
    }
    const bool replayEnded = settings.replay && settings.replay->finished();
    const bool last = (settings.frameLimit && frame >= *settings.frameLimit) ||
                      (replayEnded && !settings.holdAfterReplay);
    if (last && !settings.screenshotPath.empty()) writeLastFrame(settings.screenshotPath, window);
    view.present();
    if (last) break;
    if (replayEnded) view.holdLastFrame();
  }
}
