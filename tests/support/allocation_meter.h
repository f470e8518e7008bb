#pragma once
// Counts the bytes this test program holds on the heap (global operator new and delete are
// replaced in allocation_meter.cpp), so a test can tell what a piece of work needed at its
// peak without measuring the process.
#include <cstddef>

namespace allocation_meter {

// Starts a measurement: the peak restarts from what is held now.
void Restart();
// The most held at once since Restart, beyond what was held then.
size_t PeakSinceRestart();

}  // namespace allocation_meter
