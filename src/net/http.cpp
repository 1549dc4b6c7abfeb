#include "net/http.h"

#include "util/errors.h"
#include "util/strutils.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

struct TReply {
    std::string* Body;
    std::string* Header;
    bool TooLarge = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<TReply*>(user);
    size_t n = size * count;
    if (reply->Body->size() + n > kHttpMaxBody) {
        reply->TooLarge = true;
        return 0; // ends the transfer with a write error
    }
    reply->Body->append(data, n);
    return n;
}

size_t WriteHeader(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<TReply*>(user);
    size_t n = size * count;
    // An interim reply ("100 Continue") is followed by the real one: keep the last.
    if (n >= 5 && std::string_view(data, 5) == "HTTP/") reply->Header->clear();
    if (reply->Header->size() + n > kHttpMaxBody) return 0;
    reply->Header->append(data, n);
    return n;
}

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

bool HttpGet(const THttpRequest& request, std::string& body, std::string& header) {
    body.clear();
    header.clear();
    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return false;
    CURL* c = curl.get();
    TReply reply{&body, &header};
    curl_easy_setopt(c, CURLOPT_URL, request.URL.c_str());
    // A server setting is a bare host name: no scheme means HTTP, and nothing
    // but HTTP may be reached from it.
    curl_easy_setopt(c, CURLOPT_DEFAULT_PROTOCOL, "http");
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, kHttpTimeOutMs);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kHttpMaxBody));
    // A reply without a proper status line is still a reply: its status is "unknown".
    curl_easy_setopt(c, CURLOPT_HTTP09_ALLOWED, 1L);
    // An empty proxy also keeps the environment's proxy variables out.
    curl_easy_setopt(c, CURLOPT_PROXY, request.Proxy.c_str());
    if (!request.Proxy.empty()) curl_easy_setopt(c, CURLOPT_PROXYPORT, static_cast<long>(request.ProxyPort));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, WriteHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &reply);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Halvora/1.5");
    return curl_easy_perform(c) == CURLE_OK && !reply.TooLarge;
}

int ProxyPortFromText(const std::string& portText) {
    int32_t port = 0;
    if (!Trim(portText).empty() && TryStrToInt(portText, port) && port >= 1 && port <= 65535) return port;
    return kDefaultProxyPort;
}

THttpStatus HttpDownload(const std::string& server, const std::string& path, const std::string& proxy,
                         const std::string& proxyPortText, std::string& body, std::string& header) {
    body.clear();
    header.clear();
    if (path.empty()) throw ERangeError();
    THttpRequest request;
    request.URL = server + (path[0] == '/' ? path : "/" + path);
    if (!proxy.empty()) {
        request.Proxy = proxy;
        request.ProxyPort = ProxyPortFromText(proxyPortText);
    }
    if (!HttpGet(request, body, header)) return hsConnectFailed;
    return ParseHttpStatus(header);
}

THttpStatus ParseHttpStatus(const std::string& header) {
    // Only the status line counts, and its end ends the number too: a status
    // line without a reason phrase ("HTTP/1.1 200") is still a 200.
    std::string line = header.substr(0, header.find_first_of("\r\n"));
    size_t blank = line.find(' ');
    if (blank == std::string::npos) return hsUnknown;
    std::string rest = line.substr(blank + 1);
    std::string status = rest.substr(0, rest.find(' '));
    int32_t code = 0;
    if (!TryStrToInt(status, code)) return hsUnknown;
    switch (code) {
    case 200: return hsOK;
    case 400: return hsBadRequest;
    case 401: return hsAuthorisation;
    case 403: return hsForbidden;
    case 404: return hsNotFound;
    case 500: return hsServerError;
    default: return hsUnknown;
    }
}

std::string HttpStatusText(int code) {
    switch (code) {
    case hsOK: return "OK";
    case hsConnectFailed: return "Unable to connect to Server";
    case hsBadRequest: return "Bad Request";
    case hsAuthorisation: return "Authorisation Required";
    case hsForbidden: return "Forbidden by Server";
    case hsNotFound: return "Not Found on Server";
    case hsServerError: return "Internal Server Error";
    default: return "Status Unknown";
    }
}
