// Board reads against a running aloft-board: THREADS clients each ask for a board page
// (GET /api/boards/hard, 50 entries) back to back for SECONDS, then the reads per second and
// the latency's median and 99th percentile are printed.
// Usage: board_reads HOST PORT SECONDS THREADS
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: board_reads HOST PORT SECONDS THREADS\n");
    return 2;
  }
  const std::string host = argv[1];
  const int port = std::stoi(argv[2]);
  const auto duration = std::chrono::duration<double>(std::stod(argv[3]));
  const int threads = std::stoi(argv[4]);
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(threads));
  std::atomic<int> failures{0};
  const auto end = std::chrono::steady_clock::now() + duration;
  std::vector<std::thread> clients;
  for (int t = 0; t < threads; ++t) {
    clients.emplace_back([&, t] {
      httplib::Client client(host, port);
      client.set_keep_alive(true);
      while (std::chrono::steady_clock::now() < end) {
        const auto start = std::chrono::steady_clock::now();
        const auto res = client.Get("/api/boards/hard?per_page=50");
        const auto took = std::chrono::steady_clock::now() - start;
        if (!res || res->status != 200) ++failures;
        latencies[std::size_t(t)].push_back(std::chrono::duration<double, std::milli>(took).count());
      }
    });
  }
  for (std::thread& client : clients) client.join();
  std::vector<double> all;
  for (const auto& some : latencies) all.insert(all.end(), some.begin(), some.end());
  std::sort(all.begin(), all.end());
  if (all.empty()) return 1;
  std::printf("%zu reads in %.0f s: %.0f reads/s, p50 %.2f ms, p99 %.2f ms, %d failed\n",
              all.size(), duration.count(), double(all.size()) / duration.count(),
              all[all.size() / 2], all[all.size() * 99 / 100], failures.load());
  return failures > 0 ? 1 : 0;
}
