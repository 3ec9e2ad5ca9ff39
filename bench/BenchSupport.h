#pragma once
// What the benchmarks share: one demo set on disk for the whole run, the
// programs beside the benchmark, and starting child processes.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Bytes.h"
#include "core/NameList.h"

namespace k4r::bench {

// The demo set (k4r demo) in a temporary folder, made once on first use and
// removed when the benchmark ends.
struct DemoSet {
  std::filesystem::path root;      // the temporary folder
  std::filesystem::path folder;    // root/demo: BUSHOU.DAT, KAO.DAT, KAO_M.VX9, SAMPLE*.K4R
  std::filesystem::path faceFile;  // folder/KAO_M.VX9
  std::vector<std::filesystem::path> samples;
  NameList officers;                   // BUSHOU.DAT
  NameList faces;                      // KAO.DAT
  std::filesystem::path settingsFile;  // root/k4r-editor.ini, naming the face file
};
[[nodiscard]] const DemoSet& Demo();
void RemoveDemo();

// Destroys the editor window of the open benchmarks (before the QApplication).
void ReleaseWindow();

// A program built beside this benchmark (k4r, k4r-editor, k4r_startup_probe).
[[nodiscard]] std::filesystem::path SiblingProgram(const std::string& name);

struct ChildRequest {
  std::filesystem::path program;
  std::vector<std::string> arguments;  // without the program name
  std::filesystem::path workingFolder;
  std::vector<std::string> setEnvironment;  // "NAME=value", over this process's environment
  int stdoutFd = -1;                        // -1: /dev/null
  int passFd = -1;                          // kept open in the child under the same number
};

// Starts the child without waiting; throws std::runtime_error when it cannot.
[[nodiscard]] pid_t StartChild(const ChildRequest& request);
// Waits for the child; its exit status, or 128 + signal. With `cpuSeconds`,
// also the CPU time (user and system) the child used; with
// `peakResidentKiB`, its highest resident memory.
int WaitChild(pid_t child, double* cpuSeconds = nullptr, long* peakResidentKiB = nullptr);

[[nodiscard]] long long MonotonicNanoseconds();
// VmHWM of a live process, in KiB; -1 when it cannot be read.
[[nodiscard]] long PeakResidentKiB(pid_t process);

[[nodiscard]] double Median(std::vector<double> values);

}  // namespace k4r::bench
