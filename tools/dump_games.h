// quarn-dump's second use: the games a server stored (quarnd --db), read
// beside a running server without disturbing it.
#pragma once

namespace quarn::tools {

// True when the arguments ask for the game file (--db); DumpGames then runs.
bool AsksForGames(int argc, char** argv);
// --db PATH (--game ID | --name NAME [--recent N]): 0, 1 for a file or game
// that cannot be read, 2 for arguments that make no sense.
int DumpGames(int argc, char** argv);

}  // namespace quarn::tools
