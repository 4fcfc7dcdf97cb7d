// Ending the program cleanly on termination signals (SIGTERM from a session that logs out or a supervisor, SIGINT
// from Ctrl+C in a terminal, SIGHUP): the event loop is left as if the program had finished, so what runs after it
// (the window's shut-down, which writes the settings) still runs. A signal that comes before the event loop is
// ready for it ends the process at once with the signal's own status: the window's start-up may have loaded only
// part of the list then, and writing it back would lose the rest. Used by the window and by --watch.
#pragma once

#include <csignal>
#include <initializer_list>

// Installs the handling of `signalNumbers`, once, after the application object exists. False when it cannot be
// installed (no descriptor for the wake-up): the signals keep their default action then.
bool quitOnTerminationSignals(std::initializer_list<int> signalNumbers = {SIGTERM, SIGINT, SIGHUP});

// From now on a termination signal quits the event loop (once it runs; a signal that comes before is kept for it).
void eventLoopStarts();

// Whether a termination signal has ended the event loop: what runs after it then must not wait for the user (no
// message boxes; reasons go to standard error). After that first signal, another one ends the process at once.
bool terminationRequested();
