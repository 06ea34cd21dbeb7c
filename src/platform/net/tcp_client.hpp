#pragma once
// A blocking TCP client with name resolution, one time-out for the whole
// exchange (name resolution included) and a cap on the reply size, plus the
// HTTP/1.0 GET and POST built on it.
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace pf {

class TcpClient {
 public:
  static constexpr size_t kDefaultReplyCap = 64 * 1024;
  static constexpr size_t kUntilClose = static_cast<size_t>(-1);
  // How often a wait looks at the window's events; a close request ends it.
  static constexpr int kEventSliceMs = 50;
  enum class Read { Line, End, Failed };

  TcpClient() = default;
  ~TcpClient() { close(); }
  TcpClient(const TcpClient&) = delete;
  TcpClient& operator=(const TcpClient&) = delete;

  // Resolves the host (every address it has is tried) and connects.
  // timeoutMs bounds the whole exchange: resolving, connecting, sending and reading
  // must all be done that long after this call, so a server that trickles
  // its reply cannot hold the caller either. A request to close the window
  // ends any wait (a failure), so the player never waits on the network to quit.
  bool connect(const std::string& host, int port, int timeoutMs);
  bool sendAll(const std::string& data);
  // The next line without its LF or CR LF; a last line without an ending
  // counts. End once the peer has closed and every line was read; Failed on
  // time-out, error, or when the reply grows beyond the cap.
  Read readLine(std::string* line);
  // The rest of the reply: `length` bytes, or everything up to the peer's
  // close for kUntilClose. False on time-out, error, the cap, or a peer that
  // closes before `length` bytes came.
  bool readBody(size_t length, std::string* body);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  // The most a reply may bring (kDefaultReplyCap unless set).
  void setReplyCap(size_t cap) { replyCap_ = cap; }

 private:
  bool waitFor(int fd, short events) const;
  bool receiveMore();

  int fd_ = -1;
  std::chrono::steady_clock::time_point deadline_{};
  std::string buffer_;
  size_t readPos_ = 0;  // start of the unread part of buffer_
  size_t received_ = 0;
  size_t replyCap_ = kDefaultReplyCap;
  bool peerClosed_ = false;
};

enum class HttpOutcome {
  ok,           // a complete reply with a 2xx status
  unreachable,  // the name did not resolve or nothing accepted the connection in time
  failed,       // connected, but no complete success reply in time
};

// Sends exactly "GET <pathAndQuery> HTTP/1.0", "Host: <host>" and an empty
// line (each ended by CR LF), skips the header lines up to the first empty
// one and returns the body lines. The body ends at its Content-Length when
// the reply gives one, otherwise at the server's close. A host or path
// holding control characters is refused unsent.
HttpOutcome httpGet(const std::string& host, int port, const std::string& pathAndQuery,
                    std::vector<std::string>* bodyLines, int timeoutMs);
// The same GET, the body kept whole (a file), at most `cap` bytes.
HttpOutcome httpGetBody(const std::string& host, int port, const std::string& pathAndQuery, std::string* body,
                        size_t cap, int timeoutMs);
// "POST <pathAndQuery> HTTP/1.0" with Host, Content-Type
// application/octet-stream and Content-Length headers and the payload; ok
// for a 2xx reply.
HttpOutcome httpPost(const std::string& host, int port, const std::string& pathAndQuery, const std::string& payload,
                     int timeoutMs);

}  // namespace pf
