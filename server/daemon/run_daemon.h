// quarnd's whole life: options, listening, the event loop, the saves at a signal.
#pragma once

namespace quarn::server {

// The exit status: 0 after SIGINT or SIGTERM (files saved) or --help, 1 for a
// bad option, a folder that cannot be made or a port that cannot be opened.
int RunDaemon(int argc, char** argv);

}  // namespace quarn::server
