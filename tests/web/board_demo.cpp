// Serves the web board and plays a fixed game on it on the real clock, printing each step as it
// is published: the browser test's game, and a way to look at the page by hand.
//   vorlix-board-demo [--listen ADDRESS:PORT] [--interval-ms N] [--start-at STEP] [--steps N]
//                     [--wait-for-go]
// Prints "listening <port>", then per step
// "published <step> <current or -> <called count> <phase> <strip, newest first, or ->
// <wall clock ms>",
// then keeps serving until stdin closes or it is killed.
#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "hosts/web/web_board_server.h"
#include "scripted_room.h"

using namespace vorlix;

int main(int argc, char** argv) {
  web::WebBoardOptions options;
  options.listen = {"127.0.0.1", 0};
  int intervalMs = 1000;
  std::size_t startAt = 0;
  std::size_t steps = static_cast<std::size_t>(-1);
  bool waitForGo = false;
  try {
    for (int i = 1; i < argc; i += 2) {
      const std::string flag = argv[i];
      if (flag == "--wait-for-go") {
        waitForGo = true;
        --i;
        continue;
      }
      if (i + 1 >= argc) throw std::invalid_argument(flag + " needs a value");
      const std::string value = argv[i + 1];
      if (flag == "--listen") {
        options.listen = web::parseListenAddress(value);
      } else if (flag == "--interval-ms") {
        intervalMs = std::stoi(value);
      } else if (flag == "--start-at") {
        startAt = std::stoul(value);
      } else if (flag == "--steps") {
        steps = std::stoul(value);
      } else {
        throw std::invalid_argument("unknown option " + flag);
      }
    }
  } catch (const std::exception& error) {
    std::cerr << "vorlix-board-demo: " << error.what() << "\n";
    return 2;
  }

  const auto states = web::testing::scriptedRoomStates();
  try {
    web::WebBoardServer server(options);
    std::cout << "listening " << server.port() << std::endl;
    std::string line;
    // With --wait-for-go a line on stdin starts the game, once the watcher is ready.
    if (waitForGo) std::getline(std::cin, line);
    auto due = std::chrono::steady_clock::now();
    for (std::size_t step = startAt; step < states.size() && step - startAt < steps; ++step) {
      std::this_thread::sleep_until(due);
      const room::RoomState& state = states[step];
      std::string recent;
      for (const int n : state.recentNewestFirst()) {
        recent += (recent.empty() ? "" : ",") + std::to_string(n);
      }
      std::cout << "published " << step << " "
                << (state.numberBeingCalled ? std::to_string(*state.numberBeingCalled) : "-") << " "
                << state.calledInOrder.size() << " " << room::phaseName(state.phase) << " "
                << (recent.empty() ? "-" : recent) << " "
                << std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count()
                << std::endl;
      server.publish(state);
      due += std::chrono::milliseconds(intervalMs);
    }
    std::cout << "done" << std::endl;
    while (std::getline(std::cin, line)) {
    }
  } catch (const web::WebBoardError& error) {
    std::cerr << "vorlix-board-demo: " << error.what() << "\n";
    return 2;
  }
  return 0;
}
