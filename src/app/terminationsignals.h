// Ending the program cleanly on SIGTERM, SIGINT and SIGHUP (a session that logs out, Ctrl+C in a terminal):
// the message loop is left as if the main window had closed, so the settings are written. A signal that comes
// while the program is still starting (loading a long list, say) ends it at once and writes nothing: the list is
// only half loaded then, and writing it back would lose the rest.
#pragma once

// Call once, after the application object exists. Until eventLoopStarts() a termination signal ends the process
// at once, with the signal's own status.
void quitOnTerminationSignals();

// Call right before the message loop runs: from then on a termination signal quits the loop.
void eventLoopStarts();
