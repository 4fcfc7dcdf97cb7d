// Ending the program cleanly on SIGTERM, SIGINT and SIGHUP (a session that logs out, Ctrl+C in a terminal):
// the message loop is left as if the main window had closed, so the settings are written.
#pragma once

// Call once, after the application object exists.
void quitOnTerminationSignals();
