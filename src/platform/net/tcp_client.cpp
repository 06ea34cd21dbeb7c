#include "platform/net/tcp_client.hpp"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/platform.hpp"

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

// getaddrinfo cannot be given a time-out and a resolver that never answers
// holds it for many seconds. Literal addresses resolve at once; names are
// resolved on a worker thread the caller waits for no longer than its
// deadline. A worker that is given up on finishes on its own and frees what
// it shares with the caller.
struct Resolution {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  addrinfo* addresses = nullptr;
  ~Resolution() {
    if (addresses != nullptr) freeaddrinfo(addresses);
  }
};

addrinfo* resolveNumeric(const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* addresses = nullptr;
  return getaddrinfo(host.c_str(), port.c_str(), &hints, &addresses) == 0 ? addresses : nullptr;
}

std::shared_ptr<Resolution> resolve(const std::string& host, int port, Clock::time_point deadline) {
  auto result = std::make_shared<Resolution>();
  const std::string service = std::to_string(port);
  if ((result->addresses = resolveNumeric(host, service)) != nullptr) return result;
  try {
    std::thread([result, host, service] {
      addrinfo hints{};
      hints.ai_family = AF_UNSPEC;
      hints.ai_socktype = SOCK_STREAM;
      hints.ai_flags = AI_NUMERICSERV;
      addrinfo* addresses = nullptr;
      if (getaddrinfo(host.c_str(), service.c_str(), &hints, &addresses) != 0) addresses = nullptr;
      const std::lock_guard<std::mutex> lock(result->mutex);
      result->addresses = addresses;
      result->finished = true;
      result->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {  // no thread to be had: no name either
    return nullptr;
  }
  std::unique_lock<std::mutex> lock(result->mutex);
  if (!result->done.wait_until(lock, deadline, [&] { return result->finished; })) return nullptr;
  return result->addresses != nullptr ? result : nullptr;
}

}  // namespace

bool TcpClient::waitFor(int fd, short events) const {
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0) return false;
    // Every wait runs on the game's one thread between frames: the window's
    // events are read in short slices, and a close request gives the
    // exchange up at once instead of after the whole time-out.
    pumpEvents();
    if (closeRequested()) return false;
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, static_cast<int>(std::min<long long>(left, kEventSliceMs)));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool TcpClient::connect(const std::string& host, int port, int timeoutMs) {
  close();
  deadline_ = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  if (host.empty() || port <= 0 || port > 65535) return false;
  const std::shared_ptr<Resolution> resolved = resolve(host, port, deadline_);
  if (!resolved) return false;
  for (const addrinfo* a = resolved->addresses; a != nullptr && fd_ < 0; a = a->ai_next) {
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

// Reads the body: exactly `length` bytes when the reply said how long it
// is, otherwise everything up to the server's close.
bool TcpClient::readBody(size_t length, std::string* body) {
  body->clear();
  while (true) {
    const size_t available = buffer_.size() - readPos_;
    if (length != kUntilClose && available >= length) {
      body->assign(buffer_, readPos_, length);
      readPos_ += length;
      return true;
    }
    if (peerClosed_) {
      if (length != kUntilClose) return false;  // cut short
      body->assign(buffer_, readPos_, std::string::npos);
      readPos_ = buffer_.size();
      return true;
    }
    if (!receiveMore()) return false;
  }
}

namespace {

// The value of a Content-Length header line, or kUntilClose for another line.
// A malformed length is treated as absent: the close still ends the reply.
size_t contentLength(const std::string& line) {
  constexpr const char* kName = "content-length:";
  const size_t nameLength = std::char_traits<char>::length(kName);
  if (line.size() <= nameLength) return TcpClient::kUntilClose;
  for (size_t i = 0; i < nameLength; ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return TcpClient::kUntilClose;
  }
  size_t i = nameLength;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  size_t value = 0;
  size_t digits = 0;
  for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) != 0; ++i, ++digits) {
    if (value > (TcpClient::kUntilClose - 10) / 10) return TcpClient::kUntilClose - 1;  // beyond any cap
    value = value * 10 + static_cast<size_t>(line[i] - '0');
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return digits > 0 && i == line.size() ? value : TcpClient::kUntilClose;
}

// Body lines split at LF (a CR before it dropped); a last line without an
// ending counts.
std::vector<std::string> splitLines(const std::string& body) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < body.size()) {
    size_t lf = body.find('\n', start);
    const size_t end = lf == std::string::npos ? body.size() : lf;
    std::string line = body.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// One request and a success reply's body of at most `cap` bytes. A POST
// carries `payload` with its length.
HttpOutcome exchange(const std::string& host, int port, const std::string& method, const std::string& pathAndQuery,
                     const std::string& payload, size_t cap, std::string* body, int timeoutMs) {
  if (hasControlCharacters(host) || hasControlCharacters(pathAndQuery)) return HttpOutcome::failed;
  TcpClient client;
  client.setReplyCap(cap);
  if (!client.connect(host, port, timeoutMs)) return HttpOutcome::unreachable;
  std::string request = method + " " + pathAndQuery + " HTTP/1.0\r\n" + "Host: " + host + "\r\n";
  if (method == "POST") {
    request += "Content-Type: application/octet-stream\r\nContent-Length: " + std::to_string(payload.size()) + "\r\n";
  }
  if (!client.sendAll(request + "\r\n" + payload)) return HttpOutcome::failed;

  std::string line;
  if (client.readLine(&line) != TcpClient::Read::Line || !successStatus(line)) return HttpOutcome::failed;
  size_t length = TcpClient::kUntilClose;
  do {
    if (client.readLine(&line) != TcpClient::Read::Line) return HttpOutcome::failed;  // the headers never ended
    if (const size_t declared = contentLength(line); declared != TcpClient::kUntilClose) length = declared;
  } while (!line.empty());
  if (length != TcpClient::kUntilClose && length > cap) return HttpOutcome::failed;
  return client.readBody(length, body) ? HttpOutcome::ok : HttpOutcome::failed;
}

// Out of memory is a failed request, nothing more.
template <class Work>
HttpOutcome guarded(Work work) {
  try {
    return work();
  } catch (...) {
    return HttpOutcome::failed;
  }
}

}  // namespace

HttpOutcome httpGet(const std::string& host, int port, const std::string& pathAndQuery,
                    std::vector<std::string>* bodyLines, int timeoutMs) {
  if (bodyLines != nullptr) bodyLines->clear();
  std::string body;
  const HttpOutcome outcome = guarded(
      [&] { return exchange(host, port, "GET", pathAndQuery, "", TcpClient::kDefaultReplyCap, &body, timeoutMs); });
  if (outcome == HttpOutcome::ok && bodyLines != nullptr) *bodyLines = splitLines(body);
  return outcome;
}

HttpOutcome httpGetBody(const std::string& host, int port, const std::string& pathAndQuery, std::string* body,
                        size_t cap, int timeoutMs) {
  body->clear();
  const HttpOutcome outcome =
      guarded([&] { return exchange(host, port, "GET", pathAndQuery, "", cap, body, timeoutMs); });
  if (outcome != HttpOutcome::ok) body->clear();
  return outcome;
}

HttpOutcome httpPost(const std::string& host, int port, const std::string& pathAndQuery, const std::string& payload,
                     int timeoutMs) {
  std::string reply;
  return guarded([&] {
    return exchange(host, port, "POST", pathAndQuery, payload, TcpClient::kDefaultReplyCap, &reply, timeoutMs);
  });
}

}  // namespace pf
