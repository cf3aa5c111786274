#include "run/run.h"

int main(int argc, char** argv) { return diadim::RunProcess(argc, argv); }
