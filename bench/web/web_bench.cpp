// The web board with 1, 1,000 and 10,000 viewers on 127.0.0.1: how long from the game publishing
// a state until the last viewer has it (median, p99, max over the publishes), the server's memory
// per viewer and the CPU it spends. The server runs in a child process of its own so that its
// memory and CPU are its own; the viewers are one Asio loop here.
//   vorlix-web-bench [viewer counts...]   (default: 1 1000 10000)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <boost/asio.hpp>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hosts/web/web_board_server.h"
#include "web/scripted_room.h"

namespace {

namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kPublishes = 50;

void raiseFileLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

long residentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

double cpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  unsigned long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoul(field);
    if (i == 15) stime = std::stoul(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The server's side: listens, says its port, publishes the next state for each 'p' it reads.
[[noreturn]] void serve(int commands, int replies) {
  raiseFileLimit();
  const auto states = vorlix::web::testing::scriptedRoomStates();
  vorlix::web::WebBoardOptions options;
  options.listen = {"127.0.0.1", 0};
  vorlix::web::WebBoardServer server(options);
  std::size_t next = 0;
  server.publish(states[next++]);
  const std::uint16_t port = server.port();
  if (write(replies, &port, sizeof port) != sizeof port) _exit(1);
  char command = 0;
  while (read(commands, &command, 1) == 1 && command == 'p') {
    server.publish(states[next++ % states.size()]);
  }
  _exit(0);
}

// One viewer: opens /events and counts the events ("id: " lines) that reach it.
class Viewer : public std::enable_shared_from_this<Viewer> {
 public:
  Viewer(net::io_context& io, std::size_t& totalEvents) : socket_(io), totalEvents_(totalEvents) {}

  void open(tcp::endpoint server, std::function<void(bool)> opened) {
    socket_.async_connect(
        server, [self = shared_from_this(), opened](boost::system::error_code ec) {
          if (ec) return opened(false);
          static const std::string request = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
          net::write(self->socket_, net::buffer(request), ec);
          opened(!ec);
          self->read();
        });
  }
  std::size_t events() const { return events_; }

 private:
  void read() {
    socket_.async_read_some(net::buffer(buffer_), [self = shared_from_this()](
                                                      boost::system::error_code ec, std::size_t n) {
      if (ec) return;
      self->count(n);
      self->read();
    });
  }
  void count(std::size_t n) {
    static constexpr char kMark[] = "id: ";
    for (std::size_t i = 0; i < n; ++i) {
      matched_ = buffer_[i] == kMark[matched_] ? matched_ + 1 : (buffer_[i] == 'i' ? 1 : 0);
      if (matched_ == 4) {
        matched_ = 0;
        ++events_;
        ++totalEvents_;
      }
    }
  }

  tcp::socket socket_;
  std::size_t& totalEvents_;
  std::array<char, 4096> buffer_{};
  std::size_t matched_ = 0;
  std::size_t events_ = 0;
};

struct Figures {
  double medianMs = 0, p99Ms = 0, maxMs = 0;
  double kbPerViewer = 0;
  double cpuMsPerPublish = 0;
  std::size_t connected = 0;
};

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

template <typename Condition>
bool runUntil(net::io_context& io, Condition done, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    io.run_one_for(10ms);
  }
  return true;
}

Figures measure(std::size_t viewerCount) {
  int commands[2], replies[2];
  if (pipe(commands) != 0 || pipe(replies) != 0) std::exit(1);
  const pid_t child = fork();
  if (child == 0) {
    close(commands[1]);
    close(replies[0]);
    serve(commands[0], replies[1]);
  }
  close(commands[0]);
  close(replies[1]);
  std::uint16_t port = 0;
  if (read(replies[0], &port, sizeof port) != sizeof port) std::exit(1);
  std::this_thread::sleep_for(100ms);
  const long baseKb = residentKb(child);

  net::io_context io(1);
  const tcp::endpoint server(net::ip::make_address("127.0.0.1"), port);
  std::size_t totalEvents = 0;
  std::vector<std::shared_ptr<Viewer>> viewers;
  std::size_t pending = 0, failed = 0;
  Figures figures;
  // Connect in waves so the listen queue never overflows.
  while (viewers.size() < viewerCount) {
    while (pending < 256 && viewers.size() < viewerCount) {
      ++pending;
      viewers.push_back(std::make_shared<Viewer>(io, totalEvents));
      viewers.back()->open(server, [&](bool ok) {
        --pending;
        if (!ok) ++failed;
      });
    }
    io.run_one_for(10ms);
  }
  runUntil(
      io, [&] { return pending == 0; }, 30s);
  figures.connected = viewerCount - failed;
  runUntil(
      io, [&] { return totalEvents >= figures.connected; }, 60s);
  std::this_thread::sleep_for(200ms);
  io.poll();
  figures.kbPerViewer =
      static_cast<double>(residentKb(child) - baseKb) / static_cast<double>(viewerCount);

  std::vector<double> latencies;
  const double cpuBefore = cpuSeconds(child);
  for (int k = 1; k <= kPublishes; ++k) {
    const std::size_t want = totalEvents + figures.connected;
    const auto start = Clock::now();
    if (write(commands[1], "p", 1) != 1) break;
    if (!runUntil(
            io, [&] { return totalEvents >= want; }, 10s)) {
      std::fprintf(stderr, "publish %d: only %zu of %zu viewers had it after 10 s\n", k,
                   figures.connected - (want - totalEvents), figures.connected);
      break;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    runUntil(
        io, [] { return false; }, 20ms);  // let the server go quiet between calls
  }
  figures.cpuMsPerPublish = (cpuSeconds(child) - cpuBefore) * 1000.0 / kPublishes;
  if (!latencies.empty()) {
    figures.medianMs = percentile(latencies, 0.5);
    figures.p99Ms = percentile(latencies, 0.99);
    figures.maxMs = *std::max_element(latencies.begin(), latencies.end());
  }

  if (write(commands[1], "q", 1) != 1) kill(child, SIGTERM);
  close(commands[1]);
  close(replies[0]);
  waitpid(child, nullptr, 0);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  raiseFileLimit();
  std::vector<std::size_t> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::stoul(argv[i]));
  if (counts.empty()) counts = {1, 1000, 10000};
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  std::printf("web board, %d publishes per run, viewers on 127.0.0.1 (open files limit %llu)\n",
              kPublishes, static_cast<unsigned long long>(limit.rlim_cur));
  std::printf("%8s %10s %13s %10s %10s %13s %15s\n", "viewers", "connected", "median ms", "p99 ms",
              "max ms", "kB/viewer", "CPU ms/publish");
  for (const std::size_t count : counts) {
    if (count + 64 > limit.rlim_cur) {
      std::printf("%8zu skipped: the open files limit is too low\n", count);
      continue;
    }
    const Figures f = measure(count);
    std::printf("%8zu %10zu %13.2f %10.2f %10.2f %13.2f %15.2f\n", count, f.connected, f.medianMs,
                f.p99Ms, f.maxMs, f.kbPerViewer, f.cpuMsPerPublish);
    std::fflush(stdout);
  }
  return 0;
}
