#pragma once

#include <exception>
#include <utility>

#include <QString>

#include "ui/user_messages.h"

namespace plumwit {

// Runs a handler so that no exception leaves it: what the handler does not
// catch itself ends it and goes to the default error display, and the
// program carries on with whatever the handler had already changed.
template <typename Handler>
void RunGuarded(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    ShowDefaultError(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowDefaultError(QStringLiteral("Unknown error"));
  }
}

// A slot for connect(): the member handler run inside the guard.
template <typename Object>
auto Guarded(Object* object, void (Object::*handler)()) {
  return [object, handler] { RunGuarded([&] { (object->*handler)(); }); };
}

}  // namespace plumwit
