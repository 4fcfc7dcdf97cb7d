// Work that must run however the process ends while the main window lives. Qt's X11 platform plugin ends the program
// with exit(1) when the connection to the X server breaks (the server crashed, or a logout ended the display first);
// no destructor on the stack runs then, only the process's exit handlers, from which this work is run.
#pragma once

#include <functional>

// Sets the work to run if the process exits before clearAbruptExitWork() (an empty function clears it too). The work
// runs at most once, on the thread that calls exit(), and must not wait for the user or the X server.
void setAbruptExitWork(std::function<void()> work);
void clearAbruptExitWork();
