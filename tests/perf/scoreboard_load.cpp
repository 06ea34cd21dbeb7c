// A bounded load on a running scoreboard: N clients for S seconds, each
// reading lists and now and then submitting a score under a name of its own,
// one connection per request as the game makes them. Prints the figures as
// `name: value` lines, with the number of submissions acknowledged so the
// caller can count them in the store.
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct ClientFigures {
  std::vector<double> latenciesMs;
  long answered = 0, unanswered = 0, submitted = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string host = "127.0.0.1";
  int port = 0, clients = 50, seconds = 10;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--port") port = std::atoi(argv[i + 1]);
    if (arg == "--clients") clients = std::max(1, std::atoi(argv[i + 1]));
    if (arg == "--seconds") seconds = std::max(1, std::atoi(argv[i + 1]));
  }
  if (port <= 0) {
    std::fprintf(stderr, "usage: ovelune-scoreboard-load --port PORT [--clients N] [--seconds S]\n");
    return 2;
  }

  const auto end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<ClientFigures> figures(static_cast<size_t>(clients));
  std::vector<std::thread> threads;
  const auto started = Clock::now();
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      ClientFigures& f = figures[static_cast<size_t>(c)];
      for (long n = 0; Clock::now() < end; ++n) {
        std::string path = "/members/pellmore/uws" + std::to_string(1 + n % 6) + ".php";
        const bool submit = n % 5 == 0;
        if (submit)
          path +=
              "?password=vorta7&name=c" + std::to_string(c) + "n" + std::to_string(n) + "&score=" + std::to_string(n);
        httplib::Client client(host, port);
        client.set_connection_timeout(5, 0);
        client.set_read_timeout(5, 0);
        const auto t0 = Clock::now();
        const auto res = client.Get(path.c_str());
        f.latenciesMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (res && res->status == 200) {
          ++f.answered;
          if (submit) ++f.submitted;
        } else {
          ++f.unanswered;
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();

  std::vector<double> all;
  long answered = 0, unanswered = 0, submitted = 0;
  for (const ClientFigures& f : figures) {
    all.insert(all.end(), f.latenciesMs.begin(), f.latenciesMs.end());
    answered += f.answered;
    unanswered += f.unanswered;
    submitted += f.submitted;
  }
  std::sort(all.begin(), all.end());
  auto percentile = [&](double p) {
    return all.empty() ? 0.0 : all[std::min(all.size() - 1, static_cast<size_t>(p * all.size()))];
  };
  std::printf("scoreboard_load_clients: %d\n", clients);
  std::printf("scoreboard_load_seconds: %.1f\n", elapsed);
  std::printf("scoreboard_load_requests_per_s: %.0f\n", static_cast<double>(answered + unanswered) / elapsed);
  std::printf("scoreboard_load_p50_ms: %.2f\n", percentile(0.50));
  std::printf("scoreboard_load_p99_ms: %.2f\n", percentile(0.99));
  std::printf("scoreboard_load_unanswered: %ld\n", unanswered);
  std::printf("scoreboard_load_submissions_acknowledged: %ld\n", submitted);
  return unanswered == 0 ? 0 : 1;
}
