// Measures the Linux program against the Qt reference program on the X
// server $DISPLAY (a private Xvfb with a black root, see bench/run-linux),
// in alternating pairs (program first, then reference; next pair the other
// way round); prints per-metric medians, ranges, the median of the pairwise
// ratios and whether each goal is met.
//
//   valdremo_x11_bench PROGRAM REFERENCE [PAIRS]
//
// Ready means: a viewable top-level window of the started process with the
// title exists, its first frame is on the screen (its pixels are no longer
// the root's black), and its event loop has answered a _NET_WM_PING sent
// after that. Exit code: 0 when every goal is met, 3 when one is missed, 1
// when a run could not be measured.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "../report.h"

namespace {

using bench::Column;
using bench::Goal;
using bench::PrintRow;
using bench::RatioMedian;
using bench::Summarise;

constexpr char kTitle[] = "Valdremo二级office教学视频";
constexpr double kStartTimeoutMs = 20000;
constexpr double kFocusTimeoutMs = 5000;
constexpr double kExitTimeoutMs = 10000;

struct Subject {
  const char* name;
  const char* path;
};

struct Sample {
  double mappedMs = 0, paintedMs = 0, readyMs = 0, closeMs = 0;
  double peakRssKiB = 0;
  int exitCode = -1;
};

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void Pause() {
  const timespec half{0, 500000};
  nanosleep(&half, nullptr);
}

// Windows come and go while they are looked at; their errors are expected.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

class XServer {
 public:
  explicit XServer(Display* display)
      : display_(display),
        root_(DefaultRootWindow(display)),
        pid_(XInternAtom(display, "_NET_WM_PID", False)),
        name_(XInternAtom(display, "_NET_WM_NAME", False)),
        utf8_(XInternAtom(display, "UTF8_STRING", False)),
        protocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
        ping_(XInternAtom(display, "_NET_WM_PING", False)) {
    // Clients answer a ping by sending it to the root window, for those
    // that watch the root's structure (Qt) or its children's.
    XSelectInput(display_, root_, StructureNotifyMask | SubstructureNotifyMask);
  }

  // The viewable top-level window of `process` with the title, or None.
  Window Find(pid_t process) {
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = None;
    if (!XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) return None;
    for (unsigned i = 0; i < count && found == None; ++i) {
      XWindowAttributes attributes{};
      if (XGetWindowAttributes(display_, children[i], &attributes) &&
          attributes.map_state == IsViewable && Cardinal(children[i], pid_) == process &&
          Text(children[i], name_, utf8_) == kTitle) {
        found = children[i];
      }
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  // True once the window shows anything but the root's black in its corner,
  // which only its own paint puts there.
  bool Painted(Window window) {
    XImage* image = XGetImage(display_, window, 2, 2, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel != 0;
  }

  void Ping(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping_);
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
  }

  // True if the window's answer to a ping has arrived.
  bool Answered(Window window) {
    bool answered = false;
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == ClientMessage && event.xclient.message_type == protocols_ &&
          static_cast<Atom>(event.xclient.data.l[0]) == ping_ &&
          static_cast<Window>(event.xclient.data.l[2]) == window) {
        answered = true;
      }
    }
    return answered;
  }

  bool Focused(Window window) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus == window;
  }

  void PressEscape(Window window) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = display_;
    event.xkey.window = window;
    event.xkey.root = root_;
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display_, XK_Escape);
    XSendEvent(display_, window, True, KeyPressMask, &event);
    event.xkey.type = KeyRelease;
    XSendEvent(display_, window, True, KeyReleaseMask, &event);
    XFlush(display_);
  }

 private:
  long Cardinal(Window window, Atom property) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(display_, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &after, &data) == Success &&
        data != nullptr && items == 1 && format == 32) {
      value = *reinterpret_cast<long*>(data);
    }
    if (data != nullptr) XFree(data);
    return value;
  }

  std::string Text(Window window, Atom property, Atom type) {
    Atom actual;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    std::string value;
    if (XGetWindowProperty(display_, window, property, 0, 256, False, type, &actual, &format,
                           &items, &after, &data) == Success &&
        data != nullptr && format == 8) {
      value.assign(reinterpret_cast<char*>(data), items);
    }
    if (data != nullptr) XFree(data);
    return value;
  }

  Display* display_;
  Window root_;
  Atom pid_, name_, utf8_, protocols_, ping_;
};

double PeakRssKiB(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6);
  }
  return 0;
}

