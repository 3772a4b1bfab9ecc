// Sound: decoding time per second of stereo 44.1 kHz AAC, and the audio callback's mixing cost
// per buffer with 2 and with 8 sounds playing, with the heap allocations it makes (none).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "counting_new.h"
#include "engine/kiv_audio.h"
#include "engine/mixer.h"
#include "platform/sound_file.h"

namespace {

constexpr double kDecodedSeconds = 10;

// A 10-second stereo tone at 44.1 kHz, encoded once per run with the ffmpeg tool.
const std::string& stereoFile() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "aloft-bench-stereo.m4a").string();
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "'aevalsrc=0.5*sin(2*PI*440*t)|0.5*sin(2*PI*660*t):s=44100:d=10' -c:a aac -b:a 192k '" +
        file + "'";
    if (std::system(command.c_str()) != 0) std::abort();
    return file;
  }();
  return path;
}

void DecodeStereo(benchmark::State& state) {
  const platform::PcmFormat format{engine::KivAudio::kFormat.sampleRate,
                                   engine::KivAudio::kFormat.channels};
  for (auto _ : state) {
    auto pcm = platform::decodeSoundFile(stereoFile(), format);
    if (!pcm) state.SkipWithError("the file did not decode");
    benchmark::DoNotOptimize(pcm);
  }
  state.counters["s_per_audio_s"] = benchmark::Counter(
      kDecodedSeconds * double(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(DecodeStereo)->Unit(benchmark::kMillisecond);

void MixBuffer(benchmark::State& state) {
  constexpr int channels = engine::KivAudio::kFormat.channels;
  constexpr int frames = engine::KivAudio::kFormat.bufferFrames;
  const int sounds = int(state.range(0));
  // Clips of different lengths, so that loop points fall inside buffers.
  std::vector<std::vector<float>> clips;
  for (int i = 0; i < sounds; ++i) {
    clips.emplace_back(std::size_t((44100 + 777 * i) * channels), 0.01f * float(i + 1));
  }
  Mixer mixer(channels);
  for (const auto& clip : clips) {
    mixer.start({clip.data(), std::int64_t(clip.size() / channels)}, 0, true);
  }
  std::vector<float> out(std::size_t(frames * channels));

  const long before = heapAllocations();
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0f);
    mixer.render(out.data(), frames);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["allocations"] = double(heapAllocations() - before);
}
BENCHMARK(MixBuffer)->Arg(2)->Arg(8);

}  // namespace

BENCHMARK_MAIN();
