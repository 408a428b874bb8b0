#include "paths.h"

#include "host.h"

namespace tbc {

namespace {

size_t LastSeparator(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;)
    if (host::IsSeparator(path[i])) return i;
  return std::string::npos;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  // The root, and a drive's root ("C:\"), keep their separator.
  if (slash == 0 || path[slash - 1] == ':') return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = LastSeparator(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || host::IsAbsolute(name)) return name;
  if (host::IsSeparator(folder.back())) return folder + name;
  return folder + host::Separator() + name;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
  size_t slash = LastSeparator(path);
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && dot > start) return path.substr(0, dot) + extension;
  return path + extension;
}

}  // namespace tbc
