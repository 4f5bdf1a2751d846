// make bench: Orvalix against bare references, alternating over rounds, under
// one Wine + Xvfb run. Prints the median of each figure and the ratios.
//   start: CreateProcess until the window is visible
//   idle:  CPU time over 10 s of an idle window, in per cent of one core
//   peak:  peak working set
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../win32/test_util.h"

namespace {

struct Figures {
  double startMs, idlePercent, peakKiB;
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
  if (argc < 4) {
    std::printf("usage: bench ORVALIX_EXE REF_DIALOG_EXE REF_POLL_EXE [rounds] [idle ms]\n");
    return 2;
  }
  int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
  DWORD idle = argc > 5 ? std::atoi(argv[5]) : 10000;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  struct Program {
    const char* name;
    std::string exe, args;
    std::vector<double> start, cpu, peak;
  } programs[] = {{"Orvalix", argv[1], "nostartup", {}, {}, {}},
                  {"reference dialog", argv[2], "", {}, {}, {}},
                  {"reference poll loop", argv[3], "", {}, {}, {}}};
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
    }
    std::printf("round %d of %d done\n", r + 1, rounds);
    std::fflush(stdout);
  }
  std::printf("\nmedians of %d rounds\n%-22s %12s %12s %12s\n", rounds, "", "start ms",
              "idle CPU %", "peak KiB");
  for (auto& p : programs)
    std::printf("%-22s %12.1f %12.3f %12.0f\n", p.name, median(p.start), median(p.cpu),
                median(p.peak));
  auto& o = programs[0];
  std::printf("\nOrvalix / reference dialog, start-to-window: %.2f\n",
              median(o.start) / median(programs[1].start));
  std::printf("Orvalix / reference poll loop, idle CPU:    %.2f\n",
              median(o.cpu) / std::max(median(programs[2].cpu), 1e-9));
  std::printf("Orvalix / reference dialog, peak working set: %.2f\n",
              median(o.peak) / median(programs[1].peak));
  return 0;
}
