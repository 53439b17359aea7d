#include "tools/pebbo-engine/EngineTool.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return pebbo::runEngineTool(arguments, std::cout, std::cerr);
}
