#include "platform/net/tcp_client.hpp"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace pf {
namespace {

using Clock = std::chrono::steady_clock;

int socketError(int fd) {
  int err = 0;
  socklen_t len = sizeof err;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
  return err;
}

// CR or LF in a request field would let it smuggle in extra header lines.
bool hasControlCharacters(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

// "HTTP/1.0 200 OK" and the like.
bool successStatus(const std::string& line) {
  if (line.rfind("HTTP/", 0) != 0) return false;
  const size_t space = line.find(' ');
  return space != std::string::npos && line.size() >= space + 4 && line[space + 1] == '2' &&
         std::isdigit(static_cast<unsigned char>(line[space + 2])) != 0 &&
         std::isdigit(static_cast<unsigned char>(line[space + 3])) != 0;
}

}  // namespace

bool TcpClient::waitFor(int fd, short events) const {
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, static_cast<int>(std::min<long long>(left, 60'000)));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool TcpClient::connect(const std::string& host, int port, int timeoutMs) {
  close();
  deadline_ = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  if (host.empty() || port <= 0 || port > 65535) return false;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* addresses = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) return false;
  for (const addrinfo* a = addresses; a != nullptr && fd_ < 0; a = a->ai_next) {
    const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    const bool connected = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0 ||
                           (errno == EINPROGRESS && waitFor(fd, POLLOUT) && socketError(fd) == 0);
    if (connected) {
      fd_ = fd;
    } else {
      ::close(fd);
    }
  }
  freeaddrinfo(addresses);
  return fd_ >= 0;
}

bool TcpClient::sendAll(const std::string& data) {
  size_t sent = 0;
  while (fd_ >= 0 && sent < data.size()) {
    // MSG_NOSIGNAL: a peer that hung up must not kill the program with SIGPIPE.
    const ssize_t n = send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!waitFor(fd_, POLLOUT)) return false;
    } else {
      return false;
    }
  }
  return fd_ >= 0;
}

bool TcpClient::receiveMore() {
  if (fd_ < 0 || received_ > replyCap_) return false;
  buffer_.erase(0, readPos_);
  readPos_ = 0;
  char chunk[4096];
  while (true) {
    const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
      received_ += static_cast<size_t>(n);
      if (received_ > replyCap_) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
      return true;
    }
    if (n == 0) {
      peerClosed_ = true;
      return true;
    }
    if (errno == EINTR) continue;
    if ((errno != EAGAIN && errno != EWOULDBLOCK) || !waitFor(fd_, POLLIN)) return false;
  }
}

TcpClient::Read TcpClient::readLine(std::string* line) {
  while (true) {
    const size_t lf = buffer_.find('\n', readPos_);
    if (lf != std::string::npos) {
      line->assign(buffer_, readPos_, lf - readPos_);
      readPos_ = lf + 1;
      if (!line->empty() && line->back() == '\r') line->pop_back();
      return Read::Line;
    }
    if (peerClosed_) {
      if (readPos_ >= buffer_.size()) return Read::End;
      line->assign(buffer_, readPos_, std::string::npos);
      readPos_ = buffer_.size();
      if (!line->empty() && line->back() == '\r') line->pop_back();
      return Read::Line;
    }
    if (!receiveMore()) return Read::Failed;
  }
}

void TcpClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
  readPos_ = 0;
  received_ = 0;
  peerClosed_ = false;
}

namespace {

bool fetch(const std::string& host, int port, const std::string& pathAndQuery, std::vector<std::string>* bodyLines,
           int timeoutMs) {
  if (hasControlCharacters(host) || hasControlCharacters(pathAndQuery)) return false;
  TcpClient client;
  if (!client.connect(host, port, timeoutMs)) return false;
  if (!client.sendAll("GET " + pathAndQuery + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" + "\r\n")) return false;

  std::string line;
  if (client.readLine(&line) != TcpClient::Read::Line || !successStatus(line)) return false;
  do {
    if (client.readLine(&line) != TcpClient::Read::Line) return false;  // the headers never ended
  } while (!line.empty());

  std::vector<std::string> body;
  TcpClient::Read r;
  while ((r = client.readLine(&line)) == TcpClient::Read::Line) body.push_back(line);
  if (r != TcpClient::Read::End) return false;
  if (bodyLines != nullptr) *bodyLines = std::move(body);
  return true;
}

}  // namespace

bool httpGet(const std::string& host, int port, const std::string& pathAndQuery, std::vector<std::string>* bodyLines,
             int timeoutMs) {
  if (bodyLines != nullptr) bodyLines->clear();
  try {
    return fetch(host, port, pathAndQuery, bodyLines, timeoutMs);
  } catch (...) {  // out of memory: the request simply failed
    if (bodyLines != nullptr) bodyLines->clear();
    return false;
  }
}

}  // namespace pf
