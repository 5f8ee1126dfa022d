// The signals that ask a program to end (a logout, `kill`, a closed terminal), caught so that
// the event loop can end it as its own Exit command does.
#pragma once

namespace tessaview {

// Catches them from now on: each writes a byte that the returned descriptor can read. -1 when
// they cannot be caught (or already are); they then keep their default action.
int CatchEndSignals();
// The number of signals caught since the last call; reads what `descriptor` holds, never waits.
int TakeEndSignals(int descriptor);
// Gives the signals their default action back and closes the descriptors.
void ReleaseEndSignals();

}  // namespace tessaview
