#include "board/web_pages.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "board/sha256.h"
#include "board/submission_check.h"
#include "board/svg_plot.h"
#include "board/time_text.h"

namespace board {
namespace {

constexpr std::int64_t kTopCount = 50;
constexpr std::int64_t kNewestCount = 10;
constexpr std::int64_t kPlayerRunCount = 200;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:0 auto;max-width:70rem;padding:0 1rem;line-height:1.4}"
    ".modes{display:flex;flex-wrap:wrap;gap:2rem}.modes section{flex:1 1 20rem;min-width:0}"
    "table{border-collapse:collapse;width:100%}th,td{text-align:left;padding:.2rem .4rem;"
    "border-bottom:1px solid #ccc;white-space:nowrap}td.name{white-space:normal;"
    "overflow-wrap:anywhere;width:100%}td.n{text-align:right}"
    "code{overflow-wrap:anywhere}a:focus{outline:2px solid #06c}"
    ".pictures{display:flex;flex-wrap:wrap;gap:1rem}figure{margin:0;max-width:100%}"
    "img,svg{max-width:100%;height:auto}figure.chart img{width:100%}";

std::string page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\"><title>" +
         escapeHtml(title) + "</title><style>" + kStyle + "</style></head><body>" + body +
         "<footer><p><a href=\"/\">The board</a></p></footer></body></html>";
}

std::string runLink(std::int64_t id, const std::string& text) {
  return "<a href=\"/runs/" + std::to_string(id) + "\">" + text + "</a>";
}

// Every byte but letters, digits and "-._~" as %XX.
std::string percentEncoded(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      out += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return out;
}

// The name isolated in <bdi>: a right-to-left mark or override in it turns no text around it.
std::string playerLink(const std::string& name) {
  return "<a href=\"/players/" + percentEncoded(name) + "\"><bdi>" + escapeHtml(name) +
         "</bdi></a>";
}

std::string nameCell(const std::string& name) {
  return "<td class=\"name\">" + playerLink(name) + "</td>";
}

constexpr const char* kNoRuns = "<tr><td colspan=\"5\">No runs yet.</td></tr>";

std::string boardTable(RunStore& store, const std::string& mode) {
  std::string html = "<section><h2>" + std::string(mode == "hard" ? "Hard" : "Easy") +
                     "</h2><table><caption>The " + std::to_string(kTopCount) + " longest " +
                     mode + " runs</caption><thead><tr><th scope=\"col\">Rank</th>"
                     "<th scope=\"col\">Name</th><th scope=\"col\">Time</th>"
                     "<th scope=\"col\">Date</th></tr></thead><tbody>";
  const auto entries = store.board(mode, 0, kTopCount);
  for (const Entry& entry : entries) {
    html += "<tr><td class=\"n\">" + std::to_string(entry.rank) + "</td>" + nameCell(entry.name) +
            "<td>" + runLink(entry.run, timeText(entry.centiseconds)) + "</td><td>" +
            dateText(entry.date).substr(0, 10) + "</td></tr>";
  }
  return html + (entries.empty() ? kNoRuns : "") + "</tbody></table></section>";
}

std::string runsTable(const std::vector<RunInfo>& runs, const std::string& caption) {
  std::string html = "<table><caption>" + caption + "</caption><thead><tr>"
                     "<th scope=\"col\">Run</th><th scope=\"col\">Name</th>"
                     "<th scope=\"col\">Mode</th><th scope=\"col\">Time</th>"
                     "<th scope=\"col\">State</th></tr></thead><tbody>";
  for (const RunInfo& run : runs) {
    html += "<tr><td>" + runLink(run.id, std::to_string(run.id)) + "</td>" + nameCell(run.name) +
            "<td>" + run.mode + "</td><td>" + timeText(run.claimCentiseconds) + "</td><td>" +
            (run.state == "verifying" ? "queued" : run.state) + "</td></tr>";
  }
  return html + (runs.empty() ? kNoRuns : "") + "</tbody></table>";
}

