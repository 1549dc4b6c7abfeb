#include "storage/tree.h"

#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <algorithm>

const char* const kQuranIndexFile = "QIndex.dbx";

std::unique_ptr<TVrnDataObject> TVrnDataObjManager::MakeDataObject(const std::string& dataText) {
    if (!CreateDataObjects || dataText.empty()) return nullptr;
    return std::make_unique<TVrnStrObj>(dataText);
}

// ---------------------------------------------------------------------------

int TVrnTreeItem::Level() const {
    int level = 0;
    for (const TVrnTreeItem* p = FParent; p; p = p->FParent) ++level;
    return level;
}

TVrnTreeItem* TVrnTreeItem::Child(int index) const {
    if (index < 0 || index >= ChildCount()) throw ERangeError();
    return FChildren[index];
}

int TVrnTreeItem::IndexOfChild(const TVrnTreeItem* child) const {
    auto it = std::find(FChildren.begin(), FChildren.end(), child);
    return it == FChildren.end() ? -1 : static_cast<int>(it - FChildren.begin());
}

void TVrnTreeItem::Detach() {
    if (!FParent) return;
    auto& siblings = FParent->FChildren;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    FParent = nullptr;
}

void TVrnTreeItem::AddChild(TVrnTreeItem* node) {
    if (!node || node->FOwner != FOwner) throw ETreeViewError("Invalid Node");
    // A node under itself would make the walks endless.
    for (const TVrnTreeItem* p = this; p; p = p->FParent)
        if (p == node) throw ETreeViewError("Invalid Node");
    node->Detach();
    node->FParent = this;
    FChildren.push_back(node);
}

TVrnTreeItem* TVrnTreeItem::NextSibling() const {
    if (FParent) {
        int i = FParent->IndexOfChild(this);
        return i + 1 < FParent->ChildCount() ? FParent->FChildren[i + 1] : nullptr;
    }
    const auto& items = FOwner->FItems;
    int i = FOwner->IndexOf(this);
    for (size_t k = static_cast<size_t>(i) + 1; k < items.size(); ++k)
        if (!items[k]->FParent) return items[k].get();
    return nullptr;
}

TVrnTreeItem* TVrnTreeItem::GetNext() const {
    if (!FChildren.empty()) return FChildren.front();
    for (const TVrnTreeItem* n = this; n; n = n->FParent)
        if (TVrnTreeItem* s = n->NextSibling()) return s;
    return nullptr;
}

// ---------------------------------------------------------------------------

TVrnTreeItem* TVrnTreeItems::Item(int index) const {
    if (index < 0 || index >= Count()) throw ERangeError();
    return FItems[index].get();
}

int TVrnTreeItems::IndexOf(const TVrnTreeItem* node) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == node) return static_cast<int>(i);
    return -1;
}

void TVrnTreeItems::Clear() { FItems.clear(); }

TVrnTreeItem* TVrnTreeItems::AddItem(TVrnTreeItem* parent, const std::string& text,
                                     std::unique_ptr<TVrnDataObject> data) {
    if (parent && parent->FOwner != this) throw ETreeViewError("Invalid Node");
    std::unique_ptr<TVrnTreeItem> node(new TVrnTreeItem(this));
    node->Text = text;
    node->Data = std::move(data);
    TVrnTreeItem* raw = node.get();
    FItems.push_back(std::move(node));
    if (parent) parent->AddChild(raw);
    return raw;
}

void TVrnTreeItems::LoadFromStrings(const TStringList& lines) {
    Clear();
    TVrnTreeItem* previous = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (OnScrambleLine) OnScrambleLine(line, static_cast<int32_t>(i), false);
        size_t indent = line.find_first_not_of("\t ");
        if (indent == std::string::npos) indent = line.size();
        const int level = static_cast<int>(std::min<size_t>(indent, 1u << 30));
        size_t tab = line.find('\t', indent);
        std::string text = line.substr(indent, tab == std::string::npos ? std::string::npos : tab - indent);
        std::string data = tab == std::string::npos ? std::string() : line.substr(tab + 1);

        TVrnTreeItem* parent = nullptr;
        if (previous) {
            const int prevLevel = previous->Level();
            if (level > prevLevel + 1) throw ETreeViewError("Invalid Node Level");
            if (level == prevLevel + 1) {
                parent = previous;
            } else {
                TVrnTreeItem* sibling = previous;
                while (sibling->Level() > level) sibling = sibling->Parent();
                parent = sibling->Parent();
            }
        }
        previous = AddItem(parent, text, MakeDataObject(data));
    }
}

void TVrnTreeItems::SaveToStrings(TStringList* lines, bool clearFirst) {
    if (!lines) return;
    if (clearFirst) lines->clear();
    int32_t k = 0;
    for (TVrnTreeItem* n = First(); n; n = n->GetNext(), ++k) {
        std::string line(static_cast<size_t>(n->Level()), ' ');
        line += n->Text;
        if (auto* s = dynamic_cast<TVrnStrObj*>(n->Data.get())) line += "\t" + s->Value;
        if (OnScrambleLine) OnScrambleLine(line, k, true);
        lines->push_back(std::move(line));
    }
}

// ---------------------------------------------------------------------------

TBasicTreeManager::TBasicTreeManager(std::string fileName) : FFileName(std::move(fileName)) {
    SetScrambled(true);
}

void TBasicTreeManager::SetScrambled(bool value) {
    FScrambled = value;
    if (value)
        OnScrambleLine = [this](std::string& line, int32_t index, bool encode) { ScrambleLine(line, index, encode); };
    else
        OnScrambleLine = nullptr;
}

void TBasicTreeManager::ScrambleLine(std::string& line, int32_t index, bool encode) {
    line = encode ? EncipherText(line, index) : DecipherText(line, index);
}

bool TBasicTreeManager::LoadFromFile() {
    TStringList lines;
    if (!ReadFileLines(FFileName, lines)) return false;
    LoadFromStrings(lines);
    return true;
}

void TBasicTreeManager::SaveToFile() {
    TStringList lines;
    SaveToStrings(&lines, true);
    WriteFileLines(FFileName, lines);
}

// ---------------------------------------------------------------------------

TQuranIndexHelper::TQuranIndexHelper() : TQuranIndexHelper(ProgramFolder() + kQuranIndexFile) {}

TQuranIndexHelper::TQuranIndexHelper(std::string fileName) : TBasicTreeManager(std::move(fileName)) {
    CreateDataObjects = true;
}
