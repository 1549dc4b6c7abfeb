#pragma once
// Tree data files: one node per line, nesting shown by indentation, an
// optional data text after a TAB; on disk every line is enciphered under its
// index.
#include "util/strutils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Base of the objects a node may carry.
class TVrnDataObject {
public:
    virtual ~TVrnDataObject() = default;
};

// A data object holding one string.
class TVrnStrObj : public TVrnDataObject {
public:
    explicit TVrnStrObj(std::string value = {}) : Value(std::move(value)) {}
    std::string Value;
};

// The line transform: line (in and out), its index, encode (true when writing).
using TScrambleLineEvent = std::function<void(std::string& line, int32_t index, bool encode)>;

class TVrnDataObjManager {
public:
    virtual ~TVrnDataObjManager() = default;
    // A TVrnStrObj for a non-empty data text when CreateDataObjects is set.
    virtual std::unique_ptr<TVrnDataObject> MakeDataObject(const std::string& dataText);

    bool CreateDataObjects = false;
    TScrambleLineEvent OnScrambleLine;
};

class TVrnTreeItems;

class TVrnTreeItem {
public:
    TVrnTreeItems* Owner() const { return FOwner; }
    TVrnTreeItem* Parent() const { return FParent; }
    std::string Text;
    std::unique_ptr<TVrnDataObject> Data;

    int Level() const;
    int ChildCount() const { return static_cast<int>(FChildren.size()); }
    TVrnTreeItem* Child(int index) const;
    int IndexOfChild(const TVrnTreeItem* child) const;
    TVrnTreeItem* FirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    const std::vector<TVrnTreeItem*>& Children() const { return FChildren; }
    // Makes the node (of the same collection) this node's last child, taking
    // it from its former parent. ETreeViewError for a node of another
    // collection, or for this node or one of its ancestors.
    void AddChild(TVrnTreeItem* node);
    // The next node under the same parent; for a root, the next root.
    TVrnTreeItem* NextSibling() const;
    // The next node in pre-order.
    TVrnTreeItem* GetNext() const;

private:
    friend class TVrnTreeItems;
    explicit TVrnTreeItem(TVrnTreeItems* owner) : FOwner(owner) {}
    void Detach();
    TVrnTreeItems* FOwner;
    TVrnTreeItem* FParent = nullptr;
    std::vector<TVrnTreeItem*> FChildren;
};

class TVrnTreeItems : public TVrnDataObjManager {
public:
    TVrnTreeItems() = default;
    TVrnTreeItems(const TVrnTreeItems&) = delete;
    TVrnTreeItems& operator=(const TVrnTreeItems&) = delete;
    ~TVrnTreeItems() override = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    TVrnTreeItem* Item(int index) const;
    TVrnTreeItem* First() const { return FItems.empty() ? nullptr : FItems.front().get(); }
    int IndexOf(const TVrnTreeItem* node) const;
    void Clear();
    // A new node: the parent's last child, or a root when parent is null.
    TVrnTreeItem* AddItem(TVrnTreeItem* parent, const std::string& text, std::unique_ptr<TVrnDataObject> data);

    // Replaces the content by the tree the lines describe. ETreeViewError
    // "Invalid Node Level" for a line nested more than one level deeper than
    // the one before it; the nodes read until then stay.
    virtual void LoadFromStrings(const TStringList& lines);
    // Writes the tree as lines (one space per level); nothing without a list.
    virtual void SaveToStrings(TStringList* lines, bool clearFirst);

private:
    friend class TVrnTreeItem;
    std::vector<std::unique_ptr<TVrnTreeItem>> FItems;
};

// A collection bound to a file whose lines are enciphered under their index.
class TBasicTreeManager : public TVrnTreeItems {
public:
    explicit TBasicTreeManager(std::string fileName);
    const std::string& FileName() const { return FFileName; }
    bool Scrambled() const { return FScrambled; }
    void SetScrambled(bool value);

    // Reads the file (CR LF lines); false when it cannot be read. Errors of
    // the content (cipher, node level) are raised.
    bool LoadFromFile();
    // Writes the tree as CR LF lines through a temporary file (EInOutError).
    void SaveToFile();

protected:
    virtual void ScrambleLine(std::string& line, int32_t index, bool encode);

private:
    std::string FFileName;
    bool FScrambled = false;
};

// The hierarchical index "QIndex.dbx" of the program folder.
class TQuranIndexHelper : public TBasicTreeManager {
public:
    TQuranIndexHelper();
    explicit TQuranIndexHelper(std::string fileName);
};

// The file name of the hierarchical index.
extern const char* const kQuranIndexFile; // "QIndex.dbx"
