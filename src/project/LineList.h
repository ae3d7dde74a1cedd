#pragma once

#include <deque>
#include <string>

namespace tamrivo {

// The lines of a project or filters file, in file order, each without its line end.
using LineList = std::deque<std::string>;

// The Include values of the old project's one-line file items, in file order, duplicates kept.
using OldItemList = std::deque<std::string>;

}  // namespace tamrivo
