// Runs a batch's rows side by side: a few worker threads take the next row until none is left.
#pragma once

#include <cstddef>
#include <functional>

namespace lumora::cli {

// Calls work(i) for every i below count on up to `jobs` threads (on the calling thread alone when
// jobs is 1). finished(i) runs under one lock as each row is done, so it may count and print.
void ForEachInParallel(size_t count, unsigned jobs, const std::function<void(size_t)>& work,
                       const std::function<void(size_t)>& finished);

}  // namespace lumora::cli
