#include "platform/http.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds elapsedSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// Short enough that a stalled server costs a test about two seconds instead of a minute. curl
// judges the speed by its average over the last few seconds, so with a low floor a burst of a few
// hundred bytes followed by silence would still count as moving for seconds more; a floor of
// 100 kB/s is below every loopback transfer that works and above every burst the tests send.
HttpLimits shortLimits() {
    HttpLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.lowSpeedBytes = 100000;
    limits.lowSpeedSeconds = 2;
    return limits;
}

// Every byte value twice, zero bytes and 0x80-0xFF among them (167 is odd, so i * 167 runs
// through all residues modulo 256).
ByteData everyByteValue() {
    ByteData bytes;
    for (int i = 0; i < 512; ++i) {
        bytes.push_back(static_cast<char>((i * 167) & 0xFF));
    }
    return bytes;
}

// Several megabytes arrive in many pieces; each piece must be appended in order.
ByteData largeBody() {
    ByteData bytes;
    std::uint32_t state = 12345;
    for (int i = 0; i < 3 * 1024 * 1024; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 24));
    }
    return bytes;
}

const ByteData& kLargeBody() {
    static const ByteData body = largeBody();
    return body;
}

const char kPageBody[] = "<html><body>listing page</body></html>";
const char kMissingBody[] = "<html>no such page</html>";
const char kArrivedBody[] = "arrived after the redirects";

struct SeenRequest {
    std::string method;
    std::string path;
    std::string version;
    httplib::Headers headers;
};

// A well-behaved server on an ephemeral loopback port that records what it was asked.
class SiteServer {
public:
    SiteServer() {
        // Without it a small answer may wait for the delayed ACK of the client.
        server_.set_tcp_nodelay(true);
        route("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kPageBody, "text/html");
        });
        route("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content(kMissingBody, "text/html");
        });
        route("/binary", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(everyByteValue(), "application/octet-stream");
        });
        route("/large", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kLargeBody(), "application/octet-stream");
        });
        route("/empty", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("", "text/html");
        });
        route(R"(/hop/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const int left = std::stoi(req.matches[1]);
            if (left == 0) {
                res.set_content(kArrivedBody, "text/plain");
            } else {
                res.set_redirect("/hop/" + std::to_string(left - 1));
            }
        });
        // Answers with the decoded name, so a caller sees which path the server received.
        route(R"(/named/(.*))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.matches[1].str(), "application/octet-stream");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ > 0) {
            thread_ = std::thread([this] { server_.listen_after_bind(); });
            // stop() before the accept loop has started would be lost and join would hang.
            const auto start = Clock::now();
            while (!server_.is_running() && elapsedSince(start) < milliseconds(5000)) {
                std::this_thread::sleep_for(milliseconds(1));
            }
        }
    }

    ~SiteServer() {
        server_.stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    bool running() const { return port_ > 0 && server_.is_running(); }
    ByteText url(const std::string& path) const {
        return ByteText("http://127.0.0.1:" + std::to_string(port_) + path);
    }
    std::vector<SeenRequest> seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    void route(const std::string& pattern, httplib::Server::Handler handler) {
        server_.Get(pattern, [this, handler = std::move(handler)](const httplib::Request& req,
                                                                  httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                seen_.push_back({req.method, req.path, req.version, req.headers});
            }
            handler(req, res);
        });
    }

    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<SeenRequest> seen_;
};

// A TCP server on 127.0.0.1 that answers every connection with fixed bytes and then either
// closes or falls silent: the answers a proper server library will not give.
class RawServer {
public:
    enum class Then { Close, FallSilent };

    RawServer(std::string reply, Then then) : reply_(std::move(reply)), then_(then) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), length) != 0 ||
            ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
            return;
        }
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~RawServer() {
        stopping_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (listener_ >= 0) {
            ::close(listener_);
        }
    }

    bool running() const { return port_ > 0; }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    ByteText url() const { return ByteText(origin() + "/"); }
    int connections() const { return connections_; }

private:
    // Polls in short steps so that the destructor can end the thread whatever the client does.
    bool waitReadable(int fd) const {
        pollfd entry{fd, POLLIN, 0};
        while (!stopping_) {
            const int ready = ::poll(&entry, 1, 20);
            if (ready > 0) {
                return true;
            }
            if (ready < 0 && errno != EINTR) {
                return false;
            }
        }
        return false;
    }

    void serve() {
        while (waitReadable(listener_)) {
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd >= 0) {
                ++connections_;
                answer(fd);
                ::close(fd);
            }
        }
    }

    void answer(int fd) const {
        // The request is read first: closing a socket with unread data resets the connection,
        // and the reset may discard the reply before the client has read it.
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && waitReadable(fd)) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return;
            }
            request.append(buffer, static_cast<size_t>(n));
        }
        size_t sent = 0;
        while (sent < reply_.size()) {
            const ssize_t n = ::send(fd, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return;
            }
            sent += static_cast<size_t>(n);
        }
        if (then_ == Then::Close) {
            ::shutdown(fd, SHUT_WR);
        }
        // Holds the connection until the client hangs up.
        while (waitReadable(fd) && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    }

    std::string reply_;
    Then then_;
    int listener_ = -1;
    int port_ = -1;
    std::atomic<bool> stopping_ = false;
    std::atomic<int> connections_ = 0;
    std::thread thread_;
};

