#include "base/output_path.h"

#include "base/path_spelling.h"
#include "base/platform.h"

namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// The identities of the files a path may stand for: as spelt and, where that
// differs, as its spelling normalises (an input "in.txt/" that the system
// cannot open is still meant as "in.txt").
std::vector<platform::FileIdentity> identitiesOf(const std::string& path) {
  std::vector<platform::FileIdentity> identities;
  platform::FileIdentity identity;
  if (platform::identifyFile(path, identity)) identities.push_back(identity);
  if (platform::identifyFile(lexicallyNormal(path), identity))
    identities.push_back(identity);
  return identities;
}

bool shareAFile(const std::string& a, const std::string& b) {
  for (const platform::FileIdentity& identityA : identitiesOf(a))
    for (const platform::FileIdentity& identityB : identitiesOf(b))
      if (identityA == identityB) return true;
  return false;
}

bool isAStandardStream(const std::string& path) {
  platform::FileIdentity target;
  if (!platform::identifyFile(path, target)) return false;
  for (int stream : {1, 2}) {
    platform::FileIdentity identity;
    if (platform::identifyStandardStream(stream, identity) && identity == target)
      return true;
  }
  return false;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
  return a == b || lexicallyNormal(a) == lexicallyNormal(b) || shareAFile(a, b);
}

std::string refuseOutputPath(const std::string& path, const std::string& what,
                             const std::vector<std::string>& inputPaths,
                             std::string& targetPath) {
  if (namesAFolder(path))
    return "pot za " + what + " " + quoted(path) + " ne more biti ime datoteke.";
  for (const std::string& input : inputPaths)
    if (sameFile(path, input))
      return "datoteka za " + what + " " + quoted(path) + " je vhodna datoteka " +
             quoted(input) + "; ostala je nespremenjena.";
  switch (platform::inspectOutputPath(path, targetPath)) {
    case platform::PathKind::NotAFile:
      return "pot za " + what + " " + quoted(path) +
             " ne imenuje navadne datoteke, ampak mapo, napravo, cev ali "
             "vticnico; ostala je nespremenjena.";
    case platform::PathKind::Unreachable:
      return "poti za " + what + " " + quoted(path) +
             " ni mogoce preveriti: " + platform::lastErrorText();
    case platform::PathKind::ReadOnlyFile:
      return "v datoteko za " + what + " " + quoted(path) +
             " ni dovoljeno pisati; ostala je nespremenjena.";
    case platform::PathKind::Missing:
    case platform::PathKind::RegularFile:
      break;
  }
  if (isAStandardStream(targetPath))
    return "datoteka za " + what + " " + quoted(path) +
           " je ta, v katero pise standardni izhod; ostala je nespremenjena.";
  return std::string();
}
