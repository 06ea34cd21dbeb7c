#pragma once
// A loopback HTTP stand-in for tests: accepts connections on 127.0.0.1 until
// it is destroyed, records each request (its headers and its announced
// body) and answers it
// with the reply the test chose (or holds the connection without a word).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer {
 public:
  // request -> reply bytes; an empty reply holds the connection open and silent.
  using Responder = std::function<std::string(const std::string& request)>;

  explicit LoopbackServer(Responder responder) : responder_(std::move(responder)) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(fd_, 16);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    for (const int c : held_) ::close(c);
    ::close(fd_);
  }

  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::vector<std::string> requests() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

  static std::string ok(const std::string& body) { return "HTTP/1.0 200 OK\r\n\r\n" + body; }
  // The same reply to every request.
  static Responder always(std::string reply) {
    return [reply = std::move(reply)](const std::string&) { return reply; };
  }
  // Accepts every connection and never answers.
  static Responder silent() { return always(std::string()); }

 private:
  void serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      const int c = accept(fd_, nullptr, nullptr);
      if (c < 0) continue;
      std::string request;
      char buf[1024];
      // Up to the empty line, and the body its Content-Length announces.
      while (request.find("\r\n\r\n") == std::string::npos || request.size() < announcedLength(request)) {
        pollfd q{c, POLLIN, 0};
        if (poll(&q, 1, 2000) <= 0) break;
        const ssize_t n = recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<size_t>(n));
      }
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
      }
      const std::string reply = responder_(request);
      if (reply.empty()) {
        held_.push_back(c);
        continue;
      }
      send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
      ::close(c);
    }
  }

  // The length of the headers and the body a request announces (0 until
  // its headers are complete).
  static size_t announcedLength(const std::string& request) {
    const size_t end = request.find("\r\n\r\n");
    if (end == std::string::npos) return 0;
    const size_t at = request.find("Content-Length: ");
    const size_t body = at < end ? std::stoul(request.substr(at + 16)) : 0;
    return end + 4 + body;
  }

  Responder responder_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> held_;
};
