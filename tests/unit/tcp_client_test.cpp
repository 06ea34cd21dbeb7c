#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "loopback_server.hpp"
#include "platform/net/tcp_client.hpp"
#include "test_support.hpp"

namespace {

TEST(HttpGet, SendsExactlyThreeLinesAndSplitsHeadersFromBody) {
  LoopbackServer server(LoopbackServer::always(
      "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nX-Empty-Looking: \r\n\r\nfirst\r\n\r\n1. [500][ann]<br>2. "
      "[20][bob]"));
  std::vector<std::string> body;
  ASSERT_EQ(pf::httpGet("127.0.0.1", server.port(), "/members/pellmore/uws1.php?name=a_b&score=-5", &body, 3000),
            pf::HttpOutcome::ok);
  EXPECT_EQ(server.requests().at(0),
            "GET /members/pellmore/uws1.php?name=a_b&score=-5 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  // An empty body line is kept; the last line needs no line ending.
  EXPECT_EQ(body, (std::vector<std::string>{"first", "", "1. [500][ann]<br>2. [20][bob]"}));
}

TEST(HttpGet, AcceptsBareLineFeedsAndResolvesHostNames) {
  LoopbackServer server(LoopbackServer::always("HTTP/1.1 200 OK\nServer: x\n\nalpha\nbeta\n"));
  std::vector<std::string> body;
  ASSERT_EQ(pf::httpGet("localhost", server.port(), "/", &body, 3000), pf::HttpOutcome::ok);
  EXPECT_EQ(server.requests().at(0), "GET / HTTP/1.0\r\nHost: localhost\r\n\r\n");
  EXPECT_EQ(body, (std::vector<std::string>{"alpha", "beta"}));
}

TEST(HttpGet, FailedRepliesAreNotSuccesses) {
  {  // an error status must not hand its error page over as the body
    LoopbackServer server(LoopbackServer::always("HTTP/1.0 404 Not Found\r\n\r\n<html>gone</html>\r\n"));
    std::vector<std::string> body{"stale"};
    EXPECT_NE(pf::httpGet("127.0.0.1", server.port(), "/x", &body, 3000), pf::HttpOutcome::ok);
    EXPECT_TRUE(body.empty());
  }
  {  // the headers never end
    LoopbackServer server(LoopbackServer::always("HTTP/1.0 200 OK\r\nServer: x\r\n"));
    EXPECT_NE(pf::httpGet("127.0.0.1", server.port(), "/x", nullptr, 3000), pf::HttpOutcome::ok);
  }
  {  // closed before the length it announced
    LoopbackServer server(LoopbackServer::always("HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\n1. [5][cut]"));
    EXPECT_EQ(pf::httpGet("127.0.0.1", server.port(), "/x", nullptr, 3000), pf::HttpOutcome::failed);
  }
  {  // beyond the reply cap
    LoopbackServer server(
        LoopbackServer::always("HTTP/1.0 200 OK\r\n\r\n" + std::string(pf::TcpClient::kDefaultReplyCap, 'x') + "\r\n"));
    EXPECT_NE(pf::httpGet("127.0.0.1", server.port(), "/x", nullptr, 3000), pf::HttpOutcome::ok);
  }
}

TEST(HttpGet, RefusesLineBreaksInTheRequestWithoutSending) {
  LoopbackServer server(LoopbackServer::silent());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(pf::httpGet("127.0.0.1", server.port(), "/uws1.php?name=x\r\nX-Injected: 1", nullptr, 2000),
            pf::HttpOutcome::ok);
  EXPECT_NE(pf::httpGet("127.0.0.1\r\nX: y", server.port(), "/", nullptr, 2000), pf::HttpOutcome::ok);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(TcpClient, SilentServerTimesOut) {
  LoopbackServer server(LoopbackServer::silent());  // connects; nobody answers
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(pf::httpGet("127.0.0.1", server.port(), "/", nullptr, 300), pf::HttpOutcome::ok);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_LT(took, std::chrono::milliseconds(2000));
}

TEST(TcpClient, RefusedConnectionAndBadPortFail) {
  int port = 0;
  {
    const LoopbackServer gone(LoopbackServer::silent());
    port = gone.port();
  }
  {  // the server is gone: connects are refused
    pf::TcpClient client;
    EXPECT_FALSE(client.connect("127.0.0.1", port, 2000));
    EXPECT_FALSE(client.isOpen());
  }
  EXPECT_NE(pf::httpGet("127.0.0.1", port, "/", nullptr, 2000), pf::HttpOutcome::ok);
  EXPECT_NE(pf::httpGet("127.0.0.1", 0, "/", nullptr, 2000), pf::HttpOutcome::ok);
}

// In a private network and mount namespace (root only): loopback up, a name
// server on 127.0.0.1 that takes queries and never answers, named in a
// resolv.conf mounted over the real one. The resolver alone would wait ten
// seconds; the request's deadline must still hold. Returns the child's
// verdict: 0 in time, 1 late, 2 could not set the scene up.
int requestAgainstSilentResolver() {
  if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) return 2;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 2;
  const int ctl = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq lo{};
  std::strncpy(lo.ifr_name, "lo", IFNAMSIZ - 1);
  lo.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
  if (ctl < 0 || ioctl(ctl, SIOCSIFFLAGS, &lo) != 0) return 2;
  const int dns = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(53);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (dns < 0 || bind(dns, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return 2;
  char conf[] = "/tmp/ovelune-resolv-XXXXXX";
  const int fd = mkstemp(conf);
  const char text[] = "nameserver 127.0.0.1\noptions timeout:5 attempts:2\n";
  if (fd < 0 || write(fd, text, sizeof text - 1) != static_cast<ssize_t>(sizeof text - 1)) return 2;
  close(fd);
  const bool mounted = mount(conf, "/etc/resolv.conf", nullptr, MS_BIND, nullptr) == 0;
  unlink(conf);
  if (!mounted) return 2;
  const auto start = std::chrono::steady_clock::now();
  const pf::HttpOutcome outcome = pf::httpGet("scores.example.org", 80, "/", nullptr, 500);
  const auto took = std::chrono::steady_clock::now() - start;
  return outcome == pf::HttpOutcome::unreachable && took < std::chrono::milliseconds(1500) ? 0 : 1;
}

TEST(TcpClient, TheDeadlineCoversNameResolution) {
  if (geteuid() != 0) SKIP_UNLESS_CI("needs root for a private network namespace");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(requestAgainstSilentResolver());
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) SKIP_UNLESS_CI("no private network namespace here");
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the request waited for the resolver";
}

}  // namespace
