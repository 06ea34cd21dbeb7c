// Whatever a score server answers: a loopback server sends the input as its
// whole reply and closes; httpGet must end with an outcome, within its
// time-out, holding no more than the reply cap.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "loopback_server.hpp"
#include "platform/net/tcp_client.hpp"

namespace {

std::mutex replyMutex;
std::string reply;

LoopbackServer& server() {
  static LoopbackServer s([](const std::string&) {
    const std::lock_guard<std::mutex> lock(replyMutex);
    return reply;
  });
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;  // an empty reply would hold the connection open
  {
    const std::lock_guard<std::mutex> lock(replyMutex);
    reply.assign(reinterpret_cast<const char*>(data), size);
  }
  std::vector<std::string> lines;
  const pf::HttpOutcome outcome = pf::httpGet("127.0.0.1", server().port(), "/members/pellmore/uws1.php", &lines, 2000);
  size_t held = 0;
  for (const std::string& line : lines) held += line.size();
  if (outcome != pf::HttpOutcome::ok && !lines.empty()) __builtin_trap();  // a failed fetch hands back no lines
  if (held > pf::TcpClient::kDefaultReplyCap) __builtin_trap();
  return 0;
}
