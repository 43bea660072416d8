#pragma once
// A run stopped by Ctrl+C, a closed terminal or kill leaves no temporary file, and still ends
// with the status of the signal, so that a shell or scheduler sees it was stopped.
namespace orvello {

// For SIGINT, SIGTERM and SIGHUP.
void removeTemporariesOnStop();

}  // namespace orvello
