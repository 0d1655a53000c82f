#include "output/OutputSet.h"

#include <algorithm>

#include "output/OlaOutput.h"
#include "output/OutputSummary.h"
#include "output/RealTimeThread.h"
#include "output/UsbBackends.h"

namespace lumetra::io {

OutputSet::OutputSet(Console& console, const Options& options) : console_(console) {
    InterfaceChoices choices = parseInterfaces(options.interface);
    if (!choices.error.empty()) choices = parseInterfaces("none");
    const bool anyOla =
        std::any_of(choices.outputs.begin(), choices.outputs.end(),
                    [](const InterfaceChoice& c) { return c.kind == InterfaceChoice::Kind::Ola; });
    for (const InterfaceChoice& c : choices.outputs) {
        if (c.kind == InterfaceChoice::Kind::Ola) {
            ola_.push_back(std::make_unique<OlaOutput>(c.universe, options.olaPort));
            outputs_.push_back(ola_.back().get());
        } else if (!(anyOla && c.usb == "none")) {
            // "none" beside olad universes means no USB driver at all; alone
            // it is the driver that finds no interface.
            BackendChoice backend = makeUsbBackend(c.usb);
            backend_ = backend.backend ? std::move(backend.backend)
                                       : std::make_unique<NoInterfaceBackend>();
            driver_ = std::make_unique<UsbDriver>(*backend_);
            outputs_.push_back(driver_.get());
        }
    }
    cycle_ = std::make_unique<OutputCycle>(console_);
    for (LineOutput* o : outputs_) cycle_->addOutput(o);
}

OutputSet::~OutputSet() {
    stopTick();
    stop();
}

void OutputSet::start() {
    for (LineOutput* o : outputs_) o->start();
}

void OutputSet::poll() {
    for (LineOutput* o : outputs_) o->poll();
}

void OutputSet::startTick() {
    if (thread_) return;
    thread_ = std::make_unique<RealTimeThread>([this] { cycle_->RealTimeTick(); });
    thread_->lockAlso(&console_, sizeof(Console));
    if (driver_) thread_->lockAlso(driver_.get(), sizeof(UsbDriver));
    for (const auto& ola : ola_) thread_->lockAlso(ola.get(), sizeof(OlaOutput));
    thread_->lockAlso(cycle_.get(), sizeof(OutputCycle));
    thread_->start();
}

void OutputSet::stopTick() {
    if (thread_) thread_->stop();
}

void OutputSet::stop() {
    for (LineOutput* o : outputs_) o->stop();
}

InterfaceState OutputSet::interfaceState(bool offline) const {
    return interfaceStateOf(list(), offline);
}

std::string OutputSet::statusText() const {
    return statusTextOf(list());
}

OutputListing OutputSet::listing() const {
    return listingOf(list());
}

}  // namespace lumetra::io
