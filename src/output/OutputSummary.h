#pragma once

#include <string>
#include <vector>

#include "output/LineOutput.h"
#include "core/ShowClock.h"

namespace lumetra {

// Several outputs shown as one on the status line and the options page:
// the console counts as open while any output is open; each text is the
// outputs' own texts, in command-line order, joined with " | " (empty
// texts left out). The status line shows, while something is open, the
// texts of the outputs that are not.
InterfaceState interfaceStateOf(const std::vector<const LineOutput*>& outputs, bool offline);
std::string statusTextOf(const std::vector<const LineOutput*>& outputs);
OutputListing listingOf(const std::vector<const LineOutput*>& outputs);

}  // namespace lumetra
