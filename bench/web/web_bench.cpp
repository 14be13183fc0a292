// The web board with 1, 1,000 and 10,000 viewers on 127.0.0.1: how long from the game publishing
// a state until the last viewer has it (median, p99, max over the publishes), the server's memory
// per viewer and the CPU it spends. The server runs in a child process of its own so that its
// memory and CPU are its own; the viewers are one io_uring here (Linux 6.1 or later).
//   vorlix-web-bench [viewer counts...]   (default: 1 1000 10000)
#include <arpa/inet.h>
#include <liburing.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "hosts/web/web_board_server.h"
#include "web/scripted_room.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Enough that the p99 is not simply the slowest one.
constexpr int kPublishes = 200;

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

// The viewers: one io_uring over every /events connection, counting the events ("id: " lines)
// that reach each. Each connection has a standing multishot receive into a shared pool of
// buffers, so taking what arrived costs no system call per viewer and the load generator spends
// little beside the server on the same cores.
class Viewers {
 public:
  Viewers() : pool_(kBuffers * kBufferSize) {
    io_uring_params params{};
    params.flags = IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN | IORING_SETUP_CQSIZE;
    params.cq_entries = 2 * kBuffers;
    if (io_uring_queue_init_params(1024, &ring_, &params) != 0) fail("io_uring_queue_init");
    void* memory = nullptr;
    if (posix_memalign(&memory, 4096, kBuffers * sizeof(io_uring_buf)) != 0) fail("buffers");
    buffers_ = static_cast<io_uring_buf_ring*>(memory);
    io_uring_buf_ring_init(buffers_);
    io_uring_buf_reg registration{};
    registration.ring_addr = reinterpret_cast<std::uintptr_t>(buffers_);
    registration.ring_entries = kBuffers;
    registration.bgid = 0;
    if (io_uring_register_buf_ring(&ring_, &registration, 0) != 0) fail("buffer ring");
    for (unsigned id = 0; id < kBuffers; ++id) giveBack(id, static_cast<int>(id));
    io_uring_buf_ring_advance(buffers_, static_cast<int>(kBuffers));
  }
  ~Viewers() {
    io_uring_queue_exit(&ring_);
    std::free(buffers_);
    for (const Viewer& viewer : viewers_) close(viewer.fd);
  }
  Viewers(const Viewers&) = delete;
  Viewers& operator=(const Viewers&) = delete;

  // Opens `count` viewers, taking what they are sent as it comes; returns how many are in.
  std::size_t open(const sockaddr_in& server, std::size_t count) {
    static constexpr std::string_view kRequest = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    viewers_.reserve(count);
    while (viewers_.size() < count) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0 ||
          write(fd, kRequest.data(), kRequest.size()) != static_cast<ssize_t>(kRequest.size())) {
        if (fd >= 0) close(fd);
        break;
      }
      viewers_.push_back({fd});
      receive(viewers_.size() - 1);
      if (viewers_.size() % 256 == 0) poll(0ms);
    }
    return viewers_.size();
  }

  // Takes whatever has arrived, waiting at most `wait` for something to.
  void poll(std::chrono::milliseconds wait) {
    __kernel_timespec timeout{};
    timeout.tv_sec = wait.count() / 1000;
    timeout.tv_nsec = (wait.count() % 1000) * 1'000'000;
    io_uring_cqe* completion = nullptr;
    io_uring_submit_and_wait_timeout(&ring_, &completion, 1, &timeout, nullptr);
    unsigned head = 0, seen = 0;
    int returned = 0;
    io_uring_for_each_cqe(&ring_, head, completion) {
      ++seen;
      const auto index = static_cast<std::size_t>(io_uring_cqe_get_data64(completion));
      const int result = completion->res;
      if (result > 0) {
        const unsigned id = completion->flags >> IORING_CQE_BUFFER_SHIFT;
        count(viewers_[index], &pool_[id * kBufferSize], static_cast<std::size_t>(result));
        giveBack(id, returned++);
      }
      // A receive that stops (its buffers ran out) is started again; an end or error is left.
      if (!(completion->flags & IORING_CQE_F_MORE) && (result > 0 || result == -ENOBUFS)) {
        receive(index);
      }
    }
    io_uring_cq_advance(&ring_, seen);
    io_uring_buf_ring_advance(buffers_, returned);
  }
  std::size_t totalEvents() const { return totalEvents_; }

 private:
  static constexpr unsigned kBuffers = 16384;  // a power of two, more than viewers
  static constexpr std::size_t kBufferSize = 2048;

  struct Viewer {
    int fd;
    std::size_t matched = 0;  // how much of "id: " the bytes so far end with
  };

  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "viewers: %s failed\n", what);
    std::exit(1);
  }

  void receive(std::size_t index) {
    io_uring_sqe* entry = io_uring_get_sqe(&ring_);
    if (entry == nullptr) {
      io_uring_submit(&ring_);
      entry = io_uring_get_sqe(&ring_);
    }
    io_uring_prep_recv_multishot(entry, viewers_[index].fd, nullptr, 0, 0);
    entry->flags |= IOSQE_BUFFER_SELECT;
    entry->buf_group = 0;
    io_uring_sqe_set_data64(entry, index);
  }

  // Puts buffer `id` back in the pool, `offset` places past those already given back this
  // round (they count once io_uring_buf_ring_advance says so).
  void giveBack(unsigned id, int offset) {
    io_uring_buf_ring_add(buffers_, &pool_[id * kBufferSize], kBufferSize,
                          static_cast<unsigned short>(id), io_uring_buf_ring_mask(kBuffers),
                          offset);
  }

  void count(Viewer& viewer, const char* bytes, std::size_t n) {
    static constexpr char kMark[] = "id: ";
    for (std::size_t i = 0; i < n; ++i) {
      if (viewer.matched == 0) {  // skip to the next place a mark could start
        const void* next = std::memchr(bytes + i, 'i', n - i);
        if (next == nullptr) return;
        i = static_cast<std::size_t>(static_cast<const char*>(next) - bytes);
      }
      viewer.matched =
          bytes[i] == kMark[viewer.matched] ? viewer.matched + 1 : (bytes[i] == 'i' ? 1 : 0);
      if (viewer.matched == 4) {
        viewer.matched = 0;
        ++totalEvents_;
      }
    }
  }

  io_uring ring_{};
  io_uring_buf_ring* buffers_ = nullptr;
  std::vector<char> pool_;
  std::vector<Viewer> viewers_;
  std::size_t totalEvents_ = 0;
};

