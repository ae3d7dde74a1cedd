#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tamrivo {

// The lines of a project or filters file, in file order, each without its line end.
using LineList = std::deque<std::string>;

// The Include values of the old project's one-line file items, in file order, duplicates kept.
using OldItemList = std::deque<std::string>;

// One line made of pieces, allocated once: the writers make one such line per file and folder.
inline std::string JoinLine(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    std::string line;
    line.reserve(size);
    for (const std::string_view piece : pieces) {
        line.append(piece);
    }
    return line;
}

}  // namespace tamrivo
