#include "storage/cipher.h"

#include "util/errors.h"
#include "util/strutils.h"

#include <cryptopp/base64.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/filters.h>
#include <cryptopp/ripemd.h>

#include <algorithm>
#include <cstring>
#include <vector>

struct TCipherKeyState {
    CryptoPP::Blowfish::Encryption Enc;
    CryptoPP::Blowfish::Decryption Dec;
    unsigned char IV[8];
};

namespace {

// The product's key template, held only as digit triplets.
constexpr std::string_view kKeyDigits =
    "238212252162187250164186177182179161183190179179222166171183184182178179222185208172171"
    "186183175176173207161234238205201215";

TCipherManager* gShared = nullptr;
std::string gKeyTemplate;
uint64_t gKeysDerived = 0;
bool gCacheEnabled = true;

TTextCipherCacheStats gStats;

// Every file deciphers its lines under keys 0, 1, 2... in order, so a small
// key serves every file and a large one only the longest: the cache keeps the
// smallest keys its memory budget holds, and nothing else. (A recency order is
// flushed by any file longer than itself and then hits nothing.)
struct TKeyCache {
    std::vector<std::shared_ptr<const TCipherKeyState>> slots; // by key
    size_t held = 0;

    static size_t Capacity() { return kTextCipherCacheBudget / TextCipherCacheEntryBytes(); }
    std::shared_ptr<const TCipherKeyState> Find(int32_t key) {
        ++gStats.Lookups;
        if (key < 0 || static_cast<size_t>(key) >= slots.size() || !slots[static_cast<size_t>(key)])
            return nullptr;
        ++gStats.Hits;
        return slots[static_cast<size_t>(key)];
    }
    void Put(int32_t key, std::shared_ptr<const TCipherKeyState> state) {
        if (key < 0 || static_cast<size_t>(key) >= Capacity()) return;
        if (static_cast<size_t>(key) >= slots.size()) slots.resize(static_cast<size_t>(key) + 1);
        auto& slot = slots[static_cast<size_t>(key)];
        if (!slot) ++held;
        slot = std::move(state);
        gStats.PeakBytes = std::max(gStats.PeakBytes, held * TextCipherCacheEntryBytes());
    }
    void Clear() {
        slots.clear();
        slots.shrink_to_fit();
        held = 0;
    }
};

TKeyCache& Cache() {
    static TKeyCache cache;
    return cache;
}

std::shared_ptr<const TCipherKeyState> DeriveKey(std::string_view keyText) {
    ++gKeysDerived;
    unsigned char k[CryptoPP::RIPEMD256::DIGESTSIZE];
    CryptoPP::RIPEMD256 hash;
    hash.CalculateDigest(k, reinterpret_cast<const CryptoPP::byte*>(keyText.data()), keyText.size());
    auto state = std::make_shared<TCipherKeyState>();
    state->Enc.SetKey(k, sizeof k);
    state->Dec.SetKey(k, sizeof k);
    unsigned char ones[8];
    std::memset(ones, 0xFF, sizeof ones);
    state->Enc.ProcessBlock(ones, state->IV);
    return state;
}

// Formats the template's single integer placeholder the way the data files
// were produced: "%d" takes the product, "%%" is a literal percent sign.
std::string FormatKeyText(const std::string& tmpl, int32_t product) {
    std::string out;
    out.reserve(tmpl.size() + 12);
    bool used = false;
    for (size_t i = 0; i < tmpl.size(); ++i) {
        if (tmpl[i] == '%' && i + 1 < tmpl.size()) {
            if (tmpl[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (tmpl[i + 1] == 'd' && !used) {
                out += std::to_string(product);
                used = true;
                ++i;
                continue;
            }
        }
        out += tmpl[i];
    }
    return out;
}

TCipherManager& SharedCipher() {
    if (!gShared) {
        static TVrnEncDec fallback;
        PrepareTextCipher(fallback);
    }
    return *gShared;
}

// Key set-up for one call: the overflow check, the key text, the key.
void SetUpKey(TCipherManager& cipher, int32_t key) {
    int64_t product = static_cast<int64_t>(key) * 786;
    if (product > INT32_MAX || product < INT32_MIN) throw EIntOverflow();
    if (gCacheEnabled) {
        if (auto cached = Cache().Find(key)) {
            cipher.UseKey(std::move(cached));
            return;
        }
    }
    auto state = DeriveKey(FormatKeyText(gKeyTemplate, static_cast<int32_t>(product)));
    if (gCacheEnabled) Cache().Put(key, state);
    cipher.UseKey(std::move(state));
}

int Base64Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool IsPassedOver(unsigned char c) {
    static constexpr std::string_view kPassed = " \t\r\n$()[]{},;:-_\\*\"'";
    return kPassed.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

TCipherManager::TCipherManager() { std::memset(feedback_, 0, sizeof feedback_); }
TCipherManager::~TCipherManager() {
    if (gShared == this) gShared = nullptr;
}

void TCipherManager::InitKey(std::string_view keyText) { UseKey(DeriveKey(keyText)); }

void TCipherManager::UseKey(std::shared_ptr<const TCipherKeyState> key) {
    key_ = std::move(key);
    Reset();
}

void TCipherManager::Reset() {
    if (key_)
        std::memcpy(feedback_, key_->IV, 8);
    else
        std::memset(feedback_, 0, 8);
}

std::string TCipherManager::DecodeText(std::string_view base64) {
    std::string data = Base64Decode(base64);
    if (!key_) throw EHalvoraError("Cipher key not initialized");
    unsigned char* p = reinterpret_cast<unsigned char*>(data.data());
    size_t n = data.size(), i = 0;
    unsigned char block[8];
    for (; i + 8 <= n; i += 8) {
        unsigned char c[8];
        std::memcpy(c, p + i, 8);
        key_->Dec.ProcessBlock(c, block);
        for (int j = 0; j < 8; ++j) {
            p[i + j] = block[j] ^ feedback_[j];
            feedback_[j] = c[j] ^ feedback_[j];
        }
    }
    if (i < n) {
        key_->Enc.ProcessBlock(feedback_, block);
        for (size_t j = 0; i + j < n; ++j) p[i + j] ^= block[j];
        for (int j = 0; j < 8; ++j) feedback_[j] ^= block[j];
    }
    return data;
}

std::string TCipherManager::EncodeText(std::string_view bytes) {
    if (!key_) throw EHalvoraError("Cipher key not initialized");
    std::string data(bytes);
    unsigned char* p = reinterpret_cast<unsigned char*>(data.data());
    size_t n = data.size(), i = 0;
    unsigned char block[8];
    for (; i + 8 <= n; i += 8) {
        for (int j = 0; j < 8; ++j) block[j] = p[i + j] ^ feedback_[j];
        key_->Enc.ProcessBlock(block, p + i);
        for (int j = 0; j < 8; ++j) feedback_[j] ^= p[i + j];
    }
    if (i < n) {
        key_->Enc.ProcessBlock(feedback_, block);
        for (size_t j = 0; i + j < n; ++j) p[i + j] ^= block[j];
        for (int j = 0; j < 8; ++j) feedback_[j] ^= block[j];
    }
    return Base64Encode(data);
}

void PrepareTextCipher(TVrnEncDec& component) {
    gShared = &component;
    gKeyTemplate = UnscrambleText(DigitsToText(kKeyDigits));
}

void ReleaseTextCipher(TVrnEncDec& component) {
    if (gShared == &component) gShared = nullptr;
}

std::string DecipherText(std::string_view stored, int32_t key) {
    TCipherManager& cipher = SharedCipher();
    SetUpKey(cipher, key);
    if (stored.empty()) return {};
    return MirrorText(cipher.DecodeText(stored));
}

std::string EncipherText(std::string_view plain, int32_t key) {
    TCipherManager& cipher = SharedCipher();
    SetUpKey(cipher, key);
    if (plain.empty()) return {};
    return cipher.EncodeText(MirrorText(plain));
}

std::string DigitsToText(std::string_view digits) {
    if (digits.size() < 3 || digits.size() % 3 != 0) return {};
    std::string out;
    out.reserve(digits.size() / 3);
    for (size_t i = 0; i < digits.size(); i += 3) {
        int v = 0;
        for (size_t j = i; j < i + 3; ++j) {
            char c = digits[j];
            if (c < '0' || c > '9') return {};
            v = v * 10 + (c - '0');
        }
        out += static_cast<char>(v & 0xFF);
    }
    return out;
}

std::string MirrorText(std::string_view text) {
    std::string out(text);
    for (auto& ch : out) {
        unsigned c = static_cast<unsigned char>(ch);
        if (c >= 32) ch = static_cast<char>(287 - c);
    }
    return out;
}

std::string UnscrambleText(std::string_view text) { return MirrorText(ReverseText(text)); }

std::string ScrambleText(std::string_view text) { return ReverseText(MirrorText(text)); }

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    CryptoPP::StringSource src(reinterpret_cast<const CryptoPP::byte*>(bytes.data()), bytes.size(),
                               true, new CryptoPP::Base64Encoder(new CryptoPP::StringSink(out), false));
    return out;
}

std::string Base64Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 4);
    uint32_t acc = 0;
    int bits = 0;
    bool padding = false;
    for (unsigned char c : text) {
        if (c == '=') {
            padding = true;
            continue;
        }
        int v = Base64Value(c);
        if (v < 0) {
            if (IsPassedOver(c)) continue;
            throw EConvertError("Input is not an valid MIME Base 64 Format.");
        }
        if (padding) continue; // data after padding is not part of the text
        acc = (acc << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    return out;
}

void SetTextCipherCacheEnabled(bool enabled) {
    gCacheEnabled = enabled;
    if (!enabled) Cache().Clear();
}
void ClearTextCipherCache() { Cache().Clear(); }
size_t TextCipherCacheSize() { return Cache().held; }
// The state itself and the shared block around it (count, allocation).
size_t TextCipherCacheEntryBytes() { return sizeof(TCipherKeyState) + 32; }
TTextCipherCacheStats TextCipherCacheStats() { return gStats; }
void ResetTextCipherCacheStats() { gStats = {}; }
uint64_t TextCipherKeysDerived() { return gKeysDerived; }
void ResetTextCipherKeysDerived() { gKeysDerived = 0; }
