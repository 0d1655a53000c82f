#pragma once

#include <string>

#include "core/Console.h"
#include "show/ByteTable.h"

namespace lumetra {

// The three texts an output shows on the options page.
struct OutputListing {
    std::string count;        // LabelKolvoUSB
    std::string description;  // LabelTipFtdi
    std::string serial;       // LabelUSBnomber
};

// One destination of the finished line: the USB interface, an olad universe,
// and whatever comes later. The tick hands every output the same line; the
// window starts, polls once a second and stops every output.
class LineOutput {
  public:
    virtual ~LineOutput() = default;

    // UI thread.
    virtual void start() = 0;  // at start-up, before the first tick
    virtual void poll() = 0;   // TimerPolling, once a second
    virtual void stop() = 0;   // at shutdown, after the last tick

    // Real-time thread: the patched line of this tick (slots 0..512). With
    // offline on ("Работа в DEMO режиме") nothing is sent. Must not
    // allocate, and must never wait for I/O of its own output.
    virtual void sendLine(const AtomicTable<kDmxSlots>& line, bool offline) = 0;

    // Any thread.
    virtual bool isOpen() const = 0;
    virtual std::string outputStatus() const = 0;  // empty when there is nothing to say
    virtual OutputListing listing() const = 0;
};

}  // namespace lumetra
