#pragma once

#include <string>

namespace qthost {

// Qt's accessibility bridge asks for the desktop session's message bus (D-Bus) as the window is
// first shown, and the window waits for the answer. Where no bus can be found, the D-Bus library
// forks the whole process to run dbus-launch and start one; where there is no dbus-launch either,
// that fork can only fail, after copying the caller's memory: several milliseconds of the first
// frame, and tens where fresh memory is slow to touch.

// Whether the D-Bus library could find a session bus or start one: an address given, the user's
// bus under the runtime directory, or dbus-launch in one of the directories of `searchPath`
// (colon-separated, an empty entry being the current directory).
bool sessionBusCanBeHad(const std::string& address, const std::string& runtimeDirectory,
                        const std::string& searchPath);

// Where no session bus can be had, says so in the environment, so that the D-Bus library fails at
// once instead of forking to try; anywhere else it changes nothing. It sets the environment, so it
// runs before the program starts any thread.
void skipHopelessSessionBusLaunch();

}  // namespace qthost
