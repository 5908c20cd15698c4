#include "app/StartProgram.h"

int main(int argc, char** argv)
{
    return zq::runProgram(argc, argv);
}
