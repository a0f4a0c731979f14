// quarnd: the game server without a window.
#include "server/daemon/run_daemon.h"

int main(int argc, char** argv) {
  return quarn::server::RunDaemon(argc, argv);
}
