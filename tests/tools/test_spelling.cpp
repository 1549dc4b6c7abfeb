// The word spelling query over a small glossary file.
#include "content/glossary.h"
#include "support/edition_fixture.h"
#include "tools/spelling.h"

#include <gtest/gtest.h>

namespace {

class SpellingTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteGlossary(folder_.Path() + "QGloss.dbx",
                      {"<<T:Iblis>>|<<O:Eblis>>", "The one who refused.", "<<T:Nooh>>|<<O:Nuh, Noah>>|<<RW:Nuh>>",
                       "The prophet of the ark."});
        glossary_ = std::make_unique<TGlossaryHelper>(folder_.Path() + "QGloss.dbx", "");
    }
    TFixtureFolder folder_;
    std::unique_ptr<TGlossaryHelper> glossary_;
};

TEST_F(SpellingTest, ThreeOutcomes) {
    struct Case {
        const char* typed;
        TSpellingAnswer::TOutcome outcome;
        const char* caption;
        const char* shown;
        int tag;
    };
    const Case cases[] = {
        // Letter case and alternate spellings are corrected to the headword,
        // never to a preferred spelling.
        {"iblis", TSpellingAnswer::Corrected, "Iblis", "Iblis", 0},
        {"  Noah ", TSpellingAnswer::Corrected, "Nooh", "Nooh", 0},
        {"Nuh", TSpellingAnswer::Corrected, "Nooh", "Nooh", 0},
        // The headword as written, and its plural and possessive, are correct.
        {"Iblis", TSpellingAnswer::Correct, kSpellingCorrect, "Iblis", 1},
        {"Noohs", TSpellingAnswer::Correct, kSpellingCorrect, "Noohs", 1},
        {"Nooh's", TSpellingAnswer::Correct, kSpellingCorrect, "Nooh's", 1},
        {"Pharaoh", TSpellingAnswer::NotInGlossary, kSpellingNotInGlossary, "", 0},
        {"   ", TSpellingAnswer::NoQuery, "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TSpellingAnswer a = WordSpellingQuery(*glossary_, c.typed);
        EXPECT_EQ(a.Outcome, c.outcome);
        EXPECT_EQ(a.Caption, c.caption);
        EXPECT_EQ(a.ShowWord, c.shown);
        EXPECT_EQ(a.Tag, c.tag);
    }
}

} // namespace
