#include "base/usage_error.h"

#include <algorithm>
#include <cstdio>

#include "base/console_text.h"
#include "base/exit_status.h"

namespace {

// Edit distance counting insertions, deletions, substitutions of bytes and
// swaps of two neighbouring bytes ("--cvs" is one swap from "--csv"), each
// as one edit; no substring is edited twice.
size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

int usageError(const std::string& reason, const char* usage) {
  std::fprintf(stderr, "Skedomat: %s\n", reason.c_str());
  std::fputs(usage, stdout);
  return ExitUsage;
}

std::string nearestWord(const std::string& word, const std::vector<std::string>& known) {
  // Words far longer than any option are no slip of the keyboard; the
  // distance of such a word is not worth its cost.
  if (word.size() > 64) return std::string();
  std::string nearest;
  size_t best = std::max<size_t>(1, std::max(word.size(), size_t(3)) / 3) + 1;
  for (const std::string& candidate : known) {
    const size_t distance = editDistance(word, candidate);
    if (distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string unknownWordReason(const std::string& what, const std::string& word,
                              const std::vector<std::string>& known) {
  const std::string nearest = nearestWord(word, known);
  return what + " \"" + consoleText(word) + "\"" +
         (nearest.empty() ? std::string() : " (morda \"" + nearest + "\"?)");
}
