#pragma once

#include <functional>

class QObject;
class QWidget;

namespace plumwit {

// Runs `action` once, from the event loop, after `window` is first painted:
// for work that can wait until the user sees the window, and must not hold
// up that first paint. Nothing runs if the window or `receiver` goes first.
void AfterFirstPaint(QWidget* window, QObject* receiver, std::function<void()> action);

}  // namespace plumwit
