// The message of the fatal alert a piece of code raises, with alerts thrown instead of ending
// the program (KivAlert::throwInsteadOfExiting).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/kiv_alert.h"

// The alert's message when `action` raises one; fails the test when it does not.
inline std::string alertOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const engine::FatalAlert& alert) {
    return alert.what();
  }
  ADD_FAILURE() << "no fatal alert was raised";
  return {};
}
