#include "board/api_routes.h"

#include <charconv>
#include <chrono>
#include <nlohmann/json.hpp>

#include "board/sha256.h"
#include "board/submission_check.h"
#include "board/time_text.h"
#include "platform/text_fields.h"

namespace board {
namespace {

using nlohmann::json;

constexpr std::int64_t kDefaultPage = 50;
constexpr std::int64_t kLargestPage = 100;

std::int64_t now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void answer(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& reason) {
  answer(res, status, {{"error", reason}});
}

// A token the game makes: 32 to 128 letters, digits, '-' or '_'.
bool isToken(const std::string& token) {
  if (token.size() < 32 || token.size() > 128) return false;
  for (const char c : token) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
  }
  return true;
}

std::string field(const httplib::Request& req, const char* name) {
  return req.has_file(name) ? req.get_file_value(name).content : std::string();
}

// Refuses a run that would wait past a limit, saying when to send it again.
void refuseBusy(httplib::Response& res, int status, const std::string& reason, int retrySeconds) {
  res.set_header("Retry-After", std::to_string(retrySeconds));
  refuse(res, status, reason);
}

void submit(const httplib::Request& req, httplib::Response& res, RunStore& store,
            const WaitingLimits& limits, const std::function<void()>& queued) {
  const std::string replay = field(req, "replay");
  const std::string token = field(req, "token");
  std::string reason;
  if (replay.size() > kMaxReplayBytes) return refuse(res, 413, "the replay is over 2 MiB");
  if (!isToken(token)) return refuse(res, 400, "the token is not 32 to 128 letters or digits");
  const auto name = normaliseName(field(req, "name"), reason);
  if (!name) return refuse(res, 422, reason);
  const auto claim = checkReplay(replay, reason);
  if (!claim) return refuse(res, 422, reason);
  const NewRun run{sha256Hex(replay), *name,        nameKey(*name), sha256Hex(token),
                   claim->mode,       claim->centiseconds, replay};
  const Submitted submitted = store.submit(run, now(), limits);
  if (submitted.outcome == Submitted::Outcome::NameTaken) {
    return refuse(res, 403, "the name \"" + *name + "\" belongs to another player");
  }
  if (submitted.outcome == Submitted::Outcome::SomeoneElses) {
    return refuse(res, 409, "this replay was sent before by another player (run " +
                                std::to_string(submitted.id) + ")");
  }
  if (submitted.outcome == Submitted::Outcome::PlayerBusy) {
    return refuseBusy(res, 429,
                      "\"" + *name + "\" has " + std::to_string(limits.perPlayer) +
                          " runs waiting to be verified; send this one when they are done",
                      30);
  }
  if (submitted.outcome == Submitted::Outcome::BoardBusy) {
    return refuseBusy(res, 503, "the board has " + std::to_string(limits.board) +
                                    " runs waiting to be verified; send it again later",
                      60);
  }
  if (submitted.outcome == Submitted::Outcome::Queued) queued();
  const std::string address = "/api/runs/" + std::to_string(submitted.id);
  res.set_header("Location", address);
  answer(res, 202, {{"id", submitted.id}, {"run", address}});
}

json runJson(const RunInfo& run) {
  json body{{"id", run.id},
            {"name", run.name},
            {"mode", run.mode},
            {"claim", timeText(run.claimCentiseconds)},
            {"state", run.state == "verifying" ? "queued" : run.state},
            {"submitted", dateText(run.submitted)},
            {"replay", "/runs/" + std::to_string(run.id) + ".replay"}};
  if (run.state == "rejected") body["reason"] = run.reason;
  if (run.state == "verified") {
    body["time"] = timeText(run.claimCentiseconds);
    body["verified"] = dateText(run.verifiedAt);
    body["rank"] = run.rank;
    body["best"] = run.best;
  }
  return body;
}

std::int64_t pageParameter(const httplib::Request& req, const char* name, std::int64_t fallback,
                           std::int64_t largest) {
  if (!req.has_param(name)) return fallback;
  const std::string text = req.get_param_value(name);
  std::int64_t value = 0;
  if (!platform::parseWhole(text, value) || value < 1) return 0;
  return std::min(value, largest);
}

void boardPage(const httplib::Request& req, httplib::Response& res, RunStore& store) {
  const std::string mode = req.matches[1];
  const std::int64_t page = pageParameter(req, "page", 1, std::int64_t(1) << 40);
  const std::int64_t perPage = pageParameter(req, "per_page", kDefaultPage, kLargestPage);
  if (page == 0 || perPage == 0) return refuse(res, 400, "page and per_page count from 1");
  json runs = json::array();
  for (const Entry& entry : store.board(mode, (page - 1) * perPage, perPage)) {
    runs.push_back({{"rank", entry.rank},
                    {"name", entry.name},
                    {"time", timeText(entry.centiseconds)},
                    {"date", dateText(entry.date)},
                    {"run", entry.run}});
  }
  answer(res, 200, {{"mode", mode}, {"page", page}, {"per_page", perPage},
                    {"entries", store.entries(mode)}, {"runs", runs}});
}

}  // namespace

void addApiRoutes(httplib::Server& server, RunStore& store, const WaitingLimits& limits,
                  std::function<void()> queued) {
  server.Post("/api/runs", [&store, limits, queued](const httplib::Request& req,
                                                    httplib::Response& res) {
    submit(req, res, store, limits, queued);
  });
  server.Get(R"(/api/runs/(\d{1,18}))", [&store](const httplib::Request& req,
                                                  httplib::Response& res) {
    const auto run = store.run(std::stoll(req.matches[1]));
    if (!run) return refuse(res, 404, "no such run");
    answer(res, 200, runJson(*run));
  });
  server.Get("/api/boards/(hard|easy)", [&store](const httplib::Request& req,
                                                 httplib::Response& res) {
    boardPage(req, res, store);
  });
  server.Get(R"(/runs/(\d{1,18})\.replay)", [&store](const httplib::Request& req,
                                                     httplib::Response& res) {
    const auto replay = store.replay(std::stoll(req.matches[1]));
    if (!replay) return refuse(res, 404, "no such run");
    res.set_header("Content-Disposition",
                   "attachment; filename=\"run-" + std::string(req.matches[1]) + ".replay\"");
    res.set_content(*replay, "text/plain; charset=utf-8");
  });
  server.Get("/health", [&store](const httplib::Request&, httplib::Response& res) {
    answer(res, 200, {{"status", "ok"}, {"waiting", store.waiting()}});
  });
}

}  // namespace board
