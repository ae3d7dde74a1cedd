#pragma once

namespace tamrivo {

// The byte with an ASCII capital letter made small, any other byte as it is: letter case aside,
// as Windows compares ASCII names and as options are recognised.
constexpr char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace tamrivo
