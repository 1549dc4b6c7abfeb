#pragma once
// The text cipher: every stored line is enciphered under its line index.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct TCipherKeyState;

// Working state of one Blowfish cipher in the block-chaining mode "cmCTS".
class TCipherManager {
public:
    TCipherManager();
    virtual ~TCipherManager();
    TCipherManager(const TCipherManager&) = delete;
    TCipherManager& operator=(const TCipherManager&) = delete;

    // Derives key and initial vector from the key text; resets the feedback register.
    void InitKey(std::string_view keyText);
    // Base64 text in, deciphered bytes out (raises EConvertError on a bad text).
    std::string DecodeText(std::string_view base64);
    // Bytes in, enciphered Base64 text out.
    std::string EncodeText(std::string_view bytes);

    // Uses an already derived key (the numeric-key cache hands these out).
    void UseKey(std::shared_ptr<const TCipherKeyState> key);
    void Reset();

private:
    std::shared_ptr<const TCipherKeyState> key_;
    unsigned char feedback_[8];
};

class TVrnEncDec : public TCipherManager {};

// Remembers the component and builds the key template. Called once at start-up;
// DecipherText and EncipherText prepare a component of their own when it was not.
void PrepareTextCipher(TVrnEncDec& component);
// Forgets the component (it is being destroyed).
void ReleaseTextCipher(TVrnEncDec& component);

std::string DecipherText(std::string_view stored, int32_t key);
std::string EncipherText(std::string_view plain, int32_t key);

std::string DigitsToText(std::string_view digits);
std::string MirrorText(std::string_view text);
std::string UnscrambleText(std::string_view text);
// The inverse of UnscrambleText: how the packer stores a scrambled line.
std::string ScrambleText(std::string_view text);

// Base64 with the tolerant decoder of the stored texts.
std::string Base64Encode(std::string_view bytes);
std::string Base64Decode(std::string_view text);

// The cache of derived keys by numeric key, bounded by memory. Results never
// differ from deriving the key on every call.
void SetTextCipherCacheEnabled(bool enabled);
void ClearTextCipherCache();
// Entries held, and the memory one entry takes.
size_t TextCipherCacheSize();
size_t TextCipherCacheEntryBytes();
// The most memory the cache may take.
constexpr size_t kTextCipherCacheBudget = size_t(4) << 20;
struct TTextCipherCacheStats {
    uint64_t Lookups = 0, Hits = 0;
    size_t PeakBytes = 0; // the most the entries took at once
};
TTextCipherCacheStats TextCipherCacheStats();
void ResetTextCipherCacheStats();
// How many keys have been derived since start (or since the last reset).
uint64_t TextCipherKeysDerived();
void ResetTextCipherKeysDerived();