std::string homePage(RunStore& store, const httplib::Request& req) {
  const std::string host = escapeHtml(req.get_header_value("Host"));
  return page("aloft board",
              "<header><h1>aloft board</h1><p>Every run listed here was replayed by the board "
              "with the game itself and reached the time it claims.</p></header><main>"
              "<div class=\"modes\">" + boardTable(store, "hard") + boardTable(store, "easy") +
              "</div><h2>Newest verified runs</h2>" +
              runsTable(store.newestVerified(kNewestCount), "The newest verified runs") +
              "<h2>Send your best run</h2><p><code>aloft --submit hard --server http://" + host +
              " --name YOUR-NAME</code></p></main>");
}

// The run's flight and chart pictures, each an image at its stable address with its text
// alternative, or why there are none.
std::string runPictures(const RunInfo& run, const std::vector<Picture>& pictures) {
  const std::string base = "/runs/" + std::to_string(run.id) + "/";
  const auto figure = [&](const std::string& name, const char* caption, const char* kind) {
    for (const Picture& picture : pictures) {
      if (picture.name != name) continue;
      return "<figure class=\"" + std::string(kind) + "\"><a href=\"" + base + name +
             "\"><img src=\"" + base + name + "\" alt=\"" + escapeHtml(picture.alt) + "\"" +
             (std::string(kind) == "flight" ? " width=\"480\" height=\"300\"" : "") +
             "></a><figcaption>" + caption + "</figcaption></figure>";
    }
    return std::string();
  };
  const std::string flight = figure("height.svg", "Height over time", "flight") +
                             figure("track.svg", "Track seen from above", "flight");
  const std::string charts = figure("charts.svg", "The Game chart, coloured by this run", "chart");
  const std::string none = run.state == "verified"
                               ? "<p>No picture was made of this part of the run.</p>"
                               : "<p>Drawn when the run is verified.</p>";
  return "<h2>Its flight</h2>" +
         (flight.empty() ? none : "<div class=\"pictures\">" + flight + "</div>") +
         "<h2>The charts it went through</h2>" + (charts.empty() ? none : charts);
}

std::string runPage(const RunInfo& run, const std::vector<Picture>& pictures) {
  const std::string id = std::to_string(run.id);
  std::string state = run.state == "verifying" ? "queued" : run.state;
  if (run.state == "rejected") state += ": " + escapeHtml(run.reason);
  if (run.state == "verified") {
    state += run.best ? ", rank " + std::to_string(run.rank) : ", not the player's best";
  }
  return page("Run " + id + " of " + run.name,
              "<header><h1>Run " + id + "</h1></header><main><table><caption>The run"
              "</caption><tbody><tr><th scope=\"row\">Player</th><td>" + playerLink(run.name) +
              "</td></tr><tr><th scope=\"row\">Mode</th><td>" + run.mode +
              "</td></tr><tr><th scope=\"row\">Time</th><td>" + timeText(run.claimCentiseconds) +
              "</td></tr><tr><th scope=\"row\">Sent</th><td>" + dateText(run.submitted) +
              "</td></tr><tr><th scope=\"row\">State</th><td>" + state + "</td></tr></tbody>"
              "</table>" + runPictures(run, pictures) + "<h2>Watch it</h2><p><a href=\"/runs/" +
              id + ".replay\" download>"
              "Download the replay</a>, then <code>aloft --replay run-" + id +
              ".replay</code></p></main>");
}

// Answers with `body` under the ETag made of `digest`, or 304 when the client holds it.
void answer(const httplib::Request& req, httplib::Response& res, const std::string& body,
            const std::string& digest, const char* type) {
  const std::string tag = "\"" + digest + "\"";
  res.set_header("ETag", tag);
  res.set_header("Cache-Control", "no-cache");
  if (req.get_header_value("If-None-Match") == tag) {
    res.status = 304;
    return;
  }
  res.set_content(body, type);
}

void answer(const httplib::Request& req, httplib::Response& res, const std::string& html) {
  answer(req, res, html, sha256Hex(html).substr(0, 32), "text/html; charset=utf-8");
}

