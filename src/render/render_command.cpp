#include "render/render_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

#include "export/atomic_file.h"
#include "export/export_error.h"
#include "export/pattern_file.h"
#include "patterns/curve_pattern.h"
#include "patterns/runtime_error.h"
#include "render/batch.h"
#include "render/exact_canvas.h"
#include "render/options.h"
#include "render/progress.h"
#include "render/workers.h"

#ifndef HWF_VERSION
#define HWF_VERSION "0.1"
#endif

namespace render {
namespace {

constexpr const char* kPrefix = "huiwenfang render: ";

// The generators' errors read as the window shows them: number and message.
std::string Describe(const patterns::RuntimeError& e) {
  return "运行时错误 '" + std::to_string(e.Number()) + "': " + e.Message();
}

// Makes the folder and any missing folders above it.
void MakeFolder(const std::string& path) {
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      throw exporter::FileWriteError(part, "cannot make the folder", errno);
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw exporter::FileWriteError(path, "cannot make the folder", ENOTDIR);
}

void WriteOne(const Batch& b, std::uint64_t i, ExactCanvas* exact) {
  const patterns::PatternCode code = b.PatternAt(i);
  try {
    exporter::WriteFileAtomically(b.PathOf(i), [&](exporter::ByteSink& sink) {
      if (exact) {
        exporter::WritePicture(exact->Draw(code, b.tile.seamless), b.tile.format, b.tile.repeat, sink);
      } else {
        exporter::WritePattern(code, b.tile, sink);
      }
    });
  } catch (const patterns::RuntimeError& e) {
    throw PlanError("pattern " + patterns::WritePatternCode(code) + " cannot be drawn: " + Describe(e));
  }
}

// file, code, drawing, amplitude, line colour, background colour; one row a
// pattern, in the order of the run.
void WriteIndex(const Batch& b) {
  exporter::WriteFileAtomically(JoinPath(b.target, kIndexFileName), [&](exporter::ByteSink& sink) {
    std::string text = "file,code,drawing,amplitude,line_colour,background_colour\n";
    for (std::uint64_t i = 0; i < b.count; ++i) {
      const patterns::PatternCode c = b.PatternAt(i);
      text += b.FileNameOf(c) + ',' + patterns::WritePatternCode(c) + ',' + std::to_string(c.drawing) + ',' +
              patterns::AmplitudeText(c.amplitude) + ',' + patterns::ColourText(c.line) + ',' +
              patterns::ColourText(c.background) + '\n';
      if (text.size() >= (1u << 20)) {
        sink.Write(text.data(), text.size());
        text.clear();
      }
    }
    sink.Write(text.data(), text.size());
  });
}

std::string Summary(const Batch& b, double seconds) {
  const int side = (b.exact ? patterns::kCanvasPixels : b.tile.size) * b.tile.repeat;
  const std::string what = std::string(exporter::FormatName(b.tile.format)) + " " + std::to_string(side) +
                           " x " + std::to_string(side) + (b.exact ? " exact" : "") +
                           (b.tile.seamless ? " seamless" : "");
  char time[32];
  std::snprintf(time, sizeof time, "%.2f s", seconds);
  if (!b.several) return b.target + " (" + what + ") in " + time;
  return std::to_string(b.count) + " patterns (" + what + ") and " + kIndexFileName + " in " + b.target +
         ", " + time;
}

// A batch stopped by Ctrl+C or a kill leaves no temporary file behind: the
// handler removes them and then ends the program the way the signal asks.
void StopOnSignal(int sig) {
  exporter::RemoveUnfinishedFiles();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

class CleanUpOnSignals {
 public:
  CleanUpOnSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
      previous_[i] = std::signal(kSignals[i], StopOnSignal);
      // A signal the caller ignores (nohup) stays ignored.
      if (previous_[i] == SIG_IGN) std::signal(kSignals[i], SIG_IGN);
    }
  }
  ~CleanUpOnSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) std::signal(kSignals[i], previous_[i]);
  }
  CleanUpOnSignals(const CleanUpOnSignals&) = delete;
  CleanUpOnSignals& operator=(const CleanUpOnSignals&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  void (*previous_[std::size(kSignals)])(int);
};

int Render(const RenderOptions& options, std::ostream& err, bool err_is_terminal) {
  const Batch b = PlanBatch(options);
  CleanUpOnSignals clean_up;
  if (!b.folder.empty()) MakeFolder(b.folder);
  std::unique_ptr<ExactCanvas> exact;
  if (b.exact) exact = std::make_unique<ExactCanvas>();
  ProgressBar bar(err, b.several && !b.quiet && err_is_terminal, b.count);
  try {
    RunInParallel(
        b.several ? b.count : 1, b.jobs, [&](std::uint64_t i) { WriteOne(b, i, exact.get()); },
        [&](std::uint64_t done) { bar.Update(done); });
  } catch (...) {
    bar.End();
    throw;
  }
  bar.End();
  if (b.several) WriteIndex(b);
  err << kPrefix << Summary(b, bar.Seconds()) << '\n';
  return 0;
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     bool err_is_terminal) {
  RenderOptions options;
  try {
    options = ParseRenderOptions(args);
  } catch (const UsageError& e) {
    err << kPrefix << e.what() << '\n' << RenderUsage();
    return 2;
  }
  if (options.help) {
    out << RenderUsage();
    return 0;
  }
  if (options.version) {
    out << "huiwenfang " << ProgramVersion() << '\n';
    return 0;
  }
  try {
    return Render(options, err, err_is_terminal);
  } catch (const patterns::RuntimeError& e) {
    err << kPrefix << Describe(e) << '\n';
  } catch (const std::bad_alloc&) {
    err << kPrefix << "out of memory\n";
  } catch (const std::exception& e) {
    err << kPrefix << e.what() << '\n';
  }
  return 1;
}

const char* ProgramVersion() { return HWF_VERSION; }

int RenderMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 2, argv + argc);
  const int rc = RunRenderCommand(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
  std::cout.flush();
  return rc;
}

}  // namespace render
