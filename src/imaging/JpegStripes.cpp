#include "imaging/JpegStripes.h"

#include <future>
#include <thread>
#include <vector>

namespace lumora {

namespace {
// A thread costs about as much as coding a few rows of MCUs of a small picture.
constexpr int32_t kMinRowsPerStripe = 16;
}  // namespace

int JpegStripeCount(int32_t rows) {
  static const bool twoCores = std::thread::hardware_concurrency() >= 2;
  return twoCores && rows >= 2 * kMinRowsPerStripe ? 2 : 1;
}

void RunJpegStripes(int32_t rows, int stripes, const std::function<void(int, int32_t, int32_t)>& work) {
  const auto bound = [&](int stripe) { return static_cast<int32_t>(int64_t{rows} * stripe / stripes); };
  std::vector<std::future<void>> others;
  for (int stripe = 1; stripe < stripes; ++stripe)
    others.push_back(std::async(std::launch::async, work, stripe, bound(stripe), bound(stripe + 1)));
  // The other threads are waited for even when this stripe fails: they use the caller's data.
  std::exception_ptr failure;
  try {
    work(0, 0, bound(1));
  } catch (...) {
    failure = std::current_exception();
  }
  for (auto& other : others) {
    try {
      other.get();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace lumora