// The player's best time in each mode over the days, as an SVG plot inside the page.
std::string bestTimesPlot(const std::vector<DayBest>& days) {
  if (days.empty()) return "<p>No verified run yet: no best time to draw.</p>";
  Plot plot{"Best time over the days",
            "Their best verified time in each mode, at the end of each day that had a verified "
            "run, from the first such day to the last.",
            {"day", double(days.front().day), double(days.front().day),
             [](double day) { return dateText(std::int64_t(day) * 86400).substr(5, 5); }, false,
             1},
            {"best time", 0, 0,
             [](double seconds) { return timeText(int(seconds * 100 + 0.5)); }},
            {}};
  for (const char* mode : {"hard", "easy"}) {
    PlotSeries series{mode, std::string(mode) == "hard" ? "#c50" : "#06c", {}, true};
    for (const DayBest& day : days) {
      if (day.mode != mode) continue;
      series.points.emplace_back(double(day.day), day.centiseconds / 100.0);
      plot.x.from = std::min(plot.x.from, double(day.day));
      plot.x.to = std::max(plot.x.to, double(day.day));
      plot.y.to = std::max(plot.y.to, day.centiseconds / 100.0);
    }
    if (!series.points.empty()) plot.series.push_back(std::move(series));
  }
  if (plot.x.to - plot.x.from < 2) {  // a day or two: one on each side
    plot.x.from -= 1;
    plot.x.to += 1;
  }
  plot.y.to *= 1.1;
  plot.legend = true;
  for (const PlotSeries& series : plot.series) {  // the text alternative: each mode's last best
    plot.description += " Now " + series.label + " " +
                        timeText(int(series.points.back().second * 100 + 0.5)) + ".";
  }
  return "<figure>" + svgPlot(plot) + "</figure>";
}

void notFound(httplib::Response& res, const std::string& what) {
  res.status = 404;
  res.set_content(page("Not found", "<main><h1>Not found</h1><p>" + escapeHtml(what) +
                                        "</p></main>"),
                  "text/html; charset=utf-8");
}

}  // namespace

std::string escapeHtml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

void addWebPages(httplib::Server& server, RunStore& store) {
  server.Get("/", [&store](const httplib::Request& req, httplib::Response& res) {
    answer(req, res, homePage(store, req));
  });
  server.Get(R"(/runs/(\d{1,18}))", [&store](const httplib::Request& req,
                                              httplib::Response& res) {
    const auto run = store.run(std::stoll(req.matches[1]));
    if (!run) return notFound(res, "There is no run " + std::string(req.matches[1]) + ".");
    answer(req, res, runPage(*run, store.pictures(run->id)));
  });
  server.Get(R"(/runs/(\d{1,18})/((height|track|charts)\.svg))",
             [&store](const httplib::Request& req, httplib::Response& res) {
               const auto picture = store.picture(std::stoll(req.matches[1]), req.matches[2]);
               if (!picture) return notFound(res, "There is no such picture.");
               // Only drawing: nothing in it may run or fetch.
               res.set_header("Content-Security-Policy",
                              "default-src 'none'; style-src 'unsafe-inline'");
               answer(req, res, picture->svg, picture->tag, "image/svg+xml");
             });
  server.Get("/players/(.{1,400})", [&store](const httplib::Request& req,
                                             httplib::Response& res) {
    std::string reason;
    const auto name = normaliseName(std::string(req.matches[1]), reason);
    const auto runs = name ? store.playerRuns(nameKey(*name), kPlayerRunCount)
                           : std::vector<RunInfo>{};
    if (runs.empty()) return notFound(res, "No runs of that name.");
    answer(req, res, page(runs.front().name + " on the aloft board",
                          "<header><h1><bdi>" + escapeHtml(runs.front().name) +
                              "</bdi></h1></header><main><h2>Best time over the days</h2>" +
                              bestTimesPlot(store.bestByDay(nameKey(*name))) +
                              "<h2>Their runs</h2>" +
                              runsTable(runs, "Their runs, newest first") + "</main>"));
  });
}

}  // namespace board
