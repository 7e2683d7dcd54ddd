#include "base/command_options.h"

#include <algorithm>
#include <set>

#include "base/console_text.h"
#include "base/usage_error.h"

namespace {

bool isOption(const std::string& word) { return word.compare(0, 2, "--") == 0; }

std::vector<std::string> optionNames(const std::vector<CommandOption>& options) {
  std::vector<std::string> names;
  for (const CommandOption& option : options) names.push_back(option.name);
  return names;
}

}  // namespace

std::string takeCommandOptions(const std::vector<std::string>& words,
                               const std::vector<CommandOption>& options,
                               std::vector<std::string>& positional) {
  std::set<std::string> given;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!isOption(word)) {
      positional.push_back(word);
      continue;
    }
    auto option = std::find_if(options.begin(), options.end(),
                               [&word](const CommandOption& o) { return word == o.name; });
    if (option == options.end())
      return unknownWordReason("neznana moznost", word, optionNames(options));
    if (!given.insert(word).second) return "moznost " + quotedWord(word) + " je podana dvakrat";
    if (!option->hasValue) {
      option->take(std::string());
      continue;
    }
    if (i + 1 == words.size()) return "moznosti " + quotedWord(word) + " manjka vrednost";
    const std::string& value = words[++i];
    const std::string allowed = option->take(value);
    if (!allowed.empty())
      return "vrednost " + quotedWord(value) + " za " + quotedWord(word) + ": " + allowed;
  }
  return std::string();
}

std::function<std::string(const std::string&)> takePath(std::string& target) {
  return [&target](const std::string& value) {
    target = value;
    return value.empty() ? std::string("pot ne sme biti prazna") : std::string();
  };
}

std::string quotedWord(const std::string& word) { return "\"" + consoleText(word) + "\""; }

std::string extraWordReason(const std::string& word) {
  return "odvecna beseda " + quotedWord(word);
}

bool parseUnsigned(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}
