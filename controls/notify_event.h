#pragma once
// The event handlers the indicator controls raise: called with the control as sender.
// The program assigns none; they exist for tools and tests.
#include <functional>

class QObject;

namespace draw {
using NotifyEvent = std::function<void(QObject* sender)>;
}  // namespace draw
