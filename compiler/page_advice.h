// Hints to the operating system about the model's large arrays: where huge
// pages are offered on request, the per-metre plan asks for them, so that
// filling it takes a few page faults instead of thousands.
#pragma once

#include <cstddef>

namespace lorvena {

// Asks for huge pages behind [data, data + bytes) before it is first
// touched. Only a hint: it does nothing where the system has no such request.
void advise_huge_pages(void* data, size_t bytes);

}  // namespace lorvena
