// The scoreboard's request handling: any request target (path and query, as
// a client sends them) gets a reply with a status, and what the store then
// holds is a valid name and score. The query parts are also fed to the
// parsers directly.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "score_service.hpp"
#include "score_store.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::unique_ptr<ScoreStore> store;
  static int uses = 0;
  // A fresh store now and then keeps the rankings small and the runs fast.
  if (!store || ++uses % 256 == 0) store = openSqliteStore(":memory:");

  const std::string target(reinterpret_cast<const char*>(data), size);
  ScoreService service(*store, BoardOptions{});
  const BoardReply reply = service.handle("127.0.0.1", target);
  if (reply.status < 100 || reply.status > 599) __builtin_trap();

  const size_t mark = target.find('?');
  const std::string query = mark == std::string::npos ? target : target.substr(mark + 1);
  if (const auto pairs = parseQuery(query)) {
    for (const auto& [key, value] : *pairs) {
      (void)validName(value);
      (void)parseScore(value);
      if (utf8ToLatin1(latin1ToUtf8(value)) != value) __builtin_trap();  // Latin-1 round-trips
    }
  }
  for (int ship = 1; ship <= 6; ++ship) {
    for (const RankedEntry& e : store->best(ship, kListLength, ListingPolicy::all)) {
      if (!validName(utf8ToLatin1(e.name)) || e.score < 0 || e.score > kMaxScore) __builtin_trap();
    }
  }
  return 0;
}
