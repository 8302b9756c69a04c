// The smallest C++ program that loads the C++ runtime: its peak resident size
// is the baseline of the memory goal.
#include <string>

int main(int argc, char**) {
  std::string text(static_cast<size_t>(argc), 'x');
  return text.empty() ? 1 : 0;
}
