#include "testing/captured_stream.h"

#include <cstdlib>
#include <stdexcept>

namespace lorvena::testing {

CapturedStream::CapturedStream() : file_(open_memstream(&buffer_, &size_)) {
  if (file_ == nullptr) throw std::runtime_error("cannot open a stream in memory");
}

CapturedStream::~CapturedStream() {
  std::fclose(file_);
  std::free(buffer_);
}

std::string CapturedStream::text() const {
  std::fflush(file_);
  return std::string(buffer_, size_);
}

}  // namespace lorvena::testing
