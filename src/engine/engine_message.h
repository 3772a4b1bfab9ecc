// The opening every engine service message shares: the running chart's name in quotes.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// `The " <chart> " chart` — the rest of the message follows directly.
inline std::string chartMessageOpening(std::string_view chartName) {
  std::string message = "The \" ";
  message += chartName;
  message += " \" chart";
  return message;
}

}  // namespace engine
