#include <iostream>
#include <string>
#include <vector>

#include "app/Run.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
    tamrivo::IgnoreBrokenPipes();
    const tamrivo::Utf8ConsoleDuringRun console;
    const std::vector<std::string> arguments(argv, argv + argc);
    return tamrivo::RunTamrivo(arguments, std::cout, std::cerr);
}
