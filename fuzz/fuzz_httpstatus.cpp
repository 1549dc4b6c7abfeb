// Any reply header gives one of the status codes.
#include "fuzz_target.h"
#include "net/http.h"

#include <string>

HALVORA_FUZZ_TARGET(httpstatus) {
    int code = static_cast<int>(ParseHttpStatus(std::string(reinterpret_cast<const char*>(data), size)));
    if (code < 0 || code > 7) __builtin_trap();
    HttpStatusText(code);
    return 0;
}
