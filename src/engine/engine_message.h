// The opening every engine service message shares: the running chart's name in quotes.
#pragma once

#include <cstddef>
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

// Why a picture or sound is refused over the budget its kind shares: "N MB decoded, and all
// <kind> loaded together may take B MB (L MB left)." `needed` is rounded up, what is left down.
inline std::string overBudgetReason(std::size_t needed, std::string_view kind, std::size_t budget,
                                    std::size_t used) {
  constexpr std::size_t kMB = std::size_t(1) << 20;
  return std::to_string((needed + kMB - 1) / kMB) + " MB decoded, and all " + std::string(kind) +
         " loaded together may take " + std::to_string(budget / kMB) + " MB (" +
         std::to_string((budget - used) / kMB) + " MB left).";
}

}  // namespace engine