// A loopback port bound but not listening: a connection to it is refused at once, and no other
// program can take the port while the test runs.
class RefusingPort {
public:
    RefusingPort() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), length) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length) == 0) {
            port_ = ntohs(addr.sin_port);
        }
    }
    ~RefusingPort() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = -1;
};

// Sets or clears an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
        }
        if (value) {
            ::setenv(name_.c_str(), value, 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class HttpGet : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site.running()); }

    SiteServer site;
};

TEST_F(HttpGet, ReturnsTheBodyByteForByteWhateverTheStatus) {
    struct Case {
        const char* path;
        ByteData expected;
        int status;
    };
    // The 404 page is a body like any other.
    const Case cases[] = {
        {"/page", kPageBody, 200},
        {"/missing", kMissingBody, 404},
        {"/binary", everyByteValue(), 200},
        {"/large", kLargeBody(), 200},
        {"/empty", "", 200},
    };
    for (const auto& c : cases) {
        const ByteData body = httpGet(site.url(c.path), shortLimits());
        EXPECT_EQ(body.size(), c.expected.size()) << c.path;
        EXPECT_TRUE(body == c.expected) << c.path;
        const HttpResponse response = httpFetch(site.url(c.path), shortLimits());
        EXPECT_EQ(response.status, c.status) << c.path;
        EXPECT_TRUE(response.complete) << c.path;
    }
}

TEST_F(HttpGet, SendsAPlainHttp10GetThatAsksForAFreshCopy) {
    ASSERT_EQ(httpGet(site.url("/page")), kPageBody);
    const std::vector<SeenRequest> seen = site.seen();
    ASSERT_EQ(seen.size(), 1u);
    const SeenRequest& request = seen[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/page");
    EXPECT_EQ(request.version, "HTTP/1.0");
    const std::pair<const char*, const char*> expectedHeaders[] = {
        {"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"},
        {"Accept", "*/*"},
        {"Pragma", "no-cache"},
        {"Cache-Control", "no-cache"},
    };
    for (const auto& [name, value] : expectedHeaders) {
        EXPECT_EQ(request.headers.count(name), 1u) << name;
        const auto header = request.headers.find(name);
        ASSERT_NE(header, request.headers.end()) << name;
        EXPECT_EQ(header->second, value) << name;
    }
    // Compressed bodies would not be the bytes the server stored.
    EXPECT_EQ(request.headers.count("Accept-Encoding"), 0u);
}

TEST_F(HttpGet, FollowsUpToFiveRedirects) {
    struct Case {
        int redirects;
        bool arrives;
    };
    const Case cases[] = {{0, true}, {1, true}, {5, true}, {6, false}};
    for (const auto& c : cases) {
        const auto before = site.seen().size();
        const ByteData body = httpGet(site.url("/hop/" + std::to_string(c.redirects)));
        EXPECT_EQ(body == kArrivedBody, c.arrives) << c.redirects << " redirects: " << body;
        // Beyond the limit the client gives up after the fifth redirect it followed.
        const auto requests = static_cast<int>(site.seen().size() - before);
        EXPECT_EQ(requests, c.arrives ? c.redirects + 1 : 6) << c.redirects << " redirects";
    }
}

TEST_F(HttpGet, PassesNonAsciiPathBytesThrough) {
    const std::string name = "\xC4\xFA\xBA\xC3\x80\xFF";
    EXPECT_EQ(httpGet(site.url("/named/" + name), shortLimits()), name);
    const std::vector<SeenRequest> seen = site.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].path, "/named/" + name);
}

TEST_F(HttpGet, IgnoresProxiesFromTheEnvironment) {
    RawServer proxy("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nthe proxy",
                    RawServer::Then::Close);
    ASSERT_TRUE(proxy.running());
    const std::string address = proxy.origin();
    const ScopedEnvironment httpProxy("http_proxy", address.c_str());
    const ScopedEnvironment allProxy("ALL_PROXY", address.c_str());
    const ScopedEnvironment allProxyLower("all_proxy", address.c_str());
    const ScopedEnvironment noProxy("no_proxy", nullptr);
    const ScopedEnvironment noProxyUpper("NO_PROXY", nullptr);
    EXPECT_EQ(httpGet(site.url("/page"), shortLimits()), kPageBody);
    EXPECT_EQ(proxy.connections(), 0);
}