struct Figures {
  double medianMs = 0, p99Ms = 0, maxMs = 0;
  double kbPerViewer = 0;
  double cpuMsPerPublish = 0;
  double viewersCpuMsPerPublish = 0;  // the load generator's own, for comparison
  std::size_t connected = 0;
};

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(at, values.size() - 1)];
}

template <typename Condition>
bool runUntil(Viewers& viewers, Condition done, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    viewers.poll(10ms);
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

  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Viewers viewers;
  Figures figures;
  figures.connected = viewers.open(server, viewerCount);
  runUntil(
      viewers, [&] { return viewers.totalEvents() >= figures.connected; }, 60s);
  std::this_thread::sleep_for(200ms);
  viewers.poll(0ms);
  figures.kbPerViewer =
      static_cast<double>(residentKb(child) - baseKb) / static_cast<double>(viewerCount);

  std::vector<double> latencies;
  const double cpuBefore = cpuSeconds(child);
  const double viewersCpuBefore = cpuSeconds(getpid());
  for (int k = 1; k <= kPublishes; ++k) {
    const std::size_t want = viewers.totalEvents() + figures.connected;
    const auto start = Clock::now();
    if (write(commands[1], "p", 1) != 1) break;
    if (!runUntil(
            viewers, [&] { return viewers.totalEvents() >= want; }, 10s)) {
      std::fprintf(stderr, "publish %d: only %zu of %zu viewers had it after 10 s\n", k,
                   figures.connected - (want - viewers.totalEvents()), figures.connected);
      break;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    runUntil(
        viewers, [] { return false; }, 20ms);  // let the server go quiet between calls
  }
  figures.cpuMsPerPublish = (cpuSeconds(child) - cpuBefore) * 1000.0 / kPublishes;
  figures.viewersCpuMsPerPublish = (cpuSeconds(getpid()) - viewersCpuBefore) * 1000.0 / kPublishes;
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
  std::printf("%8s %10s %10s %10s %10s %10s %15s %15s\n", "viewers", "connected", "median ms",
              "p99 ms", "max ms", "kB/viewer", "CPU ms/publish", "viewers' CPU");
  for (const std::size_t count : counts) {
    if (count + 64 > limit.rlim_cur) {
      std::printf("%8zu skipped: the open files limit is too low\n", count);
      continue;
    }
    const Figures f = measure(count);
    std::printf("%8zu %10zu %10.2f %10.2f %10.2f %10.2f %15.2f %15.2f\n", count, f.connected,
                f.medianMs, f.p99Ms, f.maxMs, f.kbPerViewer, f.cpuMsPerPublish,
                f.viewersCpuMsPerPublish);
    std::fflush(stdout);
  }
  return 0;
}
