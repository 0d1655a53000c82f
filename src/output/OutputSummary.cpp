#include "output/OutputSummary.h"

namespace lumetra {

namespace {
void append(std::string& to, const std::string& text) {
    if (text.empty()) return;
    if (!to.empty()) to += " | ";
    to += text;
}
}  // namespace

std::string statusTextOf(const std::vector<const LineOutput*>& outputs) {
    std::string text;
    for (const LineOutput* o : outputs) append(text, o->outputStatus());
    return text;
}

InterfaceState interfaceStateOf(const std::vector<const LineOutput*>& outputs, bool offline) {
    InterfaceState state;
    state.offline = offline;
    for (const LineOutput* o : outputs) {
        const bool open = o->isOpen();
        const std::string text = o->outputStatus();
        state.open = state.open || open;
        append(state.statusText, text);
        if (!open && outputs.size() > 1) append(state.closedText, text);
    }
    return state;
}

OutputListing listingOf(const std::vector<const LineOutput*>& outputs) {
    OutputListing all;
    for (const LineOutput* o : outputs) {
        const OutputListing one = o->listing();
        append(all.count, one.count);
        append(all.description, one.description);
        append(all.serial, one.serial);
    }
    return all;
}

}  // namespace lumetra