// Waits for the process to end; its exit code, or -1 if it did not end in
// time (it is killed then).
int WaitForExit(pid_t process, double timeoutMs) {
  const double end = Now() + timeoutMs;
  int status = 0;
  while (waitpid(process, &status, WNOHANG) == 0) {
    if (Now() > end) {
      kill(process, SIGKILL);
      waitpid(process, &status, 0);
      return -1;
    }
    Pause();
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

bool Measure(XServer& server, const Subject& subject, Sample& sample) {
  const double started = Now();
  const pid_t process = fork();
  if (process < 0) return false;
  if (process == 0) {
    execl(subject.path, subject.path, static_cast<char*>(nullptr));
    _exit(127);
  }
  Window window = None;
  bool pinged = false;
  for (;;) {
    if (window == None && (window = server.Find(process)) != None) {
      sample.mappedMs = Now() - started;
    }
    if (window != None && !pinged && server.Painted(window)) {
      sample.paintedMs = Now() - started;
      server.Ping(window);
      pinged = true;
    }
    if (pinged && server.Answered(window)) break;
    int status = 0;
    if (waitpid(process, &status, WNOHANG) == process || Now() - started > kStartTimeoutMs) {
      std::fprintf(stderr, "bench: %s was not ready (window %s, painted %s)\n", subject.name,
                   window != None ? "found" : "not found", pinged ? "yes" : "no");
      kill(process, SIGKILL);
      waitpid(process, &status, 0);
      return false;
    }
    Pause();
  }
  sample.readyMs = Now() - started;
  sample.peakRssKiB = PeakRssKiB(process);

  // Without a window manager the program gives its window the keyboard
  // itself; Esc goes to the window that has it.
  const double focusEnd = Now() + kFocusTimeoutMs;
  while (!server.Focused(window) && Now() < focusEnd) Pause();
  const double closing = Now();
  server.PressEscape(window);
  sample.exitCode = WaitForExit(process, kExitTimeoutMs);
  sample.closeMs = Now() - closing;
  return true;
}

long long FileSize(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: valdremo_x11_bench PROGRAM REFERENCE [PAIRS]\n");
    return 1;
  }
  const int pairs = argc > 3 ? std::atoi(argv[3]) : 20;
  Display* display = XOpenDisplay(nullptr);
  if (pairs < 1 || display == nullptr) {
    std::fprintf(stderr, "bench: PAIRS must be positive and $DISPLAY an X server\n");
    return 1;
  }
  XSetErrorHandler(&IgnoreErrors);
  XServer server(display);
  const Subject subjects[2] = {{"valdremo", argv[1]}, {"reference", argv[2]}};
  const bool verbose = std::getenv("VALDREMO_BENCH_VERBOSE") != nullptr;
  std::printf("valdremo bench (X11): %d pairs, LANG=%s\n", pairs,
              std::getenv("LANG") != nullptr ? std::getenv("LANG") : "");

  // One start of each first, unmeasured: it brings the files into the cache.
  for (const Subject& subject : subjects) {
    Sample ignored;
    if (!Measure(server, subject, ignored)) return 1;
  }
  std::vector<Sample> results[2];
  for (int pair = 0; pair < pairs; ++pair) {
    for (int turn = 0; turn < 2; ++turn) {
      const int which = (pair + turn) % 2;  // A B, then B A
      Sample sample;
      if (!Measure(server, subjects[which], sample)) return 1;
      results[which].push_back(sample);
      if (verbose) {
        std::printf(
            "pair %2d %-10s mapped %6.1f  painted %6.1f  ready %6.1f ms  peak %7.0f KiB"
            "  Esc %6.1f ms  exit %d\n",
            pair, subjects[which].name, sample.mappedMs, sample.paintedMs, sample.readyMs,
            sample.peakRssKiB, sample.closeMs, sample.exitCode);
      }
      const timespec settle{0, 100000000};
      nanosleep(&settle, nullptr);
    }
  }

  const std::vector<Sample>& program = results[0];
  const std::vector<Sample>& reference = results[1];
  std::printf("\n%-30s %29s | %29s | %6s\n", "", "valdremo", "reference", "ratio");
  std::printf("%-30s %9s %9s %9s | %9s %9s %9s | %6s\n", "metric", "median", "min", "max", "median",
              "min", "max", "median");
  PrintRow("window mapped (ms)", program, reference, &Sample::mappedMs);
  PrintRow("first frame shown (ms)", program, reference, &Sample::paintedMs);
  PrintRow("start to ready (ms)", program, reference, &Sample::readyMs);
  PrintRow("peak RSS, VmHWM (KiB)", program, reference, &Sample::peakRssKiB);
  PrintRow("Esc to exit (ms)", program, reference, &Sample::closeMs);
  std::printf("%-30s %9lld bytes %21s | %9lld bytes\n", "executable", FileSize(argv[1]), "",
              FileSize(argv[2]));
  int exitZero[2] = {0, 0};
  for (int which = 0; which < 2; ++which) {
    for (const Sample& sample : results[which]) exitZero[which] += sample.exitCode == 0;
  }
  std::printf("%-30s %9d/%d %19s | %9d/%d\n", "exit code 0", exitZero[0], pairs, "", exitZero[1],
              pairs);

  std::printf("\n");
  char measured[64];
  bool met = true;
  const double startRatio = RatioMedian(program, reference, &Sample::readyMs);
  std::snprintf(measured, sizeof measured, "ratio %.3f", startRatio);
  met &= Goal("start-up ratio <= 1.10", startRatio <= 1.10, measured);
  const double rssDelta = Summarise(Column(program, &Sample::peakRssKiB)).median -
                          Summarise(Column(reference, &Sample::peakRssKiB)).median;
  std::snprintf(measured, sizeof measured, "%+.0f KiB", rssDelta);
  met &= Goal("peak RSS <= reference + 2048 KiB", rssDelta <= 2048, measured);
  std::snprintf(measured, sizeof measured, "%d/%d", exitZero[0], pairs);
  met &= Goal("Esc ends it with exit code 0, every run", exitZero[0] == pairs, measured);
  XCloseDisplay(display);
  return met ? 0 : 3;
}
