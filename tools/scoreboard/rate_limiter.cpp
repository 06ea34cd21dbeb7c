#include "rate_limiter.hpp"

#include <algorithm>

RateLimiter::RateLimiter(double perMinute, double burst, size_t maxAddresses)
    : perSecond_(perMinute / 60.0), burst_(std::max(burst, 1.0)), maxAddresses_(std::max<size_t>(maxAddresses, 1)) {}

double RateLimiter::refill(Bucket& b, Clock::time_point now) const {
  const double seconds = std::chrono::duration<double>(now - b.last).count();
  if (seconds > 0) {
    b.tokens = std::min(burst_, b.tokens + seconds * perSecond_);
    b.last = now;
  }
  return b.tokens;
}

// Addresses whose bucket has refilled completely carry no state worth
// keeping; should none be idle, the one seen longest ago goes.
void RateLimiter::makeRoom(Clock::time_point now) {
  for (auto it = buckets_.begin(); it != buckets_.end();) {
    it = refill(it->second, now) >= burst_ ? buckets_.erase(it) : std::next(it);
  }
  if (buckets_.size() < maxAddresses_) return;
  const auto oldest = std::min_element(buckets_.begin(), buckets_.end(),
                                       [](const auto& a, const auto& b) { return a.second.last < b.second.last; });
  buckets_.erase(oldest);
}

bool RateLimiter::allow(const std::string& address, Clock::time_point now) {
  if (perSecond_ <= 0) return true;
  const std::lock_guard<std::mutex> lock(mutex_);
  auto it = buckets_.find(address);
  if (it == buckets_.end()) {
    if (buckets_.size() >= maxAddresses_) makeRoom(now);
    it = buckets_.emplace(address, Bucket{burst_, now}).first;
  }
  if (refill(it->second, now) < 1.0) return false;
  it->second.tokens -= 1.0;
  return true;
}

size_t RateLimiter::addresses() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return buckets_.size();
}
