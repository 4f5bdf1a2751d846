// make bench: Orvalix against reference programs, alternating over rounds,
// under one Wine + Xvfb run. Prints the median of each figure and the ratios
// against the references that start as Orvalix does; the bare ones are shown
// beside them for what the manifest and the early load cost.
//   start: CreateProcess until the window is visible
//   idle:  CPU time over 10 s of an idle window, in per cent of one core
//   peak:  peak working set
//   CC6:   whether Common Controls 6 was loaded, which the manifest decides:
//          a build that lost it would compare unlike with like unnoticed
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../win32/test_util.h"

namespace {

struct Figures {
  double startMs, idlePercent, peakKiB;
  bool commonControls6;
};

double seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// Wine does not report another process's CPU time, so it is read from the
// Linux side: the Wine process whose command line names the program's copy.
std::string unixStat(const std::string& token) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  std::string stat;
  if (find == INVALID_HANDLE_VALUE) return stat;
  do {
    std::string name = entry.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string cmdline = testutil::readFile("Z:\\proc\\" + name + "\\cmdline");
    if (cmdline.find(token) != std::string::npos &&
        cmdline.find("bench.exe") == std::string::npos) {
      stat = "Z:\\proc\\" + name + "\\stat";
      break;
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return stat;
}

double cpuSeconds(const std::string& statPath) {
  std::string stat = testutil::readFile(statPath);
  size_t at = stat.rfind(')');
  if (at == std::string::npos) return 0;
  unsigned long long utime = 0, stime = 0;
  std::sscanf(stat.c_str() + at + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
              &utime, &stime);
  return double(utime + stime) / 100.0;  // USER_HZ
}

// Version 6 is a side-by-side assembly, loaded from its own folder under
// winsxs; version 5 from the system folder.
bool loadsCommonControls6(HANDLE process) {
  HMODULE modules[1024];
  DWORD bytes = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return false;
  for (DWORD i = 0; i < std::min<DWORD>(bytes, sizeof modules) / sizeof *modules; ++i) {
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameExA(process, modules[i], path, sizeof path);
    std::string lower(path, n);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find(".common-controls_") != std::string::npos) return true;
  }
  return false;
}

bool measure(const std::string& original, const std::string& args, const std::string& dir,
             DWORD idleMs, Figures& out) {
  static int serial;
  std::string token = "orvmeasured" + std::to_string(++serial) + ".exe";
  std::string exe = dir + token;
  CopyFileA(original.c_str(), exe.c_str(), FALSE);
  std::string line = "\"" + exe + "\" " + args;
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi;
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi))
    return false;
  std::vector<HWND> shown;
  for (DWORD start = GetTickCount(); shown.empty() && GetTickCount() - start < 20000;)
    if ((shown = testutil::topWindows(pi.dwProcessId)).empty()) Sleep(1);
  QueryPerformanceCounter(&t1);
  bool ok = !shown.empty();
  if (ok) {
    out.startMs = seconds(t0, t1) * 1000;
    Sleep(500);  // settle
    std::string stat = unixStat(token);
    double c0 = cpuSeconds(stat);
    Sleep(idleMs);
    out.idlePercent = (cpuSeconds(stat) - c0) * 100000.0 / idleMs;
    ok = !stat.empty();
    PROCESS_MEMORY_COUNTERS m = {sizeof m};
    GetProcessMemoryInfo(pi.hProcess, &m, sizeof m);
    out.peakKiB = m.PeakWorkingSetSize / 1024.0;
    out.commonControls6 = loadsCommonControls6(pi.hProcess);
    PostMessageA(shown[0], WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DeleteFileA(exe.c_str());
  return ok;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 6 ? std::atoi(argv[6]) : 5;
  if (argc < 6 || rounds < 1) {
    std::printf(
        "usage: bench ORVALIX_EXE REF_DIALOG_EXE REF_POLL_EXE BARE_DIALOG_EXE BARE_POLL_EXE\n"
        "             [rounds >= 1] [idle ms]\n"
        "The first two references start as Orvalix does; the ratios are taken against them.\n");
    return 2;
  }
  DWORD idle = argc > 7 ? std::atoi(argv[7]) : 10000;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  struct Program {
    const char* name;
    std::string exe, args;
    std::vector<double> start, cpu, peak;
    int commonControls6Rounds;
  } programs[] = {{"Orvalix", argv[1], "nostartup", {}, {}, {}, 0},
                  {"reference dialog", argv[2], "", {}, {}, {}, 0},
                  {"reference poll loop", argv[3], "", {}, {}, {}, 0},
                  {"bare reference dialog", argv[4], "", {}, {}, {}, 0},
                  {"bare reference poll loop", argv[5], "", {}, {}, {}, 0}};
  for (int r = 0; r < rounds; ++r) {
    for (auto& p : programs) {
      Figures f;
      if (!measure(p.exe, p.args, temp, idle, f)) {
        std::printf("%s: no window\n", p.name);
        return 1;
      }
      p.start.push_back(f.startMs);
      p.cpu.push_back(f.idlePercent);
      p.peak.push_back(f.peakKiB);
      p.commonControls6Rounds += f.commonControls6;
    }
    std::printf("round %d of %d done\n", r + 1, rounds);
    std::fflush(stdout);
  }
  std::printf("\nmedians of %d rounds\n%-26s %10s %12s %10s %6s\n", rounds, "", "start ms",
              "idle CPU %", "peak KiB", "CC6");
  for (auto& p : programs) {
    int n = p.commonControls6Rounds;
    std::string cc6 = n == rounds ? "yes"
                      : n == 0    ? "no"
                                  : std::to_string(n) + "/" + std::to_string(rounds);
    std::printf("%-26s %10.1f %12.3f %10.0f %6s\n", p.name, median(p.start), median(p.cpu),
                median(p.peak), cc6.c_str());
  }
  if (programs[0].commonControls6Rounds != programs[1].commonControls6Rounds ||
      programs[0].commonControls6Rounds != programs[2].commonControls6Rounds)
    std::printf(
        "\nnote: Orvalix and the references differ in Common Controls 6: the ratios "
        "compare unlike with like\n");
  using Figure = std::vector<double> Program::*;
  auto ratio = [&](Figure figure, int reference) {
    return median(programs[0].*figure) / std::max(median(programs[reference].*figure), 1e-9);
  };
  struct {
    const char* label;
    Figure figure;
    int reference;  // its bare counterpart is two further on
  } ratios[] = {{"Orvalix / reference dialog, start-to-window:", &Program::start, 1},
                {"Orvalix / reference poll loop, idle CPU:", &Program::cpu, 2},
                {"Orvalix / reference dialog, peak working set:", &Program::peak, 1}};
  std::printf("\n");
  for (auto& r : ratios)
    std::printf("%-46s %6.2f   (bare: %.2f)\n", r.label, ratio(r.figure, r.reference),
                ratio(r.figure, r.reference + 2));
  return 0;
}
