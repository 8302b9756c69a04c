// The words after a command, split by the options that command accepts:
// "--name", "--name VALUE" or "--name=VALUE", "--help" or "-h" anywhere, and
// "--" before operands that begin with a dash; "--name A B ..." for an option
// that takes many words. Anything else is a UsageError.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena {

class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

struct OptionSpec {
  std::string_view name;        // "--out"
  std::string_view value_name;  // "DIR"; empty for a flag
  std::string_view help;
  bool required = false;
  bool many = false;  // takes every word after it up to the next option
};

struct Arguments {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> options;  // a flag maps to ""
  std::map<std::string, std::vector<std::string>, std::less<>> lists;  // the words of a `many` option
  bool help = false;

  bool has(std::string_view option) const { return options.find(option) != options.end(); }
  std::optional<std::string> value(std::string_view option) const;
};

// Unless "--help" was given, every required option must be there.
Arguments parse_arguments(std::span<const std::string> words, std::span<const OptionSpec> accepted);

}  // namespace lorvena
