// Measures valdremo.exe against the reference program in alternating pairs
// (program first, then reference; next pair the other way round) and prints
// per-metric medians, ranges, the median of the pairwise ratios and whether
// each goal is met.
//
//   valdremo_bench PROGRAM.exe REFERENCE.exe [PAIRS]
//
// Paths may be Unix paths; under Wine they are mapped to DOS names. The
// recording browser appends each address it gets to $VALDREMO_BROWSER_LOG
// (a Unix path), which the bench watches for the click-to-address time.
// Exit code: 0 when every goal is met, 3 when one is missed, 1 when a run
// could not be measured.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "../report.h"
#include "build_config.h"
#include "drivers/process.h"

namespace {

using bench::Column;
using bench::Goal;
using bench::PrintRow;
using bench::RatioMedian;
using bench::Summarise;

constexpr wchar_t kTitle[] = L"Valdremo二级office教学视频";
constexpr int kPaperListId = 110;
constexpr int kButtonIds[3] = {100, 120, 130};  // WORD, EXCEL, PPT
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kAddressTimeoutMs = 10000;
constexpr DWORD kExitTimeoutMs = 10000;

struct Subject {
  const char* name;
  const wchar_t* windowClass;
  std::wstring path;
  long long fileSize = 0;
};

struct Sample {
  double startMs = 0, clickMs = 0, addressMs = 0, closeMs = 0;
  double peakWorkingSetKiB = 0, workingSetKiB = 0;
  DWORD exitCode = STILL_ACTIVE;
  bool addressRight = false;
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A Unix path as Wine's DOS name for it; any other path unchanged.
std::wstring DosPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  using Convert = WCHAR*(CDECL*)(const char*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  std::string narrow(path.size() * 3 + 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, narrow.data(), static_cast<int>(narrow.size()),
                      nullptr, nullptr);
  if (convert != nullptr) {
    if (WCHAR* dos = convert(narrow.c_str())) {
      std::wstring result(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring result = L"Z:" + path;
  std::replace(result.begin(), result.end(), L'/', L'\\');
  return result;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string LastLine(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const size_t start = text.find_last_of('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

HWND FindWindowOf(DWORD processId, const wchar_t* windowClass) {
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, windowClass, kTitle));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR answer = 0;
  const bool sent =
      SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
  if (result != nullptr) *result = answer;
  return sent;
}

// One start, click and close of `subject`. The click opens `paper` in
// `subject`'s part `part` (1..3).
bool Measure(const Subject& subject, const std::wstring& browserLog, int paper, int part,
             Sample& sample) {
  std::wstring commandLine = L"\"" + subject.path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};

  const double started = Now();
  if (!CreateProcessW(subject.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "bench: cannot start %s (error %lu)\n", subject.name, GetLastError());
    return false;
  }
  HWND window = nullptr;
  for (;;) {
    window = FindWindowOf(process.dwProcessId, subject.windowClass);
    DWORD_PTR ignored;
    if (window != nullptr && IsWindowVisible(window) &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) {
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 ||
        Now() - started > kStartTimeoutMs) {
      std::fprintf(stderr, "bench: %s showed no window\n", subject.name);
      TerminateProcess(process.hProcess, 1);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      return false;
    }
  }
  sample.startMs = Now() - started;

  // The click reads the selection when it happens; the list is set first.
  Send(GetDlgItem(window, kPaperListId), CB_SETCURSEL, static_cast<WPARAM>(paper - 1), 0);
  const long long logBefore = FileSize(browserLog);
  const double clicked = Now();
  Send(GetDlgItem(window, kButtonIds[part - 1]), BM_CLICK, 0, 0);
  sample.clickMs = Now() - clicked;
  while (FileSize(browserLog) <= logBefore && Now() - clicked < kAddressTimeoutMs) Sleep(1);
  sample.addressMs = Now() - clicked;
  sample.addressRight =
      LastLine(browserLog) == valdremo::build::kTutorialAddresses[paper - 1][part - 1];
  // The browser hand-off must not run into the next measurement.
  valdremo::drivers::WaitForChildren(process.dwProcessId, 5000);

  // Wine answers these from the process's VmHWM and VmRSS; it reports no
  // private or page-file bytes for another process.
  PROCESS_MEMORY_COUNTERS memory{};
  if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
    sample.peakWorkingSetKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
    sample.workingSetKiB = static_cast<double>(memory.WorkingSetSize) / 1024.0;
  }

  const double closing = Now();
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0;
  sample.closeMs = Now() - closing;
  if (!ended) TerminateProcess(process.hProcess, 1);
  GetExitCodeProcess(process.hProcess, &sample.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: valdremo_bench PROGRAM.exe REFERENCE.exe [PAIRS]\n");
    return 1;
  }
  const int pairs = argc > 3 ? _wtoi(argv[3]) : 20;
  const wchar_t* logVariable = _wgetenv(L"VALDREMO_BROWSER_LOG");
  if (pairs < 1 || logVariable == nullptr) {
    std::fprintf(stderr, "bench: PAIRS must be positive and VALDREMO_BROWSER_LOG set\n");
    return 1;
  }
  const std::wstring browserLog = DosPath(logVariable);
  const bool verbose = _wgetenv(L"VALDREMO_BENCH_VERBOSE") != nullptr;
  Subject subjects[2] = {{"valdremo.exe", L"ValdremoWindow", DosPath(argv[1])},
                         {"reference", L"ValdremoReference", DosPath(argv[2])}};
  for (Subject& subject : subjects) subject.fileSize = FileSize(subject.path);

  std::printf("valdremo bench: %d pairs, code page %u, locale ", pairs, GetACP());
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = L"?";
  GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
  std::printf("%ls\n", locale);

  // One start of each first, unmeasured: it brings the files into the cache.
  for (Subject& subject : subjects) {
    Sample ignored;
    if (!Measure(subject, browserLog, 1, 1, ignored)) return 1;
  }
  std::vector<Sample> results[2];
  for (int pair = 0; pair < pairs; ++pair) {
    const int paper = 1 + (pair * 7) % 23;
    const int part = 1 + pair % 3;
    for (int turn = 0; turn < 2; ++turn) {
      const int which = (pair + turn) % 2;  // A B, then B A
      Sample sample;
      if (!Measure(subjects[which], browserLog, paper, part, sample)) return 1;
      results[which].push_back(sample);
      if (verbose) {
        std::printf(
            "pair %2d %-12s start %7.1f ms  peak %7.0f KiB  click %6.1f ms  address %6.1f ms"
            "  close %6.1f ms  exit %lu\n",
            pair, subjects[which].name, sample.startMs, sample.peakWorkingSetKiB, sample.clickMs,
            sample.addressMs, sample.closeMs, sample.exitCode);
      }
      Sleep(300);  // the last run's teardown in the Wine server and X settles
    }
  }

  const std::vector<Sample>& program = results[0];
  const std::vector<Sample>& reference = results[1];
  std::printf("\n%-30s %29s | %29s | %6s\n", "", "valdremo.exe", "reference", "ratio");
  std::printf("%-30s %9s %9s %9s | %9s %9s %9s | %6s\n", "metric", "median", "min", "max", "median",
              "min", "max", "median");
  PrintRow("start to ready (ms)", program, reference, &Sample::startMs);
  PrintRow("peak working set (KiB)", program, reference, &Sample::peakWorkingSetKiB);
  PrintRow("working set after click (KiB)", program, reference, &Sample::workingSetKiB);
  PrintRow("click, BM_CLICK returns (ms)", program, reference, &Sample::clickMs);
  PrintRow("click to address logged (ms)", program, reference, &Sample::addressMs);
  PrintRow("WM_CLOSE to exit (ms)", program, reference, &Sample::closeMs);
  std::printf("%-30s %9lld bytes %21s | %9lld bytes\n", "executable, stripped",
              subjects[0].fileSize, "", subjects[1].fileSize);

  int exitZero[2] = {0, 0};
  int addressRight[2] = {0, 0};
  for (int which = 0; which < 2; ++which) {
    for (const Sample& sample : results[which]) {
      exitZero[which] += sample.exitCode == 0;
      addressRight[which] += sample.addressRight;
    }
  }
  std::printf("%-30s %9d/%d %19s | %9d/%d\n", "exit code 0", exitZero[0], pairs, "", exitZero[1],
              pairs);
  std::printf("%-30s %9d/%d %19s | %9d/%d\n", "right address logged", addressRight[0], pairs, "",
              addressRight[1], pairs);

  std::printf("\n");
  char measured[64];
  bool met = true;
  const double startRatio = RatioMedian(program, reference, &Sample::startMs);
  std::snprintf(measured, sizeof measured, "ratio %.3f", startRatio);
  met &= Goal("start-up ratio <= 1.05", startRatio <= 1.05, measured);

  const double peakDelta = Summarise(Column(program, &Sample::peakWorkingSetKiB)).median -
                           Summarise(Column(reference, &Sample::peakWorkingSetKiB)).median;
  std::snprintf(measured, sizeof measured, "%+.0f KiB", peakDelta);
  met &= Goal("peak working set <= reference + 512 KiB", peakDelta <= 512, measured);

  const double clickRatio = RatioMedian(program, reference, &Sample::clickMs);
  std::snprintf(measured, sizeof measured, "ratio %.3f", clickRatio);
  met &= Goal("click's own time <= 1.05 x reference", clickRatio <= 1.05, measured);

  const long long size = subjects[0].fileSize;
  std::snprintf(measured, sizeof measured, "%lld bytes (%.1f KiB)", size,
                static_cast<double>(size) / 1024);
  met &= Goal("valdremo.exe <= 64 KiB stripped", size > 0 && size <= 64 * 1024, measured);
  met &= Goal("  (hard line 128 KiB)", size > 0 && size <= 128 * 1024, measured);

  std::snprintf(measured, sizeof measured, "%d/%d, %d/%d", exitZero[0], pairs, addressRight[0],
                pairs);
  met &= Goal("exit code 0 and the right address, every run",
              exitZero[0] == pairs && addressRight[0] == pairs, measured);
  return met ? 0 : 3;
}
