#include "tools/input/arguments.h"

#include "tools/text/messages.h"

namespace lorvena {
namespace {

const OptionSpec* find_option(std::span<const OptionSpec> accepted, std::string_view name) {
  for (const OptionSpec& spec : accepted)
    if (spec.name == name) return &spec;
  return nullptr;
}

bool is_option(std::string_view word) { return word.size() > 1 && word[0] == '-'; }

}  // namespace

std::optional<std::string> Arguments::value(std::string_view option) const {
  auto it = options.find(option);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

Arguments parse_arguments(std::span<const std::string> words, std::span<const OptionSpec> accepted) {
  Arguments args;
  bool operands_only = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (operands_only || !is_option(word)) {
      args.operands.push_back(word);
      continue;
    }
    if (word == "--") {
      operands_only = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      args.help = true;
      continue;
    }
    size_t equals = word.find('=');
    std::string name = word.substr(0, equals);
    const OptionSpec* spec = find_option(accepted, name);
    if (spec == nullptr) throw UsageError(trf("unknown option {0}", name));
    if (spec->many) {
      if (equals != std::string::npos) args.lists[name].push_back(word.substr(equals + 1));
      while (i + 1 < words.size() && !is_option(words[i + 1])) args.lists[name].push_back(words[++i]);
      if (args.lists[name].empty()) throw UsageError(trf("{0} needs {1}", name, spec->value_name));
      args.options[name] = "";
      continue;
    }
    if (spec->value_name.empty()) {
      if (equals != std::string::npos) throw UsageError(trf("{0} takes no value", name));
      args.options[name] = "";
    } else if (equals != std::string::npos) {
      args.options[name] = word.substr(equals + 1);
    } else {
      if (i + 1 >= words.size()) throw UsageError(trf("{0} needs {1}", name, spec->value_name));
      args.options[name] = words[++i];
    }
    if (!spec->value_name.empty() && args.options[name].empty())
      throw UsageError(trf("{0} needs {1}", name, spec->value_name));
  }
  for (const OptionSpec& spec : accepted)
    if (spec.required && !args.help && !args.has(spec.name))
      throw UsageError(trf("{0} {1} is required", spec.name, spec.value_name));
  return args;
}

}  // namespace lorvena
