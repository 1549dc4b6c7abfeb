#include "storage/cipher.h"
#include "util/errors.h"

#include <gtest/gtest.h>

namespace {

struct Known {
    const char* plain;
    int key;
    const char* stored;
};

const Known kKnown[] = {
    {"abc", 0, "G3cl"},
    {"In the name of Allah", 1, "G/9eStIg2L0o5HokK7Ve3A4eVT0="},
    {"12345678", 3, "Il01GJz9Wto="},
    {"<<T:Salat>>|<<O:Salah, Namaz>>", 5, "m36TeRQAVOWq1Z/c7i6E9+4KDZSyKL79kAsRlt0M"},
};

class CipherTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { SetTextCipherCacheEnabled(GetParam()); }
    void TearDown() override { SetTextCipherCacheEnabled(true); }
};

TEST_P(CipherTest, KnownValuesBothWays) {
    TVrnEncDec component;
    PrepareTextCipher(component);
    for (const auto& k : kKnown) {
        EXPECT_EQ(EncipherText(k.plain, k.key), k.stored) << k.plain;
        EXPECT_EQ(DecipherText(k.stored, k.key), k.plain) << k.stored;
    }
    ReleaseTextCipher(component);
}

TEST_P(CipherTest, RoundTripsEveryLengthAndKeyRange) {
    std::string s;
    for (int len = 0; len <= 40; ++len) {
        for (int key : {0, 1, 7, 999, -5, 2732167, -2732167}) {
            std::string stored = EncipherText(s, key);
            EXPECT_EQ(DecipherText(stored, key), s);
        }
        s += static_cast<char>(len % 3 == 0 ? '\t' : (len * 37) & 0xFF);
    }
}

INSTANTIATE_TEST_SUITE_P(CachedAndFresh, CipherTest, ::testing::Values(true, false));

TEST(Cipher, EmptyStaysEmptyAndLengthIsKept) {
    EXPECT_EQ(EncipherText("", 12), "");
    EXPECT_EQ(DecipherText("", 12), "");
    // 1 to 7 bytes use only the final-block rule: the stored form holds as many bytes.
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(Base64Decode(EncipherText(std::string(n, 'x'), 4)).size(), size_t(n));
}

TEST(Cipher, OverflowingKeyRaisesAndDeciphersNothing) {
    EXPECT_NO_THROW(DecipherText("G3cl", 2732167));
    EXPECT_THROW(DecipherText("G3cl", 2732168), EIntOverflow);
    EXPECT_THROW(EncipherText("abc", -2732168), EIntOverflow);
}

TEST(Cipher, CacheGivesSameResultsAndStaysBounded) {
    ClearTextCipherCache();
    SetTextCipherCacheEnabled(true);
    std::vector<std::string> cached;
    for (int k = 0; k < 50; ++k) cached.push_back(EncipherText("line of text " + std::to_string(k), k));
    ResetTextCipherKeysDerived();
    for (int k = 0; k < 50; ++k) EXPECT_EQ(DecipherText(cached[k], k), "line of text " + std::to_string(k));
    EXPECT_EQ(TextCipherKeysDerived(), 0u); // every key came from the cache
    SetTextCipherCacheEnabled(false);
    for (int k = 0; k < 50; ++k) EXPECT_EQ(EncipherText("line of text " + std::to_string(k), k), cached[k]);
    EXPECT_EQ(TextCipherKeysDerived(), 50u);
}

// A file far longer than the cache (the recitation file has 6240 lines) keeps
// the cache within its memory, and the next file still finds the keys the
// two share: those of its first lines.
TEST(Cipher, CacheIsBoundedByMemoryAndKeepsHitting) {
    // The estimate of an entry holds both key schedules, so the bound is real.
    EXPECT_GE(TextCipherCacheEntryBytes(), 2 * (18 + 4 * 256) * sizeof(uint32_t));
    ClearTextCipherCache();
    SetTextCipherCacheEnabled(true);
    ResetTextCipherCacheStats();
    for (int k = 0; k < 8000; ++k) EncipherText("", k);
    EXPECT_LE(TextCipherCacheStats().PeakBytes, kTextCipherCacheBudget);
    EXPECT_EQ(TextCipherCacheStats().PeakBytes, TextCipherCacheSize() * TextCipherCacheEntryBytes());
    EXPECT_GE(TextCipherCacheSize(), 400u);
    ResetTextCipherCacheStats();
    ResetTextCipherKeysDerived();
    for (int k = 0; k < 1000; ++k) EncipherText("", k);
    EXPECT_EQ(TextCipherCacheStats().Lookups, 1000u);
    EXPECT_EQ(TextCipherCacheStats().Hits, TextCipherCacheSize());
    EXPECT_EQ(TextCipherKeysDerived(), 1000u - TextCipherCacheSize());
    ClearTextCipherCache();
    EXPECT_EQ(TextCipherCacheSize(), 0u);
}

TEST(Cipher, Base64DecoderToleratesItsCharactersAndRejectsOthers) {
    EXPECT_EQ(Base64Decode("QUJD"), "ABC");
    EXPECT_EQ(Base64Decode("QUI"), "AB");   // missing padding
    EXPECT_EQ(Base64Decode("QUI="), "AB");
    EXPECT_EQ(Base64Decode(" Q U\tJ\r\nD "), "ABC");
    EXPECT_EQ(Base64Decode("$()[]{},;:-_\\*\"'QUJD"), "ABC");
    try {
        Base64Decode("QU.D");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Input is not an valid MIME Base 64 Format.");
    }
    EXPECT_THROW(DecipherText("G3c!", 0), EConvertError);
}

TEST(Cipher, ScramblingRoutines) {
    EXPECT_EQ(DigitsToText("065066"), "AB");
    EXPECT_EQ(DigitsToText("0650"), "");
    EXPECT_EQ(DigitsToText("06"), "");
    EXPECT_EQ(MirrorText(" "), "\xFF");
    EXPECT_EQ(MirrorText("\t\r\n"), "\t\r\n");
    EXPECT_EQ(MirrorText("\x9F"), "\x80");
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(MirrorText(MirrorText(all)), all);
    EXPECT_EQ(UnscrambleText(MirrorText("ab\r\nc")), "c\r\nba");
}

} // namespace
