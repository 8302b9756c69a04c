// The unit tests' entry point: the file size limit is set before the first
// test, and a test that wrote up to it fails with a message saying so.
#include <gtest/gtest.h>

#include "testing/file_size_limit.h"

namespace {

class FileSizeLimitCheck : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { lorvena::testing::take_file_size_limit_reached(); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (lorvena::testing::take_file_size_limit_reached())
      ADD_FAILURE() << "this test wrote a file up to the tests' size limit of "
                    << (lorvena::testing::kFileSizeLimit >> 20)
                    << " MiB (testing/file_size_limit.h): a writer that does not stop?";
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  lorvena::testing::set_file_size_limit();
  ::testing::UnitTest::GetInstance()->listeners().Append(new FileSizeLimitCheck);
  return RUN_ALL_TESTS();
}
