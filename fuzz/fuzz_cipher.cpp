// A stored line is Base64 text deciphered under a numeric key: any text gives
// the plain bytes or the convert error (a key too large for the key text the
// overflow error), and never anything else.
#include "fuzz_target.h"
#include "storage/cipher.h"
#include "util/errors.h"

#include <cstring>
#include <string>

HALVORA_FUZZ_TARGET(cipher) {
    // The first four bytes choose the key; the rest is the stored line.
    int32_t key = 0;
    if (size >= 4) {
        std::memcpy(&key, data, 4);
        data += 4;
        size -= 4;
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        Base64Decode(text);
    } catch (const EConvertError&) {
    }
    try {
        std::string plain = DecipherText(text, key);
        // What was deciphered enciphers back to a text that deciphers to it.
        if (DecipherText(EncipherText(plain, key), key) != plain) __builtin_trap();
    } catch (const EConvertError&) {
    } catch (const EIntOverflow&) {
    }
    return 0;
}
