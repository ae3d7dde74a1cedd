#include <iostream>
#include <string>
#include <vector>

#include "app/Run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    return tamrivo::RunTamrivo(arguments, std::cout, std::cerr);
}
