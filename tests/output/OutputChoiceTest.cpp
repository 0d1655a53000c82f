// Which outputs the command line chooses, and how several show as one.
#include <gtest/gtest.h>

#include "core/Options.h"
#include "output/OutputSummary.h"

using namespace lumetra;

namespace {

TEST(OutputChoiceTest, InterfaceListsAndTheirMistakes) {
    ParsedOptions p =
        parseOptions({"--interface=ftdi", "--interface=ola:5,ola", "--ola-port=9011"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.olaPort, 9011);
    InterfaceChoices c = parseInterfaces(p.options.interface);
    ASSERT_EQ(c.outputs.size(), 3u);
    EXPECT_EQ(c.outputs[0].usb, "ftdi");
    EXPECT_EQ(c.outputs[1].kind, InterfaceChoice::Kind::Ola);
    EXPECT_EQ(c.outputs[1].universe, 5u);
    EXPECT_EQ(c.outputs[2].universe, 1u);  // plain "ola" is universe 1

    // A comma inside a virtual interface's path belongs to the path.
    c = parseInterfaces("virtual:/tmp/a,b.bin,ola:2");
    ASSERT_EQ(c.outputs.size(), 2u);
    EXPECT_EQ(c.outputs[0].usb, "virtual:/tmp/a,b.bin");

    EXPECT_EQ(parseOptions({"--interface=ola"}).options.interface, "ola");  // replaces ftdi
    for (const char* bad : {"--interface=ftdi,virtual:/x", "--interface=ola:1,ola:1",
                            "--interface=ola:", "--interface=ola:-1", "--interface=ola:4294967295",
                            "--interface=ftdi,", "--interface=olad", "--ola-port=0",
                            "--ola-port=65536", "--ola-port=x"})
        EXPECT_NE(parseOptions({bad}).error, "") << bad;
}

struct Stub final : LineOutput {
    Stub(bool o, std::string t, std::string count) : open(o), text(std::move(t)) {
        list.count = std::move(count);
    }
    void start() override {}
    void poll() override {}
    void stop() override {}
    void sendLine(const AtomicTable<kDmxSlots>&, bool) override {}
    bool isOpen() const override { return open; }
    std::string outputStatus() const override { return text; }
    OutputListing listing() const override { return list; }
    bool open;
    std::string text;
    OutputListing list;
};

TEST(OutputChoiceTest, SeveralOutputsShowAsOne) {
    Stub usb(true, "", "Устройств на шине USB = 1");
    Stub ola(false, "OLA вселенная 1 - нет связи с olad...", "Выход OLA: вселенная = 1");
    InterfaceState s = interfaceStateOf({&usb, &ola}, false);
    EXPECT_TRUE(s.open);
    // Open through USB, yet the status line tells about olad.
    const InterfaceCaption caption = interfaceCaption(s);
    EXPECT_EQ(caption.captionPrefix, "Lumetra v5.4.1 ");
    EXPECT_EQ(caption.statusPanel, "OLA вселенная 1 - нет связи с olad...");
    EXPECT_EQ(listingOf({&usb, &ola}).count,
              "Устройств на шине USB = 1 | Выход OLA: вселенная = 1");

    // One output alone keeps the USB rule: open, its text is not shown.
    Stub failedWrite(true, "Интерфейс отключен от компьютера  - Ошибка ввода-вывода...", "");
    EXPECT_EQ(interfaceCaption(interfaceStateOf({&failedWrite}, false)).statusPanel, "");
    ola.open = false;
    usb.open = false;
    usb.text = "FT_Open - Устройство не найдено....";
    s = interfaceStateOf({&usb, &ola}, false);
    EXPECT_EQ(interfaceCaption(s).captionPrefix, " DEMO MODE: ");
    EXPECT_EQ(interfaceCaption(s).statusPanel,
              "FT_Open - Устройство не найдено.... | OLA вселенная 1 - нет связи с olad...");
}

}  // namespace
