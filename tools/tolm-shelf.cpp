#include "tools/ShelfTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tolm::tools::runShelfTool({ argv + 1, argv + argc }, std::cout, std::cerr);
}