TEST_F(HttpGet, IsSafeFromSeveralThreadsAtOnce) {
    // No more than the test server's listen backlog of 5: beyond it connections wait for a SYN
    // to be sent again, a second later.
    constexpr int kThreads = 4;
    constexpr int kRequestsEach = 20;
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRequestsEach; ++i) {
                const std::string name = "thread" + std::to_string(t) + "-" + std::to_string(i);
                if (httpGet(site.url("/named/" + name), shortLimits()) != name) {
                    ++wrong;
                }
                if (i % 5 == 0 && httpGet(site.url("/binary"), shortLimits()) != everyByteValue()) {
                    ++wrong;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

TEST(HttpGetConnections, OpensAConnectionOfItsOwnForEveryRequest) {
    // The server offers to keep the connection, but every request must still hang up: the server
    // answers one connection at a time, so a connection left open would stall the second request.
    const std::string reply =
        "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: keep-alive\r\n\r\nkept";
    RawServer server(reply, RawServer::Then::FallSilent);
    ASSERT_TRUE(server.running());
    const auto start = Clock::now();
    EXPECT_EQ(httpGet(server.url(), shortLimits()), "kept");
    EXPECT_EQ(httpGet(server.url(), shortLimits()), "kept");
    EXPECT_EQ(server.connections(), 2);
    EXPECT_LT(elapsedSince(start), milliseconds(1000));
}

TEST(HttpGetNothingToRead, GivesEmptyDataAtOnce) {
    RefusingPort refusing;
    ASSERT_GT(refusing.port(), 0);
    const std::string cases[] = {
        "http://127.0.0.1:" + std::to_string(refusing.port()) + "/page",  // refused
        "",                                                               // no address at all
        "http://",                                                        // no host
        "127.0.0.1:" + std::to_string(refusing.port()) + "/\xB0\xA1",     // no scheme, GBK path
        "file:///etc/hostname",  // only the web, never a local file
        "gopher://127.0.0.1:" + std::to_string(refusing.port()) + "/",
    };
    for (const auto& url : cases) {
        const auto start = Clock::now();
        EXPECT_EQ(httpGet(ByteText(url), shortLimits()), "") << url;
        EXPECT_LT(elapsedSince(start), milliseconds(1000)) << url;
    }
}

// A server that misbehaves after accepting: what arrived before it broke off is the answer, and
// a silent server costs no more than the low-speed limit.
struct Misbehaviour {
    const char* name;
    std::string reply;
    RawServer::Then then;
    ByteData expected;
    milliseconds atMost;
    bool whole = false;  // whether the transfer counts as complete
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Misbehaviour& c, std::ostream* out) {
    *out << c.name;
}

std::string headWithLength(int length) {
    return "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(length) + "\r\n\r\n";
}

ByteData firstBytes(int count) {
    ByteData bytes;
    const ByteData all = everyByteValue();
    while (static_cast<int>(bytes.size()) < count) {
        bytes += all;
    }
    bytes.resize(static_cast<size_t>(count));
    return bytes;
}

class HttpGetMisbehavingServer : public ::testing::TestWithParam<Misbehaviour> {};

TEST_P(HttpGetMisbehavingServer, ReturnsWhatArrivedWithinTheLimits) {
    const Misbehaviour& c = GetParam();
    RawServer server(c.reply, c.then);
    ASSERT_TRUE(server.running());
    const auto start = Clock::now();
    const HttpResponse response = httpFetch(server.url(), shortLimits());
    const ByteData& body = response.body;
    const milliseconds took = elapsedSince(start);
    EXPECT_EQ(body.size(), c.expected.size());
    EXPECT_TRUE(body == c.expected);
    EXPECT_EQ(response.complete, c.whole);
    EXPECT_LT(took, c.atMost);
    EXPECT_EQ(server.connections(), 1);
}

const milliseconds kPrompt(1000);
// The two-second low-speed limit plus room for a busy machine.
const milliseconds kAfterTheStall(4500);

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpGetMisbehavingServer,
    ::testing::Values(
        Misbehaviour{"CutOffAfterPartOfItsLength", headWithLength(1000) + firstBytes(400),
                     RawServer::Then::Close, firstBytes(400), kPrompt},
        Misbehaviour{"EndsTheBodyByClosingWithoutALength",
                     "HTTP/1.0 200 OK\r\n\r\n" + firstBytes(700), RawServer::Then::Close,
                     firstBytes(700), kPrompt, true},
        Misbehaviour{"ClosesWithoutAnswering", "", RawServer::Then::Close, "", kPrompt},
        Misbehaviour{"ClosesAfterTheHead", headWithLength(10), RawServer::Then::Close, "", kPrompt},
        Misbehaviour{"AnswersGarbage", "not an http answer\r\n\r\n", RawServer::Then::Close, "",
                     kPrompt},
        Misbehaviour{"AcceptsAndNeverAnswers", "", RawServer::Then::FallSilent, "", kAfterTheStall},
        Misbehaviour{"StallsAfterPartOfTheBody", headWithLength(1000) + firstBytes(400),
                     RawServer::Then::FallSilent, firstBytes(400), kAfterTheStall}),
    [](const ::testing::TestParamInfo<Misbehaviour>& info) { return info.param.name; });

}  // namespace
}  // namespace lumora
