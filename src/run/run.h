// The run: one diameter dimension per process.
//
// Run carries the fixed sequence from the argument text to the overwritten
// work file and throws an Error on the first failure, before anything is
// written. RunProcess is the top of the process: it sets the code page,
// answers --help and --version, reports a failure once and gives the exit
// status.
#pragma once

#include <string_view>

namespace diadim {

void Run(std::string_view argumentText);

int RunProcess(int argc, char** argv);

}  // namespace diadim
