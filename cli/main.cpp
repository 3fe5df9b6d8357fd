#include "cli/clirun.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    CCliRun run(std::cout, std::cerr);
    return run.Run(args);
}
