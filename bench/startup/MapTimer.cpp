// Starts a program and reports how long it took until its first top-level
// window was mapped, the program's peak resident set size, and its processor
// time (user and system, up to its end right after the map), which other
// load on the machine moves less than the elapsed time.
//
//   velkast_map_timer PROGRAM [ARGS...]
//
// Prints "<milliseconds> <peak RSS KiB> <processor milliseconds>". Needs an
// X server without a window manager, so that top-level windows are children
// of the root.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

pid_t Launch(char** argv) {
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[0], argv);
    std::perror(argv[0]);
    _exit(127);
  }
  return pid;
}

// Blocks until a child of the root window is mapped.
bool WaitForMap(Display* display, int timeoutMs) {
  const int fd = ConnectionNumber(display);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect)
        return true;
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    timeval tv{0, 10000};
    select(fd + 1, &fds, nullptr, nullptr, &tv);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: velkast_map_timer PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "velkast_map_timer: cannot open the display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const auto start = Clock::now();
  const pid_t pid = Launch(argv + 1);
  const bool mapped = WaitForMap(display, 20000);
  const auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

  kill(pid, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  XCloseDisplay(display);
  if (!mapped) {
    std::fprintf(stderr, "velkast_map_timer: no window was mapped\n");
    return 1;
  }
  const auto cpuMs = [](const timeval& tv) { return tv.tv_sec * 1000.0 + tv.tv_usec / 1000.0; };
  std::printf("%.1f %ld %.1f\n", elapsed, usage.ru_maxrss,
              cpuMs(usage.ru_utime) + cpuMs(usage.ru_stime));
  return 0;
}
