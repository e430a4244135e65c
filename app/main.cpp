#include "app/TolmApplication.h"

int main(int argc, char** argv)
{
    return tolm::app::runTolm(argc, argv);
}
