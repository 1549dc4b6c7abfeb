#include "controls/vrnlistview.h"

#include <gtest/gtest.h>

#include <QHeaderView>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Column(const TVrnListView& lv, int column) {
    std::vector<std::string> out;
    for (int i = 0; i < lv.ItemCount(); ++i) out.push_back(lv.ItemText(i, column));
    return out;
}

TEST(ListView, AddDelimitedCaptionSubItemsAndData) {
    TVrnListView lv;
    lv.SetColumns({"Name", "Type", "Text"}, {100, 90, 200});
    int a = 1, b = 2;
    lv.AddDelimited("Name| Type |Text", &a);
    lv.AddDelimited("", &b);
    lv.SetDelimChar(';');
    lv.AddDelimited(" Salat ;Term", &b);
    ASSERT_EQ(lv.ItemCount(), 3);
    EXPECT_EQ(lv.ItemText(0, 0), "Name");
    EXPECT_EQ(lv.ItemText(0, 1), "Type");
    EXPECT_EQ(lv.ItemText(0, 2), "Text");
    EXPECT_EQ(lv.ItemDataAt(0), &a);
    EXPECT_EQ(lv.ItemText(1, 0), "");
    EXPECT_EQ(lv.ItemDataAt(1), nullptr); // an empty text carries no data
    EXPECT_EQ(lv.ItemText(2, 0), "Salat");
    EXPECT_EQ(lv.ItemText(2, 1), "Term");
    lv.SetItemDataAt(1, &a);
    EXPECT_EQ(lv.ItemDataAt(1), &a);
    EXPECT_EQ(lv.SelectedItemIndex(), -1);
    lv.topLevelItem(2)->setSelected(true);
    EXPECT_EQ(lv.SelectedItemIndex(), 2);
}

TEST(ListView, SortingNumbersAsNumbersAndTheClickStates) {
    struct Case {
        std::vector<const char*> values;
        std::vector<std::string> ascending;
    };
    const Case cases[] = {
        {{"10", "9", "100"}, {"9", "10", "100"}},
        {{"10", "9a", "9"}, {"9", "10", "9a"}},
        {{"b", "B", "a"}, {"B", "a", "b"}}, // bytes, case-sensitive
        {{"-3", "2", "-10"}, {"-10", "-3", "2"}},
    };
    for (const Case& c : cases) {
        TVrnListView lv;
        lv.SetColumns({"Caption", "Value"}, {80, 80});
        for (const char* v : c.values) lv.AddDelimited(std::string("x|") + v, nullptr);
        std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        // First and second clicks ascend, then the order alternates.
        lv.ColumnClick(1);
        EXPECT_EQ(lv.ColumnTag(1), 1);
        EXPECT_EQ(Column(lv, 1), c.ascending) << c.values[0];
        lv.ColumnClick(1);
        EXPECT_EQ(lv.ColumnTag(1), 2);
        EXPECT_EQ(Column(lv, 1), c.ascending);
        lv.ColumnClick(1);
        EXPECT_EQ(lv.ColumnTag(1), 1);
        EXPECT_EQ(Column(lv, 1), descending);
        lv.ColumnClick(1);
        EXPECT_EQ(Column(lv, 1), c.ascending);
        EXPECT_EQ(lv.SortColumn(), 1);
    }
}

TEST(ListView, SortByCaptionKeepsRowsTogether) {
    TVrnListView lv;
    lv.SetColumns({"Term", "Meaning"}, {80, 80});
    int one = 1, two = 2;
    lv.AddDelimited("Zakat|Alms", &two);
    lv.AddDelimited("Adhan|Call", &one);
    lv.ColumnClick(0);
    EXPECT_EQ(Column(lv, 0), (std::vector<std::string>{"Adhan", "Zakat"}));
    EXPECT_EQ(Column(lv, 1), (std::vector<std::string>{"Call", "Alms"}));
    EXPECT_EQ(lv.ItemDataAt(0), &one);
    lv.ColumnClick(5); // no such column: nothing moves
    EXPECT_EQ(Column(lv, 0), (std::vector<std::string>{"Adhan", "Zakat"}));
}

TEST(ListView, LastColumnFillsTheWidthWithALowerBound) {
    TVrnListView lv;
    lv.header()->setMinimumSectionSize(1);
    lv.SetColumns({"A", "B", "C"}, {100, 90, 50});
    lv.resize(489, 200);
    lv.FitLastColumn();
    EXPECT_EQ(lv.columnWidth(2), 279);
    // Wider columns than the view: the last keeps a usable width instead of
    // a negative one.
    lv.setColumnWidth(0, 400);
    lv.setColumnWidth(1, 300);
    lv.FitLastColumn();
    EXPECT_EQ(lv.columnWidth(2), TVrnListView::kMinLastColumnWidth);
    // Fitting off: nothing changes.
    lv.SetFitColumns(false);
    lv.setColumnWidth(0, 100);
    lv.setColumnWidth(1, 90);
    lv.resize(300, 200);
    lv.FitLastColumn();
    EXPECT_EQ(lv.columnWidth(2), TVrnListView::kMinLastColumnWidth);
}

} // namespace
