// The caller program: one executable for the desktop window, the terminal and scripted runs.
#include <exception>
#include <iostream>
#include <string_view>

#include "hosts/program/front_ends.h"
#include "hosts/program/games_command.h"
#include "hosts/program/program_options.h"
#include "hosts/program/tickets_command.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "games")
    return program::runGamesCommand(argc - 1, argv + 1, std::cout, std::cerr);
  if (argc > 1 && std::string_view(argv[1]) == "tickets")
    return program::runTicketsCommand(argc - 1, argv + 1, std::cout, std::cerr);
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
