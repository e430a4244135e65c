#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolm::tools {

// The commands of tolm-shelf; `args` excludes the program name. Returns the
// exit status: 0 done, 1 the file is unsound or could not be read or written,
// 2 bad arguments, 3 a folder's shelf files are sound but conflict copies lie
// beside them.
int runShelfTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tolm::tools
