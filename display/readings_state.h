#pragma once
// Whether a reading run is active. Display windows may be configured or closed only while no
// run is active; the acquisition clears the flag when a run starts and sets it when it stops.
// Main thread only.

// True while no reading run is active (the state at program start).
bool ReadingsStopped();
void SetReadingsStopped(bool stopped);
