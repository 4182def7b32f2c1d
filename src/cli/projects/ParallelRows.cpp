#include "cli/projects/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace lumora::cli {

void ForEachInParallel(size_t count, unsigned jobs, const std::function<void(size_t)>& work,
                       const std::function<void(size_t)>& finished) {
  std::atomic<size_t> next = 0;
  std::mutex lock;
  const auto worker = [&] {
    for (size_t i = next++; i < count; i = next++) {
      work(i);
      const std::scoped_lock held(lock);
      finished(i);
    }
  };
  const size_t threads = std::min<size_t>(jobs, count);
  if (threads <= 1) return worker();
  std::vector<std::jthread> pool;
  for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
}

}  // namespace lumora::cli
