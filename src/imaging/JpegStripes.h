// The JPEG stages on both cores: a picture's rows (block rows for the capture, rows of MCUs for
// the counting and coding passes) split into consecutive stripes, each worked on by a thread of
// its own. Every stage gives the same numbers and bytes whatever the number of stripes.
#pragma once

#include <cstdint>
#include <functional>

namespace lumora {

// Two stripes when the machine has a second core and the rows are enough to pay for a thread,
// else one.
int JpegStripeCount(int32_t rows);

// Calls work(stripe, from, to) for stripes 0 .. stripes - 1, which cover [0, rows) in order; stripe
// 0 runs on the calling thread. Returns when all are done, throwing again the exception of the
// lowest stripe that failed.
void RunJpegStripes(int32_t rows, int stripes, const std::function<void(int stripe, int32_t from, int32_t to)>& work);

}  // namespace lumora
