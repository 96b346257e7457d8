// Measures a program's start from outside, as the X server sees it: launches
// the program, finds its first viewable top-level window (by _NET_WM_PID),
// then polls the given pixels of that window until each shows its expected
// colour: the first complete frame. Optionally reads the program's resident
// memory a fixed time after launch. Then ends the program with SIGTERM.
//
// usage: frame_probe [--pixel X,Y=R,G,B]... [--rss-at MS] [--timeout MS] -- PROGRAM [ARGS...]
// prints: window_ms=N frame_ms=N [rss_kb=N]      (exit 1 on timeout or failure)
//
// One poll reads a few single pixels, a fraction of a millisecond under Xvfb,
// so each figure is late by at most that much.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Probe {
  int x, y;
  unsigned long rgb;
};

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t0) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count());
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// The pid the window's owner wrote into _NET_WM_PID, or 0.
long WindowPid(Display* d, Window w, Atom netWmPid) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  long pid = 0;
  if (XGetWindowProperty(d, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
          Success &&
      data && n == 1 && format == 32)
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return pid;
}

Window FindViewableWindowOf(Display* d, pid_t pid, Atom netWmPid) {
  Window root = DefaultRootWindow(d), parent, *kids = nullptr;
  unsigned int n = 0;
  Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &kids, &n)) return 0;
  for (unsigned int i = 0; i < n && !found; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, kids[i], &a) || a.map_state != IsViewable) continue;
    if (WindowPid(d, kids[i], netWmPid) == pid) found = kids[i];
  }
  if (kids) XFree(kids);
  return found;
}

bool Shows(Display* d, Window w, const Probe& p) {
  XImage* img = XGetImage(d, w, p.x, p.y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return false;
  unsigned long v = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return (v & 0xFFFFFF) == p.rgb;
}

long ResidentKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: frame_probe [--pixel X,Y=R,G,B]... [--rss-at MS] [--timeout MS] -- PROGRAM [ARGS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Probe> probes;
  long rssAt = -1, timeout = 30000;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (i + 1 >= argc) return Usage();
    if (std::strcmp(argv[i], "--pixel") == 0) {
      Probe p{};
      unsigned r, g, b;
      if (std::sscanf(argv[++i], "%d,%d=%u,%u,%u", &p.x, &p.y, &r, &g, &b) != 5) return Usage();
      p.rgb = (r << 16) | (g << 8) | b;
      probes.push_back(p);
    } else if (std::strcmp(argv[i], "--rss-at") == 0) {
      rssAt = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--timeout") == 0) {
      timeout = std::atol(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (i + 1 >= argc) return Usage();
  char** command = argv + i + 1;

  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "frame_probe: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const Atom netWmPid = XInternAtom(d, "_NET_WM_PID", False);

  const Clock::time_point t0 = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(command[0], command);
    std::perror("frame_probe: exec");
    _exit(127);
  }
  if (pid < 0) return 1;

  long windowMs = -1, frameMs = -1;
  Window w = 0;
  while (!w && MsSince(t0) < timeout) {
    w = FindViewableWindowOf(d, pid, netWmPid);
    if (!w) std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  if (w) {
    windowMs = MsSince(t0);
    while (MsSince(t0) < timeout) {
      bool all = true;
      for (const Probe& p : probes) all = all && Shows(d, w, p);
      if (all) {
        frameMs = MsSince(t0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
  }
  long rss = -1;
  if (frameMs >= 0 && rssAt >= 0) {
    long left = rssAt - MsSince(t0);
    if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
    rss = ResidentKb(pid);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(d);
  if (frameMs < 0) {
    std::fprintf(stderr, "frame_probe: %s within %ld ms\n", w ? "no complete frame" : "no window", timeout);
    return 1;
  }
  std::printf("window_ms=%ld frame_ms=%ld", windowMs, frameMs);
  if (rssAt >= 0) std::printf(" rss_kb=%ld", rss);
  std::printf("\n");
  return 0;
}
