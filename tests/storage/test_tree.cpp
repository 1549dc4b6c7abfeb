#include "storage/cipher.h"
#include "storage/modules.h"
#include "storage/tree.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The tree as "level:text[=data]" in pre-order, to compare shapes at a glance.
std::string Shape(const TVrnTreeItems& items) {
    std::string s;
    for (TVrnTreeItem* n = items.First(); n; n = n->GetNext()) {
        if (!s.empty()) s += " ";
        s += std::to_string(n->Level()) + ":" + n->Text;
        if (auto* d = dynamic_cast<TVrnStrObj*>(n->Data.get())) s += "=" + d->Value;
    }
    return s;
}

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const ETreeViewError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(Tree, LoadPlacesNodesByIndentation) {
    struct Case { TStringList lines; std::string shape; };
    const Case cases[] = {
        {{}, ""},
        {{"a", " b", "\tc"}, "0:a 1:b 1:c"},                        // space and TAB count alike
        {{"   a", " b"}, "0:a 1:b"},                                // the first line is a root whatever its indent
        {{"a", " b", "  c", "   d", "e"}, "0:a 1:b 2:c 3:d 0:e"},   // up several levels at once
        {{"a", " b", "  c", " d", "e", " f"}, "0:a 1:b 2:c 1:d 0:e 1:f"},
        {{"a", " ", "\t", ""}, "0:a 1: 1: 0:"},                           // blank lines are nodes with empty text
        {{"a\tx\ty", "b\t"}, "0:a=x\ty 0:b"},                      // data after the first TAB; empty data, no object
        {{" \t a\tb"}, "0:a=b"},
    };
    for (const Case& c : cases) {
        TVrnTreeItems items;
        items.CreateDataObjects = true;
        items.LoadFromStrings(c.lines);
        EXPECT_EQ(Shape(items), c.shape);
        EXPECT_EQ(items.Count(), static_cast<int>(c.lines.size()));
    }
}

TEST(Tree, InvalidNodeLevelKeepsEarlierNodes) {
    for (const TStringList& lines : {TStringList{"   a", "  b"}, TStringList{"a", " b", "   c", "d"}}) {
        TVrnTreeItems items;
        EXPECT_EQ(Message([&] { items.LoadFromStrings(lines); }), "Invalid Node Level");
        EXPECT_EQ(items.Count(), static_cast<int>(lines.size() == 2 ? 1 : 2));
    }
    // Loading again starts from empty.
    TVrnTreeItems items;
    items.LoadFromStrings({"a", "b"});
    items.LoadFromStrings({"c"});
    EXPECT_EQ(Shape(items), "0:c");
}

TEST(Tree, SaveWritesOneSpacePerLevelAndReloadsTheSameShape) {
    TVrnTreeItems items;
    items.CreateDataObjects = true;
    items.LoadFromStrings({"root\tdata", "\tchild", "\t grand\tg1\tg2", "next\t"});
    TStringList out{"kept"};
    items.SaveToStrings(&out, false);
    EXPECT_EQ(out, (TStringList{"kept", "root\tdata", " child", "  grand\tg1\tg2", "next"}));
    items.SaveToStrings(&out, true);
    EXPECT_EQ(out.size(), 4u);
    items.SaveToStrings(nullptr, true); // nothing to write to
    TVrnTreeItems again;
    again.CreateDataObjects = true;
    again.LoadFromStrings(out);
    EXPECT_EQ(Shape(again), Shape(items));

    TVrnTreeItems plain; // data texts are dropped without data objects
    plain.LoadFromStrings({"a\tb"});
    plain.SaveToStrings(&out, true);
    EXPECT_EQ(out, (TStringList{"a"}));
    TVrnTreeItems empty;
    empty.SaveToStrings(&out, true);
    EXPECT_TRUE(out.empty());
}

