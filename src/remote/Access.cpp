#include "remote/Access.h"

#include <algorithm>
#include <cctype>

namespace lumetra::remote {

bool sameSecret(std::string_view a, std::string_view b) {
    // Every byte of the longer one is looked at whatever the contents.
    const std::size_t n = std::max(a.size(), b.size());
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned>(x ^ y);
    }
    return diff == 0;
}

// ---- LoginThrottle ----------------------------------------------------------

Millis LoginThrottle::waitFor(const std::string& address, Millis now) const {
    Millis wait = 0;
    if (globalCount_ >= kGlobalFailures && now - globalStart_ < kGlobalWindow)
        wait = globalStart_ + kGlobalWindow - now;
    const auto it = records_.find(address);
    if (it != records_.end() && it->second.until > now)
        wait = std::max(wait, it->second.until - now);
    return wait;
}

void LoginThrottle::failed(const std::string& address, Millis now) {
    if (now - globalStart_ >= kGlobalWindow) {
        globalStart_ = now;
        globalCount_ = 0;
    }
    ++globalCount_;

    if (records_.size() >= kMaxAddresses && !records_.count(address)) {
        // The address least recently failed makes room.
        const auto oldest = std::min_element(records_.begin(), records_.end(),
                                             [](const auto& a, const auto& b) {
                                                 return a.second.last < b.second.last;
                                             });
        records_.erase(oldest);
    }
    Record& r = records_[address];
    // A long quiet spell forgives old failures.
    if (r.failures > 0 && now - r.last > 15 * kLongestWait) r.failures = 0;
    r.failures = std::min(r.failures + 1, 30);
    const int doublings = std::min(r.failures - 1, 16);
    r.until = now + std::min(kFirstWait << doublings, kLongestWait);
    r.last = now;
}

void LoginThrottle::succeeded(const std::string& address) {
    records_.erase(address);
}

// ---- SessionTable -----------------------------------------------------------

void SessionTable::add(const std::string& token, Millis now) {
    expire(now);
    while (sessions_.size() >= capacity_ && !sessions_.empty()) {
        const auto oldest =
            std::min_element(sessions_.begin(), sessions_.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        sessions_.erase(oldest);
    }
    sessions_[token] = now;
}

bool SessionTable::valid(std::string_view token, Millis now) const {
    if (token.empty()) return false;
    const auto it = sessions_.find(token);
    return it != sessions_.end() && now - it->second < lifetime_ && now >= it->second;
}

void SessionTable::remove(std::string_view token) {
    const auto it = sessions_.find(token);
    if (it != sessions_.end()) sessions_.erase(it);
}

void SessionTable::expire(Millis now) {
    std::erase_if(sessions_, [&](const auto& s) { return now - s.second >= lifetime_; });
}

// ---- RequestFramer ----------------------------------------------------------

namespace {

bool isToken(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

int RequestFramer::feed(std::string_view bytes) {
    while (!refused_ && !bytes.empty()) {
        if (bodyLeft_ > 0) {
            const std::size_t take = std::min(bodyLeft_, bytes.size());
            bodyLeft_ -= take;
            bytes.remove_prefix(take);
            if (bodyLeft_ == 0) ++requests_;
            continue;
        }
        // Blank lines between requests are allowed before a request line.
        if (head_.empty()) {
            while (!bytes.empty() && (bytes.front() == '\r' || bytes.front() == '\n'))
                bytes.remove_prefix(1);
            if (bytes.empty()) break;
        }
        const std::size_t before = head_.size();
        const std::size_t room = limits_.head + 4 - before;
        head_.append(bytes.substr(0, std::min(room, bytes.size())));
        const std::size_t end = head_.find("\r\n\r\n", before >= 3 ? before - 3 : 0);
        if (end == std::string::npos) {
            // Refused as soon as the request line or the head is too long.
            const bool lineOpen = head_.find("\r\n") == std::string::npos;
            if (lineOpen && head_.size() > limits_.target + 16)
                refused_ = 414;
            else if (head_.size() > limits_.head)
                refused_ = 431;
            break;
        }
        const std::size_t used = end + 4 - before;
        const std::string head = head_.substr(0, end + 2);
        head_.clear();
        bytes.remove_prefix(used);
        refused_ = checkHead(head);
        if (!refused_ && bodyLeft_ == 0) ++requests_;
    }
    return refused_;
}

int RequestFramer::checkHead(std::string_view head) {
    if (head.size() > limits_.head) return 431;
    // Request line: METHOD SP TARGET SP HTTP/1.x
    std::size_t eol = head.find("\r\n");
    const std::string_view line = head.substr(0, eol);
    const std::size_t sp1 = line.find(' ');
    const std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp1 == 0 || sp2 == std::string_view::npos) return 400;
    const std::string_view method = line.substr(0, sp1);
    const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = line.substr(sp2 + 1);
    for (char c : method)
        if (c < 'A' || c > 'Z') return 400;
    if (target.size() > limits_.target) return 414;
    if (target.empty() || target.front() != '/') return 400;
    for (char c : target)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            return 400;
    if (version.size() != 8 || version.substr(0, 5) != "HTTP/") return 400;
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return 505;

    std::size_t lines = 0;
    bool haveLength = false;
    std::size_t length = 0;
    std::size_t at = eol + 2;
    while (at < head.size()) {
        eol = head.find("\r\n", at);
        const std::string_view h = head.substr(at, eol - at);
        at = eol + 2;
        if (++lines > limits_.headers) return 431;
        const std::size_t colon = h.find(':');
        if (colon == 0 || colon == std::string_view::npos) return 400;
        for (char c : h.substr(0, colon))
            if (!isToken(c)) return 400;  // also a folded line (leading blank)
        const std::string_view name = h.substr(0, colon);
        const std::string_view value = trim(h.substr(colon + 1));
        for (char c : value)
            if (c == '\r' || c == '\n' || c == '\0') return 400;
        if (equalsNoCase(name, "Transfer-Encoding")) return 501;
        if (equalsNoCase(name, "Content-Length")) {
            if (value.empty() || value.size() > 9) return value.size() > 9 ? 413 : 400;
            std::size_t n = 0;
            for (char c : value) {
                if (c < '0' || c > '9') return 400;
                n = n * 10 + static_cast<std::size_t>(c - '0');
            }
            if (haveLength && n != length) return 400;
            haveLength = true;
            length = n;
        }
    }
    if (length > limits_.body) return 413;
    bodyLeft_ = length;
    return 0;
}

}  // namespace lumetra::remote
