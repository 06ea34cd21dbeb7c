#pragma once
// The scoreboard on the web: one server-rendered page with the six ships'
// lists (no JavaScript), the same lists as JSON under /api/, and the page's
// stylesheet and font. Every reply forbids the page anything it does not
// need: no scripts, no frames, nothing fetched from another origin.
#include <optional>

#include "rate_limiter.hpp"
#include "score_service.hpp"
#include "score_store.hpp"

struct ShipEntry;

class WebBoard {
 public:
  // Reads as many lists as the store allows under the options' listing
  // policy, each address limited like the game's list reads.
  WebBoard(ScoreStore& store, const BoardOptions& options);

  // A reply for "/", "/api/..." and "/web/..."; nothing for any other path,
  // which belongs to the game's protocol.
  std::optional<BoardReply> handle(const BoardRequest& request);

 private:
  BoardReply page();
  BoardReply index();
  BoardReply shipList(const ShipEntry& ship);

  ScoreStore& store_;
  ListingPolicy listed_;
  RateLimiter reads_;
};
