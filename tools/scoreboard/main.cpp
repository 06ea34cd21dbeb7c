// ovelune-scoreboard: the HTTP score server the game talks to.
//
//   ovelune-scoreboard --listen HOST:PORT --db FILE|postgresql://...
//                      [--submit-limit N] [--read-limit N] [--threads N]
//                      [--listed verified|all] [--verifiers N] [--verify-timeout S]
//                      [--max-queued N]
//   ovelune-scoreboard --version | --help
//
// Every request gets one reply and its connection is closed. SIGTERM or
// SIGINT stop accepting, let the requests in progress finish, and end.
#include <httplib.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "replay_verifier.hpp"
#include "score_service.hpp"
#include "web_board.hpp"

namespace {

struct Options {
  std::string host = "127.0.0.1";
  int port = 4780;
  std::string db = "scoreboard.db";
  BoardOptions board;
  VerifierOptions verifiers;
  int threads = 8;
};

constexpr const char* kUsage =
    "usage: ovelune-scoreboard --listen HOST:PORT --db FILE|postgresql://URI\n"
    "       [--submit-limit PER_MINUTE] [--read-limit PER_MINUTE] [--threads N]   (limit 0: none)\n"
    "       [--listed verified|all] [--verifiers N] [--verify-timeout SECONDS] [--max-queued N]\n"
    "       ovelune-scoreboard --version | --help\n";

[[noreturn]] void usage(const char* why) {
  std::fprintf(stderr, "ovelune-scoreboard: %s\n%s", why, kUsage);
  std::exit(2);
}

void printHelp() {
  std::printf(
      "%s"
      "The score server of Ovelune: the games' best lists and score submissions over HTTP.\n"
      "\n"
      "  --listen HOST:PORT     address to listen on (127.0.0.1:4780; port 0 picks a free one)\n"
      "  --db FILE|URI          SQLite file (scoreboard.db) or postgresql:// database\n"
      "  --submit-limit N       submissions per address and minute (10; 0: no limit)\n"
      "  --read-limit N         list reads per address and minute (120; 0: no limit)\n"
      "  --threads N            requests served at once (8)\n"
      "  --listed verified|all  lists show only runs whose replay was verified (verified),\n"
      "                         or every plain submission (all)\n"
      "  --verifiers N          replays verified at once, each in a process of its own (2)\n"
      "  --verify-timeout S     a check not finished after S seconds is made again (60);\n"
      "                         a check may use half of it, at most 10 s, of processor time\n"
      "  --max-queued N         replays waiting to be verified, at most (500; beyond: 503)\n"
      "  --version              print the version and exit\n"
      "  --help                 print this help and exit\n",
      kUsage);
}

double number(const char* text) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || v < 0) usage("not a number");
  return v;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--version" || arg == "--help") {
      if (arg == "--version")
        std::printf("ovelune-scoreboard %s\n", OVELUNE_VERSION);
      else
        printHelp();
      std::exit(0);
    }
    if (i + 1 >= argc) usage(("missing value for " + arg).c_str());
    const char* value = argv[++i];
    if (arg == "--listen") {
      const std::string v = value;
      const size_t colon = v.rfind(':');
      if (colon == std::string::npos) usage("--listen wants HOST:PORT");
      o.host = v.substr(0, colon);
      if (o.host.size() > 1 && o.host.front() == '[' && o.host.back() == ']')
        o.host = o.host.substr(1, o.host.size() - 2);
      o.port = static_cast<int>(number(v.substr(colon + 1).c_str()));
      if (o.port < 0 || o.port > 65535) usage("port out of range");
    } else if (arg == "--db") {
      o.db = value;
    } else if (arg == "--submit-limit") {
      o.board.limits.submitsPerMinute = number(value);
    } else if (arg == "--read-limit") {
      o.board.limits.readsPerMinute = number(value);
    } else if (arg == "--listed") {
      const std::string v = value;
      if (v != "verified" && v != "all") usage("--listed wants verified or all");
      o.board.listed = v == "all" ? ListingPolicy::all : ListingPolicy::verified;
    } else if (arg == "--verifiers") {
      o.verifiers.workers = static_cast<int>(number(value));
    } else if (arg == "--verify-timeout") {
      o.verifiers.staleSeconds = std::max(1, static_cast<int>(number(value)));
    } else if (arg == "--max-queued") {
      o.board.maxQueued = static_cast<int>(number(value));
    } else if (arg == "--threads") {
      o.threads = std::max(1, static_cast<int>(number(value)));
    } else {
      usage(("unknown option " + arg).c_str());
    }
  }
  return o;
}

// The log never shows the password of a submission.
std::string withoutPassword(std::string target) {
  const size_t at = target.find("password=");
  if (at != std::string::npos) {
    const size_t end = target.find('&', at);
    target.replace(at + 9, (end == std::string::npos ? target.size() : end) - at - 9, "*");
  }
  return target;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse(argc, argv);

  // Signals are taken by one thread with sigwait, blocked everywhere else
  // (the mask is inherited by every thread started after this).
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<ScoreStore> store;
  try {
    store = openScoreStore(options.db);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ovelune-scoreboard: cannot open %s: %s\n", options.db.c_str(), e.what());
    return 1;
  }
  ScoreService service(*store, options.board);
  WebBoard web(*store, options.board);
  // The game, ready to play uploaded runs again; its workers run beside the
  // requests and share the store.
  prepareVerification();
  VerifierPool verifiers(*store, options.verifiers);

  httplib::Server server;
  const size_t threads = static_cast<size_t>(options.threads);
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_keep_alive_max_count(1);  // one reply per connection, then close
  server.set_read_timeout(5, 0);
  server.set_write_timeout(5, 0);
  server.set_payload_max_length(kMaxUploadBytes);
  std::mutex logMutex;
  server.set_logger([&](const httplib::Request& req, const httplib::Response& res) {
    const std::lock_guard<std::mutex> lock(logMutex);
    std::printf("%s %s %s %d\n", req.remote_addr.c_str(), req.method.c_str(), withoutPassword(req.target).c_str(),
                res.status);
    std::fflush(stdout);
  });
  const auto serve = [&](const httplib::Request& req, httplib::Response& res) {
    const BoardRequest request{req.remote_addr, req.method, req.target, req.body};
    std::optional<BoardReply> page = web.handle(request);  // the web board first, then the game's protocol
    const BoardReply r = page ? std::move(*page) : service.handle(request);
    res.status = r.status;
    for (const auto& [name, value] : r.headers) res.set_header(name, value);
    res.set_content(r.body, r.contentType);
  };
  server.Get(".*", serve);
  server.Post(".*", serve);

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(options.host);
    if (port < 0) port = 0;
  } else if (!server.bind_to_port(options.host, port)) {
    port = 0;
  }
  if (port == 0) {
    std::fprintf(stderr, "ovelune-scoreboard: cannot listen on %s:%d\n", options.host.c_str(), options.port);
    return 1;
  }
  std::printf("listening on %s:%d\n", options.host.c_str(), port);
  std::fflush(stdout);

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  server.listen_after_bind();  // returns once stopped and the requests in progress are done
  // A stop that came from elsewhere still has to release the signal thread.
  if (stopper.joinable()) {
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
  }
  std::printf("stopped\n");
  return 0;
}
