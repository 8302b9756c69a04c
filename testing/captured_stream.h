// A C stream a test hands to the code under test, and reads back afterwards.
// It lives in memory, so no file-system limit a test sets applies to it.
#pragma once

#include <cstdio>
#include <string>

namespace lorvena::testing {

class CapturedStream {
 public:
  CapturedStream();
  ~CapturedStream();
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;

  std::FILE* stream() const { return file_; }
  // Everything written so far.
  std::string text() const;

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

}  // namespace lorvena::testing
