// Login, sessions and the request guard of the web remote; the page's and
// OSC's messages as the console takes them.
#include <gtest/gtest.h>
#include <lo/lo_lowlevel.h>
#include <sys/stat.h>

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "remote/Access.h"
#include "remote/Osc.h"
#include "remote/RemoteHub.h"
#include "remote/RemoteProtocol.h"

namespace lumetra::remote {
namespace {

TEST(LoginThrottle, EachFailureDoublesTheWaitUpToAMinuteAndASuccessClearsIt) {
    LoginThrottle t;
    EXPECT_EQ(t.waitFor("10.0.0.2", 0), 0);
    t.failed("10.0.0.2", 0);
    EXPECT_EQ(t.waitFor("10.0.0.2", 0), 1000);
    EXPECT_EQ(t.waitFor("10.0.0.2", 1000), 0);
    t.failed("10.0.0.2", 1000);
    EXPECT_EQ(t.waitFor("10.0.0.2", 1000), 2000);
    Millis now = 3000;
    for (int i = 0; i < 12; ++i) {
        t.failed("10.0.0.2", now);
        now += t.waitFor("10.0.0.2", now);
    }
    t.failed("10.0.0.2", now);
    EXPECT_EQ(t.waitFor("10.0.0.2", now), LoginThrottle::kLongestWait);
    // Another address is not held up by this one.
    EXPECT_EQ(t.waitFor("10.0.0.3", now), 0);
    t.succeeded("10.0.0.2");
    EXPECT_EQ(t.waitFor("10.0.0.2", now), 0);
}

TEST(LoginThrottle, ManyFailuresFromManyAddressesHoldEveryoneBack) {
    LoginThrottle t;
    for (int i = 0; i < LoginThrottle::kGlobalFailures; ++i)
        t.failed("10.1.0." + std::to_string(i), 100);
    EXPECT_GT(t.waitFor("192.168.5.5", 200), 0);
    EXPECT_EQ(t.waitFor("192.168.5.5", 100 + LoginThrottle::kGlobalWindow), 0);
}

TEST(SessionTable, ASessionExpiresAndTheOldestMakesRoom) {
    SessionTable sessions(1000, 2);
    sessions.add("a", 0);
    EXPECT_TRUE(sessions.valid("a", 999));
    EXPECT_FALSE(sessions.valid("a", 1000));
    EXPECT_FALSE(sessions.valid("", 0));
    EXPECT_FALSE(sessions.valid("b", 0));
    sessions.add("b", 10);
    sessions.add("c", 20);
    sessions.add("d", 30);  // "b" was the oldest left
    EXPECT_FALSE(sessions.valid("b", 30));
    EXPECT_TRUE(sessions.valid("c", 30));
    sessions.remove("c");
    EXPECT_FALSE(sessions.valid("c", 30));
    EXPECT_TRUE(sameSecret("pass", "pass"));
    EXPECT_FALSE(sameSecret("pass", "pasS"));
    EXPECT_FALSE(sameSecret("pass", "passw"));
    EXPECT_FALSE(sameSecret("", "x"));
}

TEST(RequestFramer, TheRequestsOfThePagePassInAnySlices) {
    const std::string login =
        "POST /login HTTP/1.1\r\nHost: 127.0.0.1:8080\r\nContent-Type: "
        "application/x-www-form-urlencoded\r\nContent-Length: 14\r\n\r\npassword=abcde";
    const std::string page = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
    const std::string both = page + login + page;
    for (std::size_t slice : {1u, 3u, 7u, 500u}) {
        RequestFramer f;
        for (std::size_t at = 0; at < both.size(); at += slice)
            ASSERT_EQ(f.feed(std::string_view(both).substr(at, slice)), 0) << slice;
        EXPECT_EQ(f.requests(), 3);
        EXPECT_FALSE(f.midRequest());
    }
}

TEST(RequestFramer, RefusesWhatThePageNeverSends) {
    const auto verdict = [](const std::string& bytes) { return RequestFramer().feed(bytes); };
    EXPECT_EQ(verdict("GARBAGE\r\n\r\n"), 400);
    EXPECT_EQ(verdict("get / HTTP/1.1\r\n\r\n"), 400);
    EXPECT_EQ(verdict("GET index.html HTTP/1.1\r\n\r\n"), 400);
    EXPECT_EQ(verdict("GET / HTTP/2.0\r\n\r\n"), 505);
    EXPECT_EQ(verdict("GET / HTTP/1.1\r\nNo colon here\r\n\r\n"), 400);
    EXPECT_EQ(verdict("GET / HTTP/1.1\r\nA: b\r\n folded\r\n\r\n"), 400);
    EXPECT_EQ(verdict("POST /login HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), 501);
    EXPECT_EQ(verdict("POST /login HTTP/1.1\r\nContent-Length: 2000\r\n\r\n"), 413);
    EXPECT_EQ(verdict("POST /login HTTP/1.1\r\nContent-Length: 99999999999\r\n\r\n"), 413);
    EXPECT_EQ(verdict("POST /login HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n"),
              400);
    // Too long is refused before the end arrives.
    EXPECT_EQ(verdict("GET /" + std::string(2000, 'a')), 414);
    EXPECT_EQ(verdict("GET / HTTP/1.1\r\nX: " + std::string(9000, 'a')), 431);
    std::string many = "GET / HTTP/1.1\r\n";
    for (int i = 0; i < 60; ++i) many += "X" + std::to_string(i) + ": y\r\n";
    EXPECT_EQ(verdict(many + "\r\n"), 431);
    // Once refused, the connection stays refused.
    RequestFramer f;
    EXPECT_EQ(f.feed("BAD\r\n\r\n"), 400);
    EXPECT_EQ(f.feed("GET / HTTP/1.1\r\n\r\n"), 400);
}

TEST(PageMessages, OnlyWellFormedOperationsInRangeAreTaken) {
    using Op = Command::Op;
    EXPECT_EQ(parseCommand(R"({"op":"play"})"), (Command{Op::Play}));
    EXPECT_EQ(parseCommand(R"({"op":"picture","n":16,"on":true,"hold":true})"),
              (Command{Op::Picture, 16, 1, true}));
    EXPECT_EQ(parseCommand(R"({"op":"slot","n":20})"), (Command{Op::Slot, 20}));
    EXPECT_EQ(parseCommand(R"({"op":"tempo","value":170})"), (Command{Op::Tempo, 0, 170}));
    for (const char* bad :
         {"", "[]", "{", R"({"op":"format"})", R"({"op":"picture","n":17,"on":true})",
          R"({"op":"picture","n":1})", R"({"op":"picture","n":1.5,"on":true})",
          R"({"op":"picture","n":"1","on":true})", R"({"op":"slot","n":0})",
          R"({"op":"tempo","value":9})", R"({"op":"mode","n":4})",
          R"({"op":"blackout","on":1})"})
        EXPECT_FALSE(parseCommand(bad)) << bad;
    RemoteState s;
    s.conveyor[2].caption = "E=шоу";
    const QByteArray json = stateJson(s);
    EXPECT_TRUE(json.contains(R"("caption":"E=шоу")"));
    EXPECT_TRUE(json.startsWith("{")) << json.constData();
}

QByteArray oscMessage(const char* path, const char* types, ...) {
    lo_message m = lo_message_new();
    va_list ap;
    va_start(ap, types);
    for (const char* t = types; *t; ++t) {
        if (*t == 'i') lo_message_add_int32(m, va_arg(ap, int));
        if (*t == 'f') lo_message_add_float(m, static_cast<float>(va_arg(ap, double)));
        if (*t == 's') lo_message_add_string(m, va_arg(ap, const char*));
    }
    va_end(ap);
    size_t size = 0;
    void* data = lo_message_serialise(m, path, nullptr, &size);
    QByteArray bytes(static_cast<const char*>(data), static_cast<qsizetype>(size));
    std::free(data);
    lo_message_free(m);
    return bytes;
}

TEST(OscMessages, TheAddressSpaceAndWhatIsIgnored) {
    using Op = Command::Op;
    bool known = false;
    auto command = [&](const QByteArray& datagram) {
        const auto r = parseOsc(datagram, known);
        return r ? std::optional<Command>(r->command) : std::nullopt;
    };
    EXPECT_EQ(command(oscMessage("/lumetra/picture", "ii", 3, 1)), (Command{Op::Picture, 3, 1}));
    EXPECT_EQ(command(oscMessage("/lumetra/tempo", "f", 60.4)), (Command{Op::Tempo, 0, 60}));
    // A float fader level is a fraction of full.
    EXPECT_EQ(command(oscMessage("/lumetra/fader", "if", 2, 1.0)), (Command{Op::Fader, 2, 255}));
    EXPECT_EQ(command(oscMessage("/lumetra/fader", "ii", 27, 128)), (Command{Op::Fader, 27, 128}));
    EXPECT_EQ(command(oscMessage("/lumetra/scene", "i", 256)), (Command{Op::Scene, 256}));
    const auto sub = parseOsc(oscMessage("/lumetra/subscribe", "i", 9001), known);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->kind, OscRequest::Kind::Subscribe);
    EXPECT_EQ(sub->replyPort, 9001);
    for (const QByteArray& bad :
         {oscMessage("/lumetra/picture", "ii", 17, 1), oscMessage("/lumetra/tempo", "s", "x"),
          oscMessage("/lumetra/play", "i", 1), oscMessage("/other/play", ""),
          oscMessage("/lumetra/fader", "if", 1, 1.5), QByteArray("#bundle\0\0\0\0", 12),
          QByteArray("/lumetra/play\0\0\0,i", 18), QByteArray()})
        EXPECT_FALSE(parseOsc(bad, known)) << bad.toHex().constData();
}

TEST(OscMessages, OnlyWhatChangedIsSentBack) {
    RemoteState a;
    EXPECT_GT(oscChanges(std::nullopt, a).size(), 40u);  // all of it on subscribe
    RemoteState b = a;
    b.pictures[4] = true;
    const auto changes = oscChanges(a, b);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], oscMessage("/lumetra/picture", "ii", 5, 1));
}

TEST(PasswordFile, OnlyAFileNobodyElseMayReadIsUsed) {
    char dir[] = "/tmp/lumetra-pw-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    const std::string path = std::string(dir) + "/password";
    std::ofstream(path) << "s3cret\r\nsecond line\n";
    std::string error;
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(passwordFromFile(path, error).isEmpty());
    EXPECT_NE(error.find("chmod 600"), std::string::npos) << error;
    ::chmod(path.c_str(), 0600);
    error.clear();
    EXPECT_EQ(passwordFromFile(path, error), QByteArray("s3cret"));
    EXPECT_TRUE(error.empty()) << error;
    std::ofstream(path, std::ios::trunc) << "\n";
    EXPECT_TRUE(passwordFromFile(path, error).isEmpty());
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(passwordFromFile(std::string(dir) + "/none", error).isEmpty());
    std::remove(path.c_str());
    ::rmdir(dir);
}

}  // namespace
}  // namespace lumetra::remote
