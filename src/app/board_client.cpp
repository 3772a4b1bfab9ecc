#include "app/board_client.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <thread>

#include "app/best_times.h"
#include "app/session_recorder.h"
#include "chart/preferences.h"
#include "platform/http_client.h"
#include "platform/private_file.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* kServerKey = "Board server";
constexpr std::uintmax_t kLargestReplay = std::uintmax_t(2) << 20;  // the board's own limit
constexpr long kRequestSeconds = 30;
constexpr auto kVerdictWait = std::chrono::minutes(15);
constexpr auto kPollInterval = std::chrono::milliseconds(300);
constexpr int kTopCount = 10;

struct Failure {
  int status;
  std::string message;
};

// The server given now (kept for next time), else the one kept.
std::string serverAddress(const BoardCommand& command, const std::string& preferenceFile) {
  std::string server = command.server;
  while (!server.empty() && server.back() == '/') server.pop_back();
  if (!server.empty() && server.rfind("http://", 0) != 0 && server.rfind("https://", 0) != 0) {
    throw Failure{kBoardFailed, "--server takes an address such as http://localhost:8080"};
  }
  chart::Preferences preferences(preferenceFile);
  if (server.empty()) {
    const json* kept = preferences.find(kServerKey);
    if (kept == nullptr || !kept->is_string()) {
      throw Failure{kBoardFailed, "no board server: give one with --server URL"};
    }
    return kept->get<std::string>();
  }
  const json* kept = preferences.find(kServerKey);
  if (kept == nullptr || *kept != server) preferences.save(kServerKey, json(server));
  return server;
}

// The player's secret, made once: 43 characters of 6 random bits each.
std::string playerToken(const std::string& preferenceFile) {
  const fs::path path = fs::path(preferenceFile).parent_path() / "board-token";
  std::ifstream kept(path);
  std::string token;
  if (kept >> token && token.size() >= 32) return token;
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::random_device random;
  token.clear();
  for (int i = 0; i < 43; ++i) token += kAlphabet[random() % 64];
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  if (const int error = platform::createPrivateFile(path.string(), token + "\n")) {
    throw Failure{kBoardFailed, "cannot keep the player token in " + path.string() + ": " +
                                    std::strerror(error)};
  }
  return token;
}

std::string readReplay(const BoardCommand& command, const std::string& preferenceFile) {
  const bool kept = command.submit == "hard" || command.submit == "easy";
  const std::string path = kept ? bestReplayPath(preferenceFile, command.submit) : command.submit;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    throw Failure{kBoardFailed, kept ? "no kept best run of " + command.submit + " (" + path + ")"
                                     : path + " is not a replay file"};
  }
  if (fs::file_size(path, error) > kLargestReplay) {
    throw Failure{kBoardFailed, path + " is over 2 MiB: not a replay a board takes"};
  }
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  if (!file) throw Failure{kBoardFailed, "cannot read " + path};
  return contents.str();
}

json request(const std::string& url, const std::vector<platform::FormField>& form,
             long& status) {
  std::string error;
  const auto response = platform::httpRequest(url, form, kRequestSeconds, error);
  if (!response) throw Failure{kBoardFailed, "no answer from the board: " + error};
  status = response->status;
  json body = json::parse(response->body, nullptr, false);
  if (!body.is_object()) {
    throw Failure{kBoardFailed, "the board answered " + std::to_string(status) +
                                    " with something that is not a board's answer"};
  }
  return body;
}

std::string text(const json& body, const char* key) {
  const auto found = body.find(key);
  return found != body.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// Text from the server as shown in the terminal: control characters replaced.
std::string shown(std::string value) {
  for (char& c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return value;
}

int submit(const BoardCommand& command, const std::string& preferenceFile, std::ostream& out) {
  if (command.name.empty()) throw Failure{kBoardFailed, "--submit needs --name NAME"};
  const std::string replay = readReplay(command, preferenceFile);
  const std::string server = serverAddress(command, preferenceFile);
  long status = 0;
  const json sent = request(server + "/api/runs",
                            {{"replay", replay, true},
                             {"name", command.name, false},
                             {"token", playerToken(preferenceFile), false}},
                            status);
  if (status != 202) {
    const int exit = status >= 400 && status < 500 ? kBoardRejected : kBoardFailed;
    throw Failure{exit, "refused by the board: " + shown(text(sent, "error"))};
  }
  const std::string run = server + text(sent, "run");
  const auto deadline = std::chrono::steady_clock::now() + kVerdictWait;
  while (std::chrono::steady_clock::now() < deadline) {
    const json verdict = request(run, {}, status);
    const std::string state = text(verdict, "state");
    const std::string what = text(verdict, "mode") + " " + text(verdict, "claim");
    if (state == "verified") {
      out << shown(what) << " verified: rank " << verdict.value("rank", 0) << " on " << server
          << (verdict.value("best", false) ? "" : " (the rank of your better run)") << '\n';
      return kBoardVerified;
    }
    if (state == "rejected") {
      out << shown(what) << " rejected: " << shown(text(verdict, "reason")) << '\n';
      return kBoardRejected;
    }
    if (state != "queued") throw Failure{kBoardFailed, "the board lost the run: " + run};
    std::this_thread::sleep_for(kPollInterval);
  }
  throw Failure{kBoardFailed, "no verdict within 15 minutes; the run is at " + run};
}

int printBoard(const BoardCommand& command, const std::string& preferenceFile, std::ostream& out) {
  const std::string server = serverAddress(command, preferenceFile);
  long status = 0;
  const json page = request(
      server + "/api/boards/" + command.board + "?per_page=" + std::to_string(kTopCount), {},
      status);
  if (status != 200 || !page.contains("runs") || !page["runs"].is_array()) {
    throw Failure{kBoardFailed, "the board answered " + std::to_string(status)};
  }
  for (const json& entry : page["runs"]) {
    char rank[16];
    std::snprintf(rank, sizeof rank, "%3d", entry.value("rank", 0));
    out << rank << "  " << shown(text(entry, "time")) << "  " << shown(text(entry, "date")).substr(0, 10)
        << "  " << shown(text(entry, "name")) << '\n';
  }
  out << command.board << ": " << page.value("entries", 0) << " players on " << server << '\n';
  return kBoardVerified;
}

}  // namespace

int runBoardCommand(const BoardCommand& command, const std::string& preferenceFile,
                    std::ostream& out, std::ostream& err) {
  try {
    if (!command.board.empty() && !command.submit.empty()) {
      throw Failure{kBoardFailed, "--submit and --board: one at a time"};
    }
    return command.board.empty() ? submit(command, preferenceFile, out)
                                 : printBoard(command, preferenceFile, out);
  } catch (const Failure& failure) {
    err << "aloft: " << failure.message << '\n';
    return failure.status;
  }
}
