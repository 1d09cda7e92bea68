// Peak memory of velkast-cli on hostile and on large input: endless NULs,
// one huge line, the longest lines it takes, a large file of short lines.
// The figure is the system's own high-water mark of the finished process
// (ru_maxrss from wait4). It also holds what the process held before its
// exec, this small program's few MiB, so it never reads below that floor.
//
//   velkast_cli_peak_memory [megabytes] [seconds] -- COMMAND...
//     megabytes  size of the huge line and of the file of short lines (200)
//     seconds    a run still going after this long is killed (60)
//     COMMAND    velkast-cli, or a runner and its arguments before it:
//                -- cmake/wine-run.sh build/windows/tools/velkast-cli.exe
//                (Wine execs the program in place, so the figure is the
//                Windows process's own, Wine's libraries included)
//
// Prints one table. A run whose resident set passes 3 GiB is killed there.
// Exits 1 when a run ends with another status than expected, never because
// of a figure.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr long kRssCapKib = 3L << 20;
constexpr std::size_t kLongestPassword = 1 << 20;
constexpr std::string_view kPasswordText = "53877449c8ce5745eefc1ef26d760efa";

struct Run {
  std::string status;  // the exit status, "signal N", or "killed"
  long peakKib = 0;
  double seconds = 0;
  std::string firstError;  // the first line on standard error
};

long RssKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:"))
      return std::atol(line.c_str() + 6);
  return 0;
}

Run RunOnce(const std::vector<std::string>& command, const fs::path& in, const fs::path& out,
            double deadline) {
  const fs::path err = out.string() + ".err";
  std::vector<char*> argv;
  for (const std::string& arg : command)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(in.c_str(), O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  Run run;
  int wstatus = 0;
  rusage usage{};
  bool bKilled = false;
  while (wait4(pid, &wstatus, WNOHANG, &usage) == 0) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!bKilled && (elapsed.count() > deadline || RssKib(pid) > kRssCapKib)) {
      kill(pid, SIGKILL);
      bKilled = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakKib = usage.ru_maxrss;
  run.status = bKilled              ? "killed"
               : WIFEXITED(wstatus) ? std::to_string(WEXITSTATUS(wstatus))
                                    : "signal " + std::to_string(WTERMSIG(wstatus));
  std::ifstream errors(err);
  std::getline(errors, run.firstError);
  fs::remove(err);
  return run;
}

void WriteRepeated(const fs::path& path, std::string_view unit, std::size_t size,
                   std::string_view end = {}) {
  std::string chunk;
  while (!unit.empty() && chunk.size() < 65536)
    chunk += unit;
  std::ofstream file(path, std::ios::binary);
  size -= unit.empty() ? 0 : size % unit.size();  // whole units: whole lines
  for (std::size_t done = 0; done < size;) {
    const std::size_t n = std::min(chunk.size(), size - done);
    file.write(chunk.data(), static_cast<std::streamsize>(n));
    done += n;
  }
  file << end;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const auto dashes = std::find(args.begin(), args.end(), "--");
  if (dashes == args.end() || dashes + 1 == args.end()) {
    std::fprintf(stderr, "usage: %s [megabytes] [seconds] -- COMMAND...\n", argv[0]);
    return 2;
  }
  const std::vector<std::string> cli(dashes + 1, args.end());
  const std::vector<std::string> options(args.begin(), dashes);
  const std::string megabytes = options.size() > 0 ? options[0] : "200";
  const std::size_t size = std::stoul(megabytes) * 1000 * 1000;
  const double deadline = options.size() > 1 ? std::stod(options[1]) : 60;

  char szWork[] = "/tmp/velkast-peak-XXXXXX";
  const fs::path work = mkdtemp(szWork);
  const auto path = [&](const char* name) { return work / name; };
  WriteRepeated(path("empty"), "", 0);
  WriteRepeated(path("line"), "a", size);
  WriteRepeated(path("digits"), "0", size);
  WriteRepeated(path("longest"), "a", kLongestPassword, "\n");
  WriteRepeated(path("short"), "password\n", size);
  WriteRepeated(path("texts"), std::string(kPasswordText) + "\n", size);
  const auto with = [&](const char* command) {
    std::vector<std::string> full = cli;
    full.push_back(command);
    return full;
  };
  RunOnce(with("encrypt"), path("longest"), path("longest-text"), deadline);

  const std::string mb = megabytes + " MB";
  const struct {
    std::string what;
    const char* command;
    fs::path in;
    const char* expected;
  } cases[] = {
      {"--version", "--version", path("empty"), "0"},
      {"encrypt < /dev/zero", "encrypt", "/dev/zero", "1"},
      {"decrypt < /dev/zero", "decrypt", "/dev/zero", "1"},
      {"encrypt, one " + mb + " line", "encrypt", path("line"), "1"},
      {"decrypt, one " + mb + " line of digits", "decrypt", path("digits"), "1"},
      {"encrypt, the longest line (1 MiB)", "encrypt", path("longest"), "0"},
      {"decrypt, the text of that line", "decrypt", path("longest-text"), "0"},
      {"encrypt, " + mb + " of short lines", "encrypt", path("short"), "0"},
      {"decrypt, " + mb + " of texts", "decrypt", path("texts"), "0"},
  };
  std::printf("%-40s %10s %8s %8s %8s  %s\n", "input", "peak KiB", "MiB", "seconds", "status",
              "first line on standard error");
  int failures = 0;
  for (const auto& c : cases) {
    const Run run = RunOnce(with(c.command), c.in, path("out"), deadline);
    const bool bExpected = run.status == c.expected;
    failures += !bExpected;
    std::printf("%-40s %10ld %8.1f %8.2f %8s  %.60s%s\n", c.what.c_str(), run.peakKib,
                run.peakKib / 1024.0, run.seconds, run.status.c_str(), run.firstError.c_str(),
                bExpected ? "" : ("  (expected " + std::string(c.expected) + ")").c_str());
  }
  fs::remove_all(work);
  return failures == 0 ? 0 : 1;
}
