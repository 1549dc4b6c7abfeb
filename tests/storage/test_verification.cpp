#include "storage/verification.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <fstream>
#include <string>
#include <vector>

namespace {

class TFakeModule : public TVerifiableObject {
public:
    TFakeModule(std::string name, bool intact) : FName(std::move(name)), FIntact(intact) {}
    bool Verify() override {
        ++Calls;
        if (!FIntact) FatalVerificationFailure();
        return FIntact;
    }
    std::string GetName() override { return FName; }
    int Calls = 0;

private:
    std::string FName;
    bool FIntact;
};

struct Recorder {
    std::vector<std::string> shown;
    int terminations = 0;
};

class VerificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureShown();
        previous = SetVerificationHandlers({
            [this](const std::string& heading, const std::string& text) {
                // The flag must already be visible to checks run meanwhile.
                EXPECT_TRUE(FailureShown());
                rec.shown.push_back(heading + "|" + text);
            },
            [this] { ++rec.terminations; },
        });
    }
    void TearDown() override {
        SetVerificationHandlers(previous);
        ResetFailureShown();
    }
    Recorder rec;
    TVerificationHandlers previous;
};

TEST_F(VerificationTest, RegistryListsNamesInOrderIncludingDuplicates) {
    TVerificationManager mgr;
    TFakeModule a("Main Documents Module", true), b("Glossary Module", true);
    mgr.Register(a);
    mgr.Register(b);
    mgr.Register(a);
    TStringList names = {"stale"};
    mgr.FillList(names);
    EXPECT_EQ(names, (TStringList{"Main Documents Module", "Glossary Module", "Main Documents Module"}));
    EXPECT_EQ(&mgr.Module(2), &a);

    mgr.Unregister(a);
    mgr.FillList(names);
    EXPECT_EQ(names, TStringList{"Glossary Module"});
}

TEST_F(VerificationTest, ProgramRegistryIsOneInstance) {
    // What one part of the program registers, every other part lists.
    TFakeModule m("Registered Elsewhere", true);
    const size_t before = VerificationManager().Count();
    VerificationManager().Register(m);
    TStringList names;
    VerificationManager().FillList(names);
    ASSERT_EQ(names.size(), before + 1);
    EXPECT_EQ(names.back(), "Registered Elsewhere");
    VerificationManager().Unregister(m);
    EXPECT_EQ(VerificationManager().Count(), before);
}

TEST_F(VerificationTest, LoadErrorsOfShippedFilesAreVerificationFailures) {
    int runs = 0;
    EXPECT_TRUE(LoadShippedFile([&] { ++runs; }));
    EXPECT_TRUE(rec.shown.empty());
    // A load that throws (bad Base64, a damaged library, memory a hostile
    // file asks for) ends as the one failure, never as an escaping error.
    EXPECT_FALSE(LoadShippedFile([&] {
        ++runs;
        throw EConvertError("Input is not an valid MIME Base 64 Format.");
    }));
    EXPECT_FALSE(LoadShippedFile([&] { throw std::bad_alloc(); }));
    EXPECT_EQ(runs, 2);
    ASSERT_EQ(rec.shown.size(), 1u);
    EXPECT_EQ(rec.shown[0].substr(0, 21), "Verification Failed!|");
    EXPECT_EQ(rec.terminations, 1);
    // Once the failure is out, a later load that runs cleanly still says the program is ending.
    EXPECT_FALSE(LoadShippedFile([&] { ++runs; }));
    EXPECT_EQ(rec.shown.size(), 1u);
}

TEST_F(VerificationTest, FailureIsReportedOnceThenTerminationRequested) {
    TFakeModule bad1("Glossary Module", false), bad2("Internal Qur'an Translation", false);
    EXPECT_FALSE(FailureShown());
    EXPECT_FALSE(bad1.Verify());
    EXPECT_FALSE(bad2.Verify());
    ASSERT_EQ(rec.shown.size(), 1u);
    EXPECT_EQ(rec.shown[0].substr(0, 21), "Verification Failed!|");
    EXPECT_NE(rec.shown[0].find("Severe Software Error:  Verification Failed\r\n\r\nOne or more"),
              std::string::npos);
    EXPECT_EQ(rec.shown[0].substr(rec.shown[0].size() - 31), "Re-install this Software again.");
    EXPECT_EQ(rec.terminations, 1);
    EXPECT_TRUE(FailureShown());
}

TEST_F(VerificationTest, FailureWithoutHandlersOnlySetsTheFlag) {
    SetVerificationHandlers({});
    FatalVerificationFailure();
    EXPECT_TRUE(FailureShown());
    EXPECT_TRUE(rec.shown.empty());
}

class SelfCheckTest : public VerificationTest {
protected:
    void SetUp() override {
        VerificationTest::SetUp();
        dir = std::filesystem::path(HALVORA_BUILD_DIR) / "test-home" / "selfcheck";
        std::filesystem::create_directories(dir);
        program = (dir / "prog").string();
        std::ofstream(program, std::ios::binary) << "program bytes";
    }
    std::filesystem::path dir;
    std::string program;
};

TEST_F(SelfCheckTest, PassesAgainstTheSignatureBesideIt) {
    std::ofstream(program + ".sig") << FileSignature(program) << "\n";
    TProgramSelfCheck check(program);
    EXPECT_TRUE(check.Verify());
    EXPECT_FALSE(FailureShown());
    EXPECT_FALSE(check.GetName().empty());
}

TEST_F(SelfCheckTest, TamperedOrUnsignedProgramFails) {
    std::ofstream(program + ".sig") << FileSignature(program);
    std::ofstream(program, std::ios::binary | std::ios::app) << "patched";
    TProgramSelfCheck tampered(program);
    EXPECT_FALSE(tampered.Verify());
    EXPECT_EQ(rec.shown.size(), 1u);

    ResetFailureShown();
    TProgramSelfCheck unsigned_(program, (dir / "missing.sig").string());
    EXPECT_FALSE(unsigned_.Verify());
    EXPECT_EQ(rec.shown.size(), 2u);
}

TEST(SelfCheck, RunningProgramFileIsThisTest) {
    std::string self = TProgramSelfCheck::RunningProgramFile();
    EXPECT_NE(self.find("test_verification"), std::string::npos);
}

} // namespace
