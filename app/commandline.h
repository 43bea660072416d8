#pragma once
// What both programs answer without starting up: --help and --version.
#include <optional>

namespace orvello {

const char* orvelloHelpText();
const char* stampHelpText();

// When the first argument asks for the help (-h, --help) or the version (-V, --version), prints
// it to standard output and returns the exit status 0; otherwise returns nothing. It runs before
// any Qt application object exists, so it needs no display and takes no instance lock.
std::optional<int> answerInfoOption(int argc, char** argv, const char* program, const char* help);

}  // namespace orvello
