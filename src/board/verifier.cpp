#include "board/verifier.h"

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

namespace board {
namespace {

// A loaded machine shares its cores: the wall clock allows this many times the CPU time.
constexpr double kWallTimePerCpuTime = 4;
constexpr std::size_t kMaxOutputBytes = std::size_t(1) << 20;

std::string firstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  return line.size() > 300 ? line.substr(0, 300) : line;
}

// "aloft: /tmp/x/run.replay:4: what" -> "line 4: what"
std::string withoutPath(std::string message, const std::string& path) {
  const std::string prefix = "aloft: " + path + ":";
  if (message.rfind(prefix, 0) == 0) return "line " + message.substr(prefix.size());
  if (message.rfind("aloft: ", 0) == 0) return message.substr(7);
  return message;
}

std::optional<int> centiseconds(const std::string& time) {
  int minutes = 0, seconds = 0, hundredths = 0;
  char colon = 0, dot = 0;
  std::istringstream in(time);
  if (!(in >> minutes >> colon >> seconds >> dot >> hundredths) || colon != ':' || dot != '.') {
    return std::nullopt;
  }
  return (minutes * 60 + seconds) * 100 + hundredths;
}

// The verdict line of a verified run: "MODE MM:SS.CC verified".
std::optional<int> verifiedTime(const std::string& out, const std::string& mode) {
  std::istringstream in(firstLine(out));
  std::string said, time, word;
  if (!(in >> said >> time >> word) || said != mode || word != "verified") return std::nullopt;
  return centiseconds(time);
}

// What the game wrote to `path`, at most `limit` bytes; the file is removed.
std::string takeOutput(const std::string& path, std::size_t limit) {
  std::ifstream file(path, std::ios::binary);
  std::string text(limit, '\0');
  file.read(text.data(), std::streamsize(limit));
  text.resize(std::size_t(file.gcount()));
  std::filesystem::remove(path);
  return text;
}

Verdict ended(Verdict::Kind kind, std::string reason) {
  Verdict verdict;
  verdict.kind = kind;
  verdict.reason = std::move(reason);
  return verdict;
}
Verdict rejected(std::string reason) { return ended(Verdict::Kind::Rejected, std::move(reason)); }
Verdict unavailable(std::string reason) {
  return ended(Verdict::Kind::Unavailable, std::move(reason));
}

}  // namespace

Verifier::Verifier(VerifierSettings verifierSettings, std::string scratchFolder)
    : settings(std::move(verifierSettings)), scratch(std::move(scratchFolder)) {}

double Verifier::cpuLimit(int claimCentiseconds) const {
  return settings.cpuSeconds + settings.secondsPerGameSecond * claimCentiseconds / 100.0;
}

double Verifier::timeLimit(int claimCentiseconds) const {
  return kWallTimePerCpuTime * cpuLimit(claimCentiseconds);
}

Verdict Verifier::verify(const std::string& replay, int claimCentiseconds,
                         const std::string& mode, const std::atomic<bool>& stop) const {
  std::ostringstream name;
  name << scratch << "/run-" << std::this_thread::get_id() << ".replay";
  const std::string path = name.str();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << replay;
    if (!file.flush()) return unavailable("cannot write " + path);
  }
  std::filesystem::permissions(path, std::filesystem::perms(0644));
  std::vector<std::string> argv{settings.game, "--verify", path};
  if (!settings.resources.empty()) {
    argv.insert(argv.end(), {"--resources", settings.resources});
  }
  // What the pictures of the run are made of, in files the game (maybe another user) may write.
  const std::string flight = path + ".flight", counts = path + ".counts";
  if (platform::makeChildOutputFile(flight) && platform::makeChildOutputFile(counts)) {
    argv.insert(argv.end(), {"--flight", flight, "--count-nodes", counts});
  }
  platform::ProcessLimits limits;
  limits.cpuSeconds = int(std::ceil(cpuLimit(claimCentiseconds)));
  limits.wallSeconds = timeLimit(claimCentiseconds);
  limits.memoryBytes = settings.memoryBytes;
  std::vector<std::string> environment{"PATH=/usr/bin:/bin", "HOME=" + scratch,
                                       "MESA_SHADER_CACHE_DISABLE=true"};
  // A sanitized build's settings reach the sanitized game.
  for (const char* variable : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = std::getenv(variable)) {
      environment.push_back(variable + ("=" + std::string(value)));
    }
  }
  const platform::ProcessOutcome outcome = platform::runLimited(argv, environment, limits, stop);
  std::filesystem::remove(path);
  // The game's files are at most 1 MiB each (its file size limit).
  Verdict verified = ended(Verdict::Kind::Verified, {});
  verified.flight = takeOutput(flight, kMaxOutputBytes);
  verified.counts = takeOutput(counts, kMaxOutputBytes);

  using End = platform::ProcessOutcome::End;
  switch (outcome.end) {
    case End::StartFailed: return unavailable("the verifier did not start");
    case End::Stopped: return unavailable("the server is stopping");
    case End::WallTimeout: return rejected("the verifier's time limit was reached");
    case End::Signalled:
      return rejected(outcome.code == SIGXCPU || outcome.code == SIGKILL
                          ? "the verifier's CPU time limit was reached"
                          : "the verifier crashed or ran out of memory (signal " +
                                std::to_string(outcome.code) + ")");
    case End::Exited: break;
  }
  if (outcome.code == 126 || outcome.code == 127) {
    return unavailable("the verifier could not be run (" + settings.game + ")");
  }
  if (outcome.code == 0) {
    const auto time = verifiedTime(outcome.out, mode);
    if (time && *time == claimCentiseconds) {
      verified.centiseconds = *time;
      return verified;
    }
    return rejected("the verifier's answer does not match the claim: " + firstLine(outcome.out));
  }
  if (outcome.code == 1) return rejected(firstLine(outcome.out));
  const std::string message = withoutPath(firstLine(outcome.err), path);
  if (message.find("other resource files") != std::string::npos ||
      message.find("format version") != std::string::npos) {
    return rejected("made for another version: " + message);
  }
  return rejected("refused: " + message);
}

std::vector<Picture> Verifier::pictures(const Verdict& verdict,
                                        const std::atomic<bool>& stop) const {
  std::vector<Picture> made = flightPictures(verdict.flight);
  if (!verdict.counts.empty()) {
    std::string chart = chartPicture(settings.game, verdict.counts, scratch, settings.memoryBytes, stop);
    if (!chart.empty()) made.push_back({"charts.svg", kChartPictureAlt, std::move(chart)});
  }
  return made;
}

}  // namespace board
