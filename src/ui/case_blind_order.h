// The order in which the tree view's sorted insertion places texts: the
// user's locale, case ignored, on the texts as the control keeps them (UTF-16
// converted with the ANSI code page).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrum {

// The positions of texts from the greatest to the least; texts the order
// holds equal keep their relative order.
std::vector<std::size_t> CaseBlindDescendingOrder(const std::vector<const std::string*>& texts);

}  // namespace kestrum
