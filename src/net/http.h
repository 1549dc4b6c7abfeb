#pragma once
// Plain HTTP GET for the recitation and news services: blocking, with a
// whole-request time-out, no redirects followed, and a bounded reply.
#include <cstdint>
#include <string>
#include <utility>

// The whole request, from connecting to the last byte, must end within this.
inline constexpr long kHttpTimeOutMs = 2500;
// A reply body above this is refused as a failed request.
inline constexpr size_t kHttpMaxBody = 4u * 1024 * 1024;
// The proxy port used unless a valid port text is given.
inline constexpr int kDefaultProxyPort = 8080;

enum THttpStatus : uint8_t {
    hsOK = 0,
    hsConnectFailed = 1,
    hsBadRequest = 2,
    hsAuthorisation = 3,
    hsForbidden = 4,
    hsNotFound = 5,
    hsServerError = 6,
    hsUnknown = 7
};

struct THttpRequest {
    THttpRequest(std::string url = {}, std::string proxy = {}, int proxyPort = kDefaultProxyPort)
        : URL(std::move(url)), Proxy(std::move(proxy)), ProxyPort(proxyPort) {}
    std::string URL;   // a URL without a scheme is HTTP
    std::string Proxy; // empty: no proxy (the environment's proxy settings are ignored too)
    int ProxyPort;
};

// One GET. False when the request failed (no connection, time-out, a reply
// over kHttpMaxBody, a malformed reply); body and header then hold whatever
// arrived. The header is the raw reply header, status line first.
bool HttpGet(const THttpRequest& request, std::string& body, std::string& header);

// The port a proxy port text gives: the integer when the text is one in 1 to
// 65535, otherwise kDefaultProxyPort.
int ProxyPortFromText(const std::string& portText);

// GET of server followed directly by path (an empty path raises ERangeError;
// a path without a leading "/" gets one). Returns a code 0 to 7.
THttpStatus HttpDownload(const std::string& server, const std::string& path, const std::string& proxy,
                         const std::string& proxyPortText, std::string& body, std::string& header);
// The code of a reply header's status line.
THttpStatus ParseHttpStatus(const std::string& header);
// "OK", "Unable to connect to Server"... ; "Status Unknown" outside 0 to 6.
std::string HttpStatusText(int code);
