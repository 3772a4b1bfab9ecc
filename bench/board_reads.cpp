// Board reads against a running aloft-board: THREADS clients each ask for pages back to back for
// SECONDS, then the reads per second and the latency's median and 99th percentile are printed,
// per page. Each PAGE is LABEL=PATH; the clients go through them in turn, and pages of one label
// are counted together. Without any, the page is the hard board (GET /api/boards/hard, 50
// entries).
// Usage: board_reads HOST PORT SECONDS THREADS [LABEL=PATH...]
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: board_reads HOST PORT SECONDS THREADS [LABEL=PATH...]\n");
    return 2;
  }
  const std::string host = argv[1];
  const int port = std::stoi(argv[2]);
  const auto duration = std::chrono::duration<double>(std::stod(argv[3]));
  const int threads = std::stoi(argv[4]);
  std::vector<std::pair<std::string, std::string>> pages;  // label, path
  for (int at = 5; at < argc; ++at) {
    const std::string page = argv[at];
    const auto equals = page.find('=');
    if (equals == std::string::npos) return 2;
    pages.emplace_back(page.substr(0, equals), page.substr(equals + 1));
  }
  if (pages.empty()) pages.emplace_back("board", "/api/boards/hard?per_page=50");
  using Latencies = std::map<std::string, std::vector<double>>;
  std::vector<Latencies> latencies(static_cast<std::size_t>(threads));
  std::atomic<int> failures{0};
  const auto end = std::chrono::steady_clock::now() + duration;
  std::vector<std::thread> clients;
  for (int t = 0; t < threads; ++t) {
    clients.emplace_back([&, t] {
      httplib::Client client(host, port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      for (std::size_t next = std::size_t(t); std::chrono::steady_clock::now() < end; ++next) {
        const auto& [label, path] = pages[next % pages.size()];
        const auto start = std::chrono::steady_clock::now();
        const auto res = client.Get(path);
        const auto took = std::chrono::steady_clock::now() - start;
        if (!res || res->status != 200) ++failures;
        latencies[std::size_t(t)][label].push_back(
            std::chrono::duration<double, std::milli>(took).count());
      }
    });
  }
  for (std::thread& client : clients) client.join();
  Latencies all;
  for (const auto& some : latencies) {
    for (const auto& [label, times] : some) {
      all[label].insert(all[label].end(), times.begin(), times.end());
    }
  }
  for (auto& [label, times] : all) {
    std::sort(times.begin(), times.end());
    std::printf("%-8s %6zu reads in %.0f s: %.0f reads/s, p50 %.2f ms, p99 %.2f ms\n",
                label.c_str(), times.size(), duration.count(),
                double(times.size()) / duration.count(), times[times.size() / 2],
                times[times.size() * 99 / 100]);
  }
  std::printf("%d failed\n", failures.load());
  return all.empty() || failures > 0 ? 1 : 0;
}
