// Hints to the operating system about the model's large arrays: the per-metre
// plan asks for huge pages and has its pages supplied in one call, so that
// filling it takes a few page faults instead of thousands.
#pragma once

#include <cstddef>

namespace lorvena {

// Asks for huge pages behind [data, data + bytes) and for all its pages at
// once, before it is first touched. Only hints: nothing happens where the
// system has no such requests.
void prepare_pages(void* data, size_t bytes);

}  // namespace lorvena
