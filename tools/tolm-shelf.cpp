#include <cstdio>

int main()
{
    std::fprintf(stderr, "tolm-shelf: not built yet\n");
    return 2;
}
