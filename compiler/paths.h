// Taking paths apart and putting them together, with the separators of the
// system the compiler runs on (host.h).
#pragma once

#include <string>

namespace tbc {

// The folder of a path: "." for a bare name, the root kept as it is ("/").
std::string DirectoryOf(const std::string& path);
// The last part of a path.
std::string FileNameOf(const std::string& path);
// name inside folder, joined with the system's separator; an absolute name
// stays what it is.
std::string JoinPath(const std::string& folder, const std::string& name);
// The path with its extension (the last '.' of its file name on) replaced;
// a name without one, or one that only starts with a '.', gets it added.
std::string WithExtension(const std::string& path, const std::string& extension);

}  // namespace tbc