TEST(Tree, NodeNavigation) {
    TVrnTreeItems items;
    TVrnTreeItem* a = items.AddItem(nullptr, "a", nullptr);
    TVrnTreeItem* b = items.AddItem(nullptr, "b", nullptr);
    TVrnTreeItem* a1 = items.AddItem(a, "a1", nullptr);
    TVrnTreeItem* a2 = items.AddItem(a, "a2", nullptr);
    TVrnTreeItem* a11 = items.AddItem(a1, "a11", nullptr);
    EXPECT_EQ(items.Count(), 5);
    EXPECT_EQ(items.IndexOf(a2), 3);
    EXPECT_EQ(a->ChildCount(), 2);
    EXPECT_EQ(a->FirstChild(), a1);
    EXPECT_EQ(a->IndexOfChild(a2), 1);
    EXPECT_EQ(a->IndexOfChild(b), -1);
    EXPECT_EQ(a11->Level(), 2);
    EXPECT_EQ(a11->Parent(), a1);
    EXPECT_EQ(a11->Owner(), &items);
    EXPECT_EQ(a->NextSibling(), b);   // roots follow each other in the flat list
    EXPECT_EQ(a1->NextSibling(), a2);
    EXPECT_EQ(a2->NextSibling(), nullptr);
    EXPECT_EQ(b->NextSibling(), nullptr);
    EXPECT_EQ(Shape(items), "0:a 1:a1 2:a11 1:a2 0:b");
    EXPECT_THROW(a->Child(2), ERangeError);
    EXPECT_THROW(items.Item(5), ERangeError);

    // Moving a node takes it from its former parent; cycles are refused.
    b->AddChild(a2);
    EXPECT_EQ(a->ChildCount(), 1);
    EXPECT_EQ(a2->Parent(), b);
    EXPECT_EQ(Shape(items), "0:a 1:a1 2:a11 0:b 1:a2");
    EXPECT_THROW(a11->AddChild(a), ETreeViewError);
    EXPECT_THROW(a->AddChild(a), ETreeViewError);
    TVrnTreeItems other;
    EXPECT_THROW(other.AddItem(a, "x", nullptr), ETreeViewError);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.First(), nullptr);
}

TEST(Tree, ManagerEnciphersEachLineUnderItsIndex) {
    char tmpl[] = "/tmp/hvtreeXXXXXX";
    std::string dir = mkdtemp(tmpl);
    std::string file = dir + "/QIndex.dbx";
    std::string saved = ProgramFolder();
    SetProgramFolder(dir + "/");
    {
        TQuranIndexHelper index;
        EXPECT_EQ(index.FileName(), file);
        EXPECT_TRUE(index.Scrambled());
        EXPECT_TRUE(index.CreateDataObjects);
        EXPECT_FALSE(index.LoadFromFile()); // no file yet
        index.AddItem(index.AddItem(nullptr, "Nooh", std::make_unique<TVrnStrObj>("003")), "The Flood",
                      std::make_unique<TVrnStrObj>("003+001"));
        index.SaveToFile();
    }
    TStringList stored;
    ASSERT_TRUE(ReadFileLines(file, stored));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(DecipherText(stored[0], 0), "Nooh\t003");
    EXPECT_EQ(DecipherText(stored[1], 1), " The Flood\t003+001");
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, stored[0] + "\r\n" + stored[1] + "\r\n");

    TQuranIndexHelper reread;
    ASSERT_TRUE(reread.LoadFromFile());
    EXPECT_EQ(Shape(reread), "0:Nooh=003 1:The Flood=003+001");

    // Unscrambled, the same lines are read as they stand.
    TBasicTreeManager plain(file);
    plain.SetScrambled(false);
    EXPECT_FALSE(plain.OnScrambleLine);
    plain.LoadFromStrings({"x", " y"});
    EXPECT_EQ(Shape(plain), "0:x 1:y");
    // A line that cannot be deciphered stops the load; earlier nodes stay.
    plain.SetScrambled(true);
    EXPECT_THROW(plain.LoadFromStrings({EncipherText("ok", 0), "!!not a stored line!!"}), EConvertError);
    EXPECT_EQ(plain.Count(), 1);
    SetProgramFolder(saved);
    fs::remove_all(dir);
}
