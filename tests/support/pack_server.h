#pragma once
// "halvora-pack serve FOLDER --port 0" run as a child process for the length
// of a test, on 127.0.0.1 with the port the tool reports.
#include <string>

class TPackServer {
public:
    explicit TPackServer(const std::string& folder);
    ~TPackServer();
    TPackServer(const TPackServer&) = delete;
    TPackServer& operator=(const TPackServer&) = delete;

    int Port() const { return FPort; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }
    // The tool's first output line.
    const std::string& Banner() const { return FBanner; }

    // Sends a request head as it stands and returns the whole raw reply.
    std::string RawRequest(const std::string& head) const;

private:
    int FPid = -1;
    int FPort = 0;
    std::string FBanner;
};
