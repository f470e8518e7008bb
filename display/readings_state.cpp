#include "display/readings_state.h"

namespace {
bool g_readingsStopped = true;
}  // namespace

bool ReadingsStopped() { return g_readingsStopped; }
void SetReadingsStopped(bool stopped) { g_readingsStopped = stopped; }
