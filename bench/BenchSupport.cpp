#include "BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "cli/Commands.h"

extern char** environ;

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

std::unique_ptr<DemoSet>& DemoSlot() {
  static std::unique_ptr<DemoSet> demo;
  return demo;
}

NameList LoadList(const fs::path& path) {
  NameListLoad load = LoadNameList(path);
  if (load.outcome != NameListLoad::Outcome::Loaded) {
    throw std::runtime_error("cannot read " + path.string());
  }
  return std::move(load.entries);
}

std::unique_ptr<DemoSet> MakeDemo() {
  auto demo = std::make_unique<DemoSet>();
  std::string pattern = (fs::temp_directory_path() / "k4r-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  demo->root = pattern;
  demo->folder = demo->root / "demo";
  std::ostringstream out, err;
  if (cli::Run({"demo", demo->folder.string()}, std::cin, out, err) != cli::kExitOk) {
    throw std::runtime_error("k4r demo failed: " + err.str());
  }
  demo->faceFile = demo->folder / "KAO_M.VX9";
  for (const fs::directory_entry& entry : fs::directory_iterator(demo->folder)) {
    if (entry.path().extension() == ".K4R") {
      demo->samples.push_back(entry.path());
    }
  }
  std::sort(demo->samples.begin(), demo->samples.end());
  demo->officers = LoadList(demo->folder / kOfficerListFile);
  demo->faces = LoadList(demo->folder / kFaceListFile);
  demo->settingsFile = demo->root / "k4r-editor.ini";
  std::ofstream(demo->settingsFile, std::ios::binary) << "[Kao]\r\nPath=" << demo->faceFile.string() << "\r\n";
  return demo;
}

}  // namespace

const DemoSet& Demo() {
  std::unique_ptr<DemoSet>& demo = DemoSlot();
  if (!demo) {
    demo = MakeDemo();
  }
  return *demo;
}

void RemoveDemo() {
  std::unique_ptr<DemoSet>& demo = DemoSlot();
  if (demo) {
    std::error_code ignored;
    fs::remove_all(demo->root, ignored);
    demo.reset();
  }
}

fs::path SiblingProgram(const std::string& name) {
  return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

pid_t StartChild(const ChildRequest& request) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    const bool replaced = std::any_of(request.setEnvironment.begin(), request.setEnvironment.end(),
                                      [&](const std::string& set) { return set.rfind(name + '=', 0) == 0; });
    if (!replaced) {
      environment.push_back(text);
    }
  }
  environment.insert(environment.end(), request.setEnvironment.begin(), request.setEnvironment.end());

  std::vector<std::string> arguments{request.program.string()};
  arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  for (std::string& variable : environment) {
    envp.push_back(variable.data());
  }
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (request.stdoutFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, request.stdoutFd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (request.passFd >= 0) {
    // dup2 onto itself clears close-on-exec.
    posix_spawn_file_actions_adddup2(&actions, request.passFd, request.passFd);
  }
  if (!request.workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, request.workingFolder.c_str());
  }
  pid_t child = 0;
  const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    throw std::runtime_error("cannot start " + request.program.string() + ": " + std::strerror(failed));
  }
  return child;
}

int WaitChild(pid_t child, double* cpuSeconds, long* peakResidentKiB) {
  int status = 0;
  rusage usage{};
  while (::wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  if (cpuSeconds != nullptr) {
    const auto seconds = [](const timeval& time) {
      return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    *cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  }
  if (peakResidentKiB != nullptr) {
    *peakResidentKiB = usage.ru_maxrss;  // KiB on Linux
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

long PeakResidentKiB(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::stol(line.substr(6));
    }
  }
  return -1;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace k4r::bench
