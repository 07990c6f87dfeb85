#include "setwin.h"

int main(int argc, char **argv)
{
    return run_setwin(argc, argv);
}
