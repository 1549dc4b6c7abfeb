#pragma once
// Resource-only PE images: a bounds-checked reader of the resource directory
// and the writer that produces the module libraries.
//
// Resource types and names are texts. A text "#" followed by a decimal number
// stands for a numeric identifier, as Windows reads it; every other text is a
// string name, compared without regard to ASCII letter case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A type or name of the resource directory: a number or a string.
struct TPeResourceId {
    bool IsNumber = false;
    uint16_t Number = 0;
    std::u16string Name;

    // "#10" for a number; the name with UTF-16 units above 255 as "?".
    std::string Text() const;
    // The identifier a text stands for (see above).
    static TPeResourceId FromText(std::string_view text);
    bool Matches(const TPeResourceId& other) const;
};

// One resource as listed by the directory walk.
struct TPeResourceEntry {
    TPeResourceId Type;
    TPeResourceId Name;
    uint16_t Language = 0;
    uint32_t DataRva = 0;
    uint32_t Size = 0;
};

// A parsed image. Parsing keeps only offsets; every look-up checks again that
// what it reads lies inside the image, so any byte sequence is safe input.
class TPeImage {
public:
    // False (with Error() saying why) when the headers are not those of a
    // PE image, any header lies outside the bytes, or the resource directory
    // lies outside every section. The view must outlive the image.
    bool Parse(std::string_view bytes);
    bool Valid() const { return FValid; }
    const std::string& Error() const { return FError; }
    bool Is64Bit() const { return FIs64; }
    uint16_t Machine() const { return FMachine; }

    // Finds the resource of the named type and name (the first language,
    // language 0 preferred) and returns its bytes; nullopt when it is missing
    // or when the directory or the data lies outside the image.
    std::optional<std::string_view> FindResource(const TPeResourceId& name,
                                                 const TPeResourceId& type) const;
    // Every resource in directory order; false when the directory is damaged
    // (the entries read up to that point are kept), including directories that
    // overlap and so describe more entries than the section can hold.
    bool ListResources(std::vector<TPeResourceEntry>& entries) const;
    // The bytes at an RVA, when the whole range lies in one section's file data.
    std::optional<std::string_view> MapRva(uint32_t rva, uint32_t size) const;

private:
    struct Section {
        uint32_t VirtualAddress, VirtualSize, RawSize, RawOffset;
    };
    bool Fail(const std::string& why);
    bool ReadDirectory(uint32_t offset, uint32_t& count, uint32_t& first) const;
    bool ReadEntry(uint32_t dirOffset, uint32_t index, TPeResourceId& id, uint32_t& target) const;
    bool ReadName(uint32_t offset, std::u16string& name) const;
    bool NameMatches(uint32_t offset, const std::u16string& name) const;
    std::optional<std::string_view> ReadDataEntry(uint32_t offset, TPeResourceEntry* entry) const;
    bool FindInDirectory(uint32_t dirOffset, const TPeResourceId* id, uint32_t& target) const;

    std::string_view FBytes;
    std::string_view FResources; // the resource section from the directory's start
    std::vector<Section> FSections;
    bool FValid = false, FIs64 = false;
    uint16_t FMachine = 0;
    std::string FError;
};

// One resource for the writer.
struct TPeResourceItem {
    std::string Type;
    std::string Name;
    std::string Data;
    uint16_t Language = 0;
};

// Builds a resource-only 32-bit (i386) DLL holding the items. String names
// are stored in capitals, as the resource compilers store them, and sorted as
// Windows looks them up. Raises EHalvoraError for an item the format cannot
// hold (an empty or non-ASCII name, the same type, name and language twice).
std::string BuildResourceLibrary(const std::vector<TPeResourceItem>& items);
