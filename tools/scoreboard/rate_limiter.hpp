#pragma once
// Per-address token buckets: each address may make `burst` requests at once
// and `perMinute` a minute after that. The table of addresses is bounded, so
// a flood of addresses cannot grow the server's memory.
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr size_t kDefaultMaxAddresses = 4096;

  // perMinute 0: no limit.
  RateLimiter(double perMinute, double burst, size_t maxAddresses = kDefaultMaxAddresses);
  // Takes one token for the address; false when it has none left.
  bool allow(const std::string& address, Clock::time_point now = Clock::now());
  size_t addresses() const;

 private:
  struct Bucket {
    double tokens = 0;
    Clock::time_point last;
  };
  double refill(Bucket& b, Clock::time_point now) const;
  void makeRoom(Clock::time_point now);

  double perSecond_;
  double burst_;
  size_t maxAddresses_;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};
