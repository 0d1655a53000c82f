#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace lumetra::remote {

// Times are milliseconds of a monotonic clock, passed in.
using Millis = std::int64_t;

// Compares two secrets in a time that does not depend on where they differ.
bool sameSecret(std::string_view a, std::string_view b);

// Failed logins slow down the next attempts: each failure from an address
// makes it wait twice as long as the one before (1 s, 2 s, 4 s ... at most
// a minute), and many failures from everywhere at once make every address
// wait, so that guessing from many addresses gains nothing. A success
// clears the address.
class LoginThrottle {
  public:
    static constexpr Millis kFirstWait = 1000;
    static constexpr Millis kLongestWait = 60'000;
    static constexpr int kGlobalFailures = 20;  // within kGlobalWindow
    static constexpr Millis kGlobalWindow = 60'000;
    static constexpr std::size_t kMaxAddresses = 1024;

    // 0 when an attempt from `address` may be tried now, else how long to wait.
    Millis waitFor(const std::string& address, Millis now) const;
    void failed(const std::string& address, Millis now);
    void succeeded(const std::string& address);

  private:
    struct Record {
        int failures = 0;
        Millis until = 0;
        Millis last = 0;
    };
    std::map<std::string, Record> records_;
    Millis globalStart_ = 0;
    int globalCount_ = 0;
};

// Sessions given by a login: a random token that expires a fixed time after
// the login (a night's show by default). Only so many live at once; a new
// one pushes out the oldest.
class SessionTable {
  public:
    explicit SessionTable(Millis lifetime = 12LL * 3600 * 1000, std::size_t capacity = 64)
        : lifetime_(lifetime), capacity_(capacity) {}

    void add(const std::string& token, Millis now);
    bool valid(std::string_view token, Millis now) const;
    void remove(std::string_view token);
    void expire(Millis now);
    std::size_t size() const { return sessions_.size(); }
    Millis lifetime() const { return lifetime_; }

  private:
    Millis lifetime_;
    std::size_t capacity_;
    std::map<std::string, Millis, std::less<>> sessions_;  // token -> login time
};

// Watches the bytes of one HTTP connection before the server parses them
// and refuses what the page never sends: an oversized or malformed head or
// body, chunked bodies, unknown versions. Requests may follow one another on
// the connection.
class RequestFramer {
  public:
    struct Limits {
        std::size_t head = 8192;    // request line and headers
        std::size_t target = 1024;  // the request target
        std::size_t headers = 48;   // header lines
        std::size_t body = 1024;    // the login form is all there is
    };
    RequestFramer() = default;
    explicit RequestFramer(Limits limits) : limits_(limits) {}

    // 0 while the bytes are acceptable so far, else the HTTP status to
    // refuse the connection with (400, 413, 414, 431, 501, 505). Once
    // refused it stays refused.
    int feed(std::string_view bytes);
    // Within a request (part of a head or a body has come).
    bool midRequest() const { return !head_.empty() || bodyLeft_ > 0; }
    int requests() const { return requests_; }

  private:
    int checkHead(std::string_view head);

    Limits limits_;
    std::string head_;
    std::size_t bodyLeft_ = 0;
    int refused_ = 0;
    int requests_ = 0;
};

}  // namespace lumetra::remote
