// How the programs answer their command line: --help and --version are printed on standard
// output and end the program with 0; a wrong option is said in one line on standard error with
// a pointer to --help, and ends it with 2.
#pragma once

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>
#include <string>

#include "platform/exit_status.h"

namespace platform {

// Says why the command line of `program` is refused; returns `kExitUsage`.
inline int refuseCommandLine(const std::string& program, const std::string& problem) {
  std::cerr << program << ": " << problem << "\ntry " << program << " --help\n";
  return kExitUsage;
}

// Parses `argv` with `app`, then runs `checkTogether`, which throws CLI::ValidationError for
// options that are wrong together. Empty when the program goes on, else the status to end with.
template <typename Check>
std::optional<int> parseOrAnswer(CLI::App& app, int argc, const char* const* argv,
                                 Check&& checkTogether) {
  try {
    app.parse(argc, argv);
    checkTogether();
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    return refuseCommandLine(app.get_name(), error.what());
  }
  return std::nullopt;
}

}  // namespace platform
