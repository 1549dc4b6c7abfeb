#pragma once
// A list of titled texts that a form description holds: each item is one
// string of the property "Storage", its title and its text joined by a
// seven-character separator.
//
//   TVrnTextStore tips;
//   ReadTextStoreForm(formText, "tsTips", tips);   // "tsTips.Storage.Storage = ( ... )"
//   tips.Storage().Items(0).Title
#include "util/errors.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct TTextStoreItem {
    std::string Title;
    std::string Text;

    bool operator==(const TTextStoreItem&) const = default;
};

// "<<", the control characters 7, 8 and 6, ">>".
inline constexpr std::string_view kTextStoreSeparator{"<<\x07\x08\x06>>", 7};

// A string list as a form description writes it: "(", one literal per
// string, ")". A literal is quoted runs ('' for a quote) and #nn for every
// character outside printable ASCII, long ones continued with " +".
class TFormListWriter {
public:
    explicit TFormListWriter(int indent = 4) : FIndent(indent) {}
    void WriteListBegin();
    void WriteString(const std::string& s);
    void WriteListEnd();
    const std::string& Text() const { return FText; }

private:
    std::string FText;
    int FIndent;
};

// Reads what TFormListWriter writes. A malformed value raises EConvertError.
class TFormListReader {
public:
    explicit TFormListReader(std::string_view text) : FText(text) {}
    void ReadListBegin();
    bool EndOfList();
    std::string ReadString();
    void ReadListEnd();

private:
    void SkipBlanks();
    [[noreturn]] void Fail(const char* what) const;

    std::string_view FText;
    size_t FPos = 0;
};

class TTextStoreItems {
public:
    int Count() const { return FItems ? static_cast<int>(FItems->size()) : 0; }
    void Add(const std::string& title, const std::string& text);
    // Takes over the other's items: both refer to the same array, so a swap
    // in one shows in the other; adding gives the adder a copy of its own.
    void Assign(const TTextStoreItems& other) { FItems = other.FItems; }
    // Raises ERangeError outside the list.
    const TTextStoreItem& Items(int index) const;
    void Swap(int a, int b);

    // The stored property "Storage".
    void WriteStorage(TFormListWriter& writer) const;
    // Items read are appended; a string without the separator is "Untitled".
    void ReadStorage(TFormListReader& reader);

private:
    std::shared_ptr<std::vector<TTextStoreItem>> FItems;
};

class TVrnTextStore {
public:
    TVrnTextStore() : FStorage(std::make_shared<TTextStoreItems>()) {}
    TTextStoreItems& Storage() { return *FStorage; }
    const TTextStoreItems& Storage() const { return *FStorage; }
    void SetStorage(std::shared_ptr<TTextStoreItems> storage) { FStorage = std::move(storage); }

private:
    std::shared_ptr<TTextStoreItems> FStorage;
};

// The form description of one store named name:
//   object <name>: TVrnTextStore
//     Storage.Storage = (...)
//   end
std::string WriteTextStoreForm(const std::string& name, const TVrnTextStore& store);
// Finds "<name>.Storage.Storage = (" (or the property inside "object <name>")
// in a form description and reads its items into the store. EConvertError
// when the form holds no such property or its value is malformed.
void ReadTextStoreForm(std::string_view form, const std::string& name, TVrnTextStore& store);
