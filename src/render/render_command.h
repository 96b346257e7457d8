// `huiwenfang render`: patterns drawn into files, one or thousands at a
// time, with no display. Exit status 0 on success, 1 on a failure (the
// message names the cause), 2 on bad usage (with the usage text).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace render {

inline constexpr const char* kCommandName = "render";

// args are the words after "render". The usage and version go to `out`,
// messages, the progress bar and the summary to `err`; the bar is drawn
// only when err_is_terminal.
int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     bool err_is_terminal);

// The program's version, as --version prints it.
const char* ProgramVersion();

// For main: argv[1] is "render".
int RenderMain(int argc, char** argv);

}  // namespace render
