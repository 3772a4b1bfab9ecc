#include "platform/limited_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <grp.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

constexpr uid_t kNobody = 65534;

void setLimit(int resource, rlim_t value) {
  const rlimit limit{value, value};
  setrlimit(resource, &limit);
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(char* const* argv, char* const* environment, const ProcessLimits& limits,
                              int outFd, int errFd) {
  setpgid(0, 0);
  // A server killed outright takes its verifications with it.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  dup2(outFd, 1);
  dup2(errFd, 2);
  const int devNull = open("/dev/null", O_RDONLY);
  dup2(devNull, 0);
  for (int fd = 3; fd < 1024; ++fd) close(fd);
  if (geteuid() == 0) {
    unshare(CLONE_NEWNET);
    setgroups(0, nullptr);
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
  } else {
    unshare(CLONE_NEWUSER | CLONE_NEWNET);
  }
  setLimit(RLIMIT_CPU, rlim_t(limits.cpuSeconds));
  if (limits.memoryBytes > 0) setLimit(RLIMIT_AS, rlim_t(limits.memoryBytes));
  setLimit(RLIMIT_CORE, 0);
  setLimit(RLIMIT_FSIZE, rlim_t(1) << 20);
  setLimit(RLIMIT_NOFILE, 256);
  execve(argv[0], argv, environment);
  _exit(127);
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (std::string& text : strings) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

// Appends what `fd` has to `into`, up to `limit` bytes kept. False at its end.
bool drain(int fd, std::string& into, std::size_t limit) {
  char buffer[4096];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got <= 0) return got < 0 && errno == EINTR;
  const std::size_t room = limit > into.size() ? limit - into.size() : 0;
  into.append(buffer, std::min(room, std::size_t(got)));
  return true;
}

// Reads the child's stdout and stderr into `outcome` until both close, the wall time runs out
// or `stop` is set (the child's group is then killed). Closes both descriptors.
ProcessOutcome::End collectOutput(pid_t child, int outFd, int errFd, const ProcessLimits& limits,
                                  const std::atomic<bool>& stop, ProcessOutcome& outcome) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration<double>(limits.wallSeconds);
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* into[2] = {&outcome.out, &outcome.err};
  int open = 2;
  auto end = ProcessOutcome::End::Exited;
  while (open > 0) {
    if (stop) end = ProcessOutcome::End::Stopped;
    if (std::chrono::steady_clock::now() > deadline) end = ProcessOutcome::End::WallTimeout;
    if (end != ProcessOutcome::End::Exited) {
      kill(-child, SIGKILL);
      break;
    }
    if (poll(fds, 2, 100) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
          !drain(fds[i].fd, *into[i], limits.outputBytes)) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  return end;
}

}  // namespace

ProcessOutcome runLimited(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment,
                          const ProcessLimits& limits, const std::atomic<bool>& stop) {
  ProcessOutcome outcome;
  std::vector<std::string> args = argv;
  std::vector<std::string> env = environment;
  const auto argPointers = pointers(args);
  const auto envPointers = pointers(env);
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return outcome;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return outcome;
  }
  const pid_t child = fork();
  if (child == 0) becomeChild(argPointers.data(), envPointers.data(), limits, outPipe[1], errPipe[1]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (child < 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    return outcome;
  }
  setpgid(child, child);
  outcome.end = collectOutput(child, outPipe[0], errPipe[0], limits, stop, outcome);
  int status = 0;
  // Its output closed (at its exit) or its group was killed: the child has ended or is ending.
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  kill(-child, SIGKILL);
  if (outcome.end != ProcessOutcome::End::Exited) return outcome;
  if (WIFSIGNALED(status)) {
    outcome.end = ProcessOutcome::End::Signalled;
    outcome.code = WTERMSIG(status);
  } else {
    outcome.code = WEXITSTATUS(status);
  }
  return outcome;
}

bool childrenHaveNoNetwork() {
  static const bool isolated = [] {
    const pid_t child = fork();
    if (child == 0) {
      const int flags = geteuid() == 0 ? CLONE_NEWNET : CLONE_NEWUSER | CLONE_NEWNET;
      _exit(unshare(flags) == 0 ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }();
  return isolated;
}

bool makeChildOutputFile(const std::string& path) {
  unlink(path.c_str());
  const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool owned = geteuid() != 0 || fchown(fd, kNobody, kNobody) == 0;
  close(fd);
  return owned;
}

std::string makeScratchFolder(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/" +
                        prefix + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return {};
  // The children may run as another user: they may enter, not list.
  chmod(pattern.c_str(), 0711);
  return pattern;
}

}  // namespace platform
