#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Options.h"
#include "core/ShowClock.h"
#include "output/LineOutput.h"
#include "output/OutputCycle.h"
#include "output/UsbBackend.h"
#include "output/UsbDriver.h"

namespace lumetra::io {

class OlaOutput;
class RealTimeThread;

// The outputs the command line chose (the USB interface, olad universes),
// the line assembly that feeds them and the real-time thread that runs it:
// the live output without any window, the same for every front.
class OutputSet {
  public:
    OutputSet(Console& console, const Options& options);
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    // Every output starts (the USB driver lists the interfaces).
    void start();
    // The one-second poll: outputs reopen and check their link.
    void poll();
    // The 50 ms tick runs from here until stopTick (final).
    void startTick();
    void stopTick();
    // Every output closes.
    void stop();

    InterfaceState interfaceState(bool offline) const;
    std::string statusText() const;
    OutputListing listing() const;

    UsbDriver* driver() { return driver_.get(); }  // null when no USB interface was chosen
    const std::vector<LineOutput*>& outputs() const { return outputs_; }
    OutputCycle& cycle() { return *cycle_; }
    const RealTimeThread* thread() const { return thread_.get(); }

  private:
    std::vector<const LineOutput*> list() const { return {outputs_.begin(), outputs_.end()}; }

    Console& console_;
    std::unique_ptr<UsbBackend> backend_;
    std::unique_ptr<UsbDriver> driver_;
    std::vector<std::unique_ptr<OlaOutput>> ola_;
    std::vector<LineOutput*> outputs_;  // in command-line order
    std::unique_ptr<OutputCycle> cycle_;
    std::unique_ptr<RealTimeThread> thread_;
};

}  // namespace lumetra::io
