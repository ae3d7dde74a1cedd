#pragma once

#include <string>
#include <string_view>

namespace tamrivo {

// Why a name found in the tree cannot stand in the new files, or empty when it can: a line break
// would split a line, a byte that is not UTF-8 or a control character makes the XML unreadable,
// and a backslash (possible off Windows) would be read back as a separator.
std::string_view WhyNameIsLeftOut(std::string_view name);

// The path as an error line shows it: each byte that made a name unfit shown as "?".
std::string ShownPath(std::string path);

}  // namespace tamrivo
