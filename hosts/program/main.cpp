// The caller program: one executable for the desktop window, the terminal and scripted runs.
#include <exception>
#include <iostream>

#include "hosts/program/front_ends.h"
#include "hosts/program/program_options.h"

int main(int argc, char** argv) {
  try {
    const auto parsed = program::parseCommandLine(argc, argv);
    if (!parsed.options) {
      std::cout << parsed.text;
      return parsed.exitCode;
    }
    return program::runFrontEnd(*parsed.options, std::cout, std::cerr);
  } catch (const program::UsageError& error) {
    std::cerr << "vorlix-caller: " << error.what()
              << (error.pointsToHelp() ? " (see vorlix-caller --help)\n" : "\n");
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "vorlix-caller: " << error.what() << '\n';
    return 1;
  }
}
