#include "platform/pe.h"

#include "util/errors.h"

#include <map>
#include <set>
#include <tuple>

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kHeadersSize = 0x200;
constexpr uint32_t kPeOffset = 0x80;

uint16_t Get16(std::string_view b, uint64_t off) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[off]) |
                                 static_cast<unsigned char>(b[off + 1]) << 8);
}

uint32_t Get32(std::string_view b, uint64_t off) {
    return static_cast<uint32_t>(Get16(b, off)) | static_cast<uint32_t>(Get16(b, off + 2)) << 16;
}

// Whether [off, off + len) lies inside a buffer of `size` bytes.
bool Inside(uint64_t off, uint64_t len, uint64_t size) { return off <= size && len <= size - off; }

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

} // namespace

// ---------------------------------------------------------------------------
// Identifiers

std::string TPeResourceId::Text() const {
    if (IsNumber) return "#" + std::to_string(Number);
    std::string s;
    for (char16_t c : Name) s += c < 256 ? static_cast<char>(c) : '?';
    return s;
}

TPeResourceId TPeResourceId::FromText(std::string_view text) {
    TPeResourceId id;
    if (text.size() > 1 && text.size() <= 6 && text[0] == '#') {
        uint32_t v = 0;
        bool digits = true;
        for (char c : text.substr(1)) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            v = v * 10 + static_cast<uint32_t>(c - '0');
        }
        if (digits && v <= 0xFFFF) {
            id.IsNumber = true;
            id.Number = static_cast<uint16_t>(v);
            return id;
        }
    }
    for (char c : text) id.Name += static_cast<char16_t>(static_cast<unsigned char>(c));
    return id;
}

bool TPeResourceId::Matches(const TPeResourceId& other) const {
    if (IsNumber != other.IsNumber) return false;
    if (IsNumber) return Number == other.Number;
    if (Name.size() != other.Name.size()) return false;
    for (size_t i = 0; i < Name.size(); ++i)
        if (FoldAscii(Name[i]) != FoldAscii(other.Name[i])) return false;
    return true;
}

// ---------------------------------------------------------------------------
// Reader

bool TPeImage::Fail(const std::string& why) {
    FValid = false;
    FIs64 = false;
    FMachine = 0;
    FError = why;
    FSections.clear();
    FResources = {};
    return false;
}

bool TPeImage::Parse(std::string_view bytes) {
    FBytes = bytes;
    FValid = false;
    FIs64 = false;
    FMachine = 0;
    FError.clear();
    FSections.clear();
    FResources = {};
    const uint64_t size = bytes.size();

    if (size < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return Fail("not an executable image (no MZ header)");
    const uint64_t pe = Get32(bytes, 0x3C);
    if (!Inside(pe, 24, size) || bytes.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return Fail("no PE header");
    FMachine = Get16(bytes, pe + 4);
    const uint32_t sectionCount = Get16(bytes, pe + 6);
    const uint32_t optSize = Get16(bytes, pe + 20);
    const uint64_t opt = pe + 24;
    if (!Inside(opt, optSize, size) || optSize < 2) return Fail("optional header truncated");

    const uint16_t magic = Get16(bytes, opt);
    uint64_t rvaCountAt, dirsAt;
    if (magic == 0x10B) {
        rvaCountAt = 92, dirsAt = 96;
    } else if (magic == 0x20B) {
        rvaCountAt = 108, dirsAt = 112;
        FIs64 = true;
    } else {
        return Fail("unknown optional header kind");
    }

    const uint64_t sectionsAt = opt + optSize;
    if (!Inside(sectionsAt, uint64_t(sectionCount) * 40, size)) return Fail("section table truncated");
    for (uint32_t i = 0; i < sectionCount; ++i) {
        uint64_t s = sectionsAt + uint64_t(i) * 40;
        Section sec{Get32(bytes, s + 12), Get32(bytes, s + 8), Get32(bytes, s + 16), Get32(bytes, s + 20)};
        if (sec.RawSize != 0 && !Inside(sec.RawOffset, sec.RawSize, size))
            return Fail("section data beyond the end of the file");
        FSections.push_back(sec);
    }

    FValid = true;
    // No resource directory entry: a valid image without resources.
    if (optSize < dirsAt + 3 * 8 || Get32(bytes, opt + rvaCountAt) < 3) return true;
    const uint32_t rsrcRva = Get32(bytes, opt + dirsAt + 16);
    if (rsrcRva == 0) return true;
    for (const Section& sec : FSections) {
        uint32_t backed = sec.VirtualSize != 0 && sec.VirtualSize < sec.RawSize ? sec.VirtualSize : sec.RawSize;
        if (rsrcRva >= sec.VirtualAddress && uint64_t(rsrcRva) < uint64_t(sec.VirtualAddress) + backed) {
            uint32_t delta = rsrcRva - sec.VirtualAddress;
            FResources = bytes.substr(uint64_t(sec.RawOffset) + delta, backed - delta);
            return true;
        }
    }
    return Fail("the resource directory lies outside every section");
}

std::optional<std::string_view> TPeImage::MapRva(uint32_t rva, uint32_t size) const {
    if (!FValid) return std::nullopt;
    for (const Section& sec : FSections) {
        uint32_t backed = sec.VirtualSize != 0 && sec.VirtualSize < sec.RawSize ? sec.VirtualSize : sec.RawSize;
        if (rva < sec.VirtualAddress) continue;
        uint64_t delta = rva - sec.VirtualAddress;
        if (!Inside(delta, size, backed)) continue;
        // A section without file data may carry any raw offset.
        if (size == 0) return std::string_view();
        return FBytes.substr(sec.RawOffset + delta, size);
    }
    return std::nullopt;
}

bool TPeImage::ReadDirectory(uint32_t offset, uint32_t& count, uint32_t& first) const {
    if (!Inside(offset, 16, FResources.size())) return false;
    count = uint32_t(Get16(FResources, offset + 12)) + Get16(FResources, offset + 14);
    first = offset + 16;
    return Inside(first, uint64_t(count) * 8, FResources.size());
}

bool TPeImage::ReadName(uint32_t offset, std::u16string& name) const {
    if (!Inside(offset, 2, FResources.size())) return false;
    uint32_t len = Get16(FResources, offset);
    if (!Inside(uint64_t(offset) + 2, uint64_t(len) * 2, FResources.size())) return false;
    name.resize(len);
    for (uint32_t i = 0; i < len; ++i) name[i] = static_cast<char16_t>(Get16(FResources, offset + 2 + 2 * i));
    return true;
}

bool TPeImage::NameMatches(uint32_t offset, const std::u16string& name) const {
    // The length first: a look-up must not decode every long name it passes.
    if (!Inside(offset, 2, FResources.size()) || Get16(FResources, offset) != name.size()) return false;
    if (!Inside(uint64_t(offset) + 2, uint64_t(name.size()) * 2, FResources.size())) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (FoldAscii(static_cast<char16_t>(Get16(FResources, offset + 2 + 2 * i))) != FoldAscii(name[i]))
            return false;
    return true;
}

bool TPeImage::ReadEntry(uint32_t dirOffset, uint32_t index, TPeResourceId& id, uint32_t& target) const {
    uint64_t e = uint64_t(dirOffset) + 16 + uint64_t(index) * 8;
    if (!Inside(e, 8, FResources.size())) return false;
    uint32_t nameField = Get32(FResources, e);
    target = Get32(FResources, e + 4);
    id = TPeResourceId{};
    if (nameField & kHighBit) return ReadName(nameField & ~kHighBit, id.Name);
    id.IsNumber = true;
    id.Number = static_cast<uint16_t>(nameField & 0xFFFF);
    return true;
}

std::optional<std::string_view> TPeImage::ReadDataEntry(uint32_t offset, TPeResourceEntry* entry) const {
    if (!Inside(offset, 16, FResources.size())) return std::nullopt;
    uint32_t rva = Get32(FResources, offset), size = Get32(FResources, offset + 4);
    if (entry) entry->DataRva = rva, entry->Size = size;
    return MapRva(rva, size);
}

// With id null, picks language 0 when present, otherwise the first entry.
// Names are compared in place, never decoded.
bool TPeImage::FindInDirectory(uint32_t dirOffset, const TPeResourceId* id, uint32_t& target) const {
    uint32_t count, first;
    if (!ReadDirectory(dirOffset, count, first)) return false;
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t e = uint64_t(first) + uint64_t(i) * 8;
        const uint32_t nameField = Get32(FResources, e);
        const bool named = nameField & kHighBit;
        const bool languageZero = !named && (nameField & 0xFFFF) == 0;
        bool match;
        if (!id)
            match = !found || languageZero;
        else if (id->IsNumber)
            match = !named && (nameField & 0xFFFF) == id->Number;
        else
            match = named && NameMatches(nameField & ~kHighBit, id->Name);
        if (!match) continue;
        target = Get32(FResources, e + 4);
        found = true;
        if (id || languageZero) return true;
    }
    return found;
}

std::optional<std::string_view> TPeImage::FindResource(const TPeResourceId& name,
                                                       const TPeResourceId& type) const {
    if (!FValid || FResources.empty()) return std::nullopt;
    uint32_t typeTarget, nameTarget, langTarget;
    if (!FindInDirectory(0, &type, typeTarget) || !(typeTarget & kHighBit)) return std::nullopt;
    const uint32_t typeDir = typeTarget & ~kHighBit;
    if (typeDir == 0) return std::nullopt; // points back at the root
    if (!FindInDirectory(typeDir, &name, nameTarget) || !(nameTarget & kHighBit)) return std::nullopt;
    const uint32_t nameDir = nameTarget & ~kHighBit;
    if (nameDir == 0 || nameDir == typeDir) return std::nullopt;
    if (!FindInDirectory(nameDir, nullptr, langTarget) || (langTarget & kHighBit)) return std::nullopt;
    return ReadDataEntry(langTarget, nullptr);
}

bool TPeImage::ListResources(std::vector<TPeResourceEntry>& entries) const {
    entries.clear();
    if (!FValid) return false;
    if (FResources.empty()) return true;
    // A directory reached twice means a loop or a shared subtree: damaged.
    std::set<uint32_t> seen{0};
    // Each directory entry takes 8 bytes of its own in a sound directory; more
    // entries than that means directories that overlap, which could describe
    // far more entries than memory holds.
    const uint64_t entryLimit = FResources.size() / 8;
    uint64_t entriesSeen = 0;
    auto withinLimit = [&](uint32_t count) { return (entriesSeen += count) <= entryLimit; };
    uint32_t typeCount, first;
    if (!ReadDirectory(0, typeCount, first) || !withinLimit(typeCount)) return false;
    for (uint32_t t = 0; t < typeCount; ++t) {
        TPeResourceEntry entry;
        uint32_t typeTarget;
        if (!ReadEntry(0, t, entry.Type, typeTarget) || !(typeTarget & kHighBit)) return false;
        uint32_t typeDir = typeTarget & ~kHighBit, nameCount;
        if (!seen.insert(typeDir).second || !ReadDirectory(typeDir, nameCount, first) || !withinLimit(nameCount))
            return false;
        for (uint32_t n = 0; n < nameCount; ++n) {
            uint32_t nameTarget;
            if (!ReadEntry(typeDir, n, entry.Name, nameTarget) || !(nameTarget & kHighBit)) return false;
            uint32_t nameDir = nameTarget & ~kHighBit, langCount;
            if (!seen.insert(nameDir).second || !ReadDirectory(nameDir, langCount, first) ||
                !withinLimit(langCount))
                return false;
            for (uint32_t l = 0; l < langCount; ++l) {
                TPeResourceId lang;
                uint32_t dataOffset;
                if (!ReadEntry(nameDir, l, lang, dataOffset) || (dataOffset & kHighBit)) return false;
                entry.Language = lang.Number;
                if (!ReadDataEntry(dataOffset, &entry)) return false;
                entries.push_back(entry);
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Writer

namespace {

void Put16(std::string& b, size_t off, uint32_t v) {
    b[off] = static_cast<char>(v & 0xFF);
    b[off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& b, size_t off, uint32_t v) {
    Put16(b, off, v & 0xFFFF);
    Put16(b, off + 2, v >> 16);
}

uint32_t AlignUp(uint64_t v, uint32_t a) { return static_cast<uint32_t>((v + a - 1) / a * a); }

// Windows looks named entries up by binary search over capital names, named
// entries first, then numbers ascending.
using TKey = std::tuple<bool, std::u16string, uint16_t>;

TKey KeyOf(const std::string& text, const char* what) {
    TPeResourceId id = TPeResourceId::FromText(text);
    if (id.IsNumber) return {true, u"", id.Number};
    if (id.Name.empty()) throw EHalvoraError(std::string("empty resource ") + what);
    if (id.Name.size() > 0xFFFF) throw EHalvoraError(std::string("resource ") + what + " too long");
    for (char16_t& c : id.Name) {
        if (c < 0x20 || c > 0x7E)
            throw EHalvoraError(std::string("resource ") + what + " \"" + text + "\" is not plain ASCII");
        c = FoldAscii(c);
    }
    return {false, id.Name, 0};
}

uint32_t PeChecksum(const std::string& image, size_t checksumAt) {
    uint64_t sum = 0;
    for (size_t i = 0; i + 1 < image.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        sum += Get16(image, i);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    if (image.size() % 2) sum += static_cast<unsigned char>(image.back());
    sum = (sum & 0xFFFF) + (sum >> 16);
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + image.size());
}

const unsigned char kDosStub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD,
                                  0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
const char kDosMessage[] = "This program cannot be run in DOS mode.\r\r\n$";

} // namespace

std::string BuildResourceLibrary(const std::vector<TPeResourceItem>& items) {
    // type -> name -> language -> data
    std::map<TKey, std::map<TKey, std::map<uint16_t, const std::string*>>> tree;
    for (const auto& item : items) {
        auto& langs = tree[KeyOf(item.Type, "type")][KeyOf(item.Name, "name")];
        if (!langs.emplace(item.Language, &item.Data).second)
            throw EHalvoraError("resource " + item.Type + "/" + item.Name + " given twice");
    }

    // Layout: directories, then name strings, then data entries, then data.
    uint64_t dirBytes = 16 + 8 * tree.size(), stringBytes = 0, leafCount = 0;
    auto stringSize = [](const TKey& k) { return std::get<0>(k) ? 0 : 2 + 2 * std::get<1>(k).size(); };
    for (const auto& [type, names] : tree) {
        dirBytes += 16 + 8 * names.size();
        stringBytes += stringSize(type);
        for (const auto& [name, langs] : names) {
            dirBytes += 16 + 8 * langs.size();
            stringBytes += stringSize(name);
            leafCount += langs.size();
        }
    }
    const uint64_t stringsAt = dirBytes;
    const uint64_t leavesAt = AlignUp(stringsAt + stringBytes, 8);
    // Sized in the order the data is written (sorted), as the padding depends on it.
    uint64_t dataAt = leavesAt + 16 * leafCount, end = dataAt;
    for (const auto& [type, names] : tree)
        for (const auto& [name, langs] : names)
            for (const auto& [lang, data] : langs) end = AlignUp(end, 8) + data->size();
    if (end > 0x40000000) throw EHalvoraError("resources too large for one library");

    std::string rsrc(end, '\0');
    uint64_t nextDir = 0, nextString = stringsAt, nextLeaf = leavesAt, nextData = dataAt;
    auto writeDir = [&](size_t count, uint64_t& at) {
        at = nextDir;
        nextDir += 16 + 8 * count;
    };
    auto writeName = [&](const TKey& k) -> uint32_t {
        if (std::get<0>(k)) return std::get<2>(k);
        const auto& s = std::get<1>(k);
        uint64_t at = nextString;
        Put16(rsrc, at, static_cast<uint32_t>(s.size()));
        for (size_t i = 0; i < s.size(); ++i) Put16(rsrc, at + 2 + 2 * i, s[i]);
        nextString += 2 + 2 * s.size();
        return static_cast<uint32_t>(at) | kHighBit;
    };
    auto writeHeader = [&](uint64_t at, const auto& children) {
        uint32_t named = 0, ids = 0;
        for (const auto& child : children) {
            if constexpr (std::is_same_v<std::decay_t<decltype(child.first)>, TKey>)
                (std::get<0>(child.first) ? ids : named)++;
            else
                ids++;
        }
        Put16(rsrc, at + 12, named);
        Put16(rsrc, at + 14, ids);
    };

    uint64_t root;
    writeDir(tree.size(), root);
    writeHeader(root, tree);
    uint64_t typeEntry = root + 16;
    for (const auto& [type, names] : tree) {
        uint64_t typeDir;
        writeDir(names.size(), typeDir);
        writeHeader(typeDir, names);
        Put32(rsrc, typeEntry, writeName(type));
        Put32(rsrc, typeEntry + 4, static_cast<uint32_t>(typeDir) | kHighBit);
        typeEntry += 8;
        uint64_t nameEntry = typeDir + 16;
        for (const auto& [name, langs] : names) {
            uint64_t nameDir;
            writeDir(langs.size(), nameDir);
            writeHeader(nameDir, langs);
            Put32(rsrc, nameEntry, writeName(name));
            Put32(rsrc, nameEntry + 4, static_cast<uint32_t>(nameDir) | kHighBit);
            nameEntry += 8;
            uint64_t langEntry = nameDir + 16;
            for (const auto& [lang, data] : langs) {
                nextData = AlignUp(nextData, 8);
                rsrc.replace(nextData, data->size(), *data);
                Put32(rsrc, langEntry, lang);
                Put32(rsrc, langEntry + 4, static_cast<uint32_t>(nextLeaf));
                Put32(rsrc, nextLeaf, static_cast<uint32_t>(kSectionRva + nextData));
                Put32(rsrc, nextLeaf + 4, static_cast<uint32_t>(data->size()));
                nextData += data->size();
                nextLeaf += 16;
                langEntry += 8;
            }
        }
    }
    rsrc.resize(nextData);

    const uint32_t rsrcSize = static_cast<uint32_t>(rsrc.size());
    const uint32_t rawSize = AlignUp(rsrcSize, kFileAlignment);
    std::string image(kHeadersSize + rawSize, '\0');

    // DOS header and stub
    image[0] = 'M', image[1] = 'Z';
    Put16(image, 0x02, 0x90), Put16(image, 0x04, 3), Put16(image, 0x08, 4);
    Put16(image, 0x0C, 0xFFFF), Put16(image, 0x10, 0xB8), Put16(image, 0x18, 0x40);
    Put32(image, 0x3C, kPeOffset);
    image.replace(0x40, sizeof kDosStub, reinterpret_cast<const char*>(kDosStub), sizeof kDosStub);
    image.replace(0x40 + sizeof kDosStub, sizeof kDosMessage - 1, kDosMessage);

    // COFF header: i386, one section, a DLL image
    const size_t pe = kPeOffset, opt = pe + 24, section = opt + 0xE0;
    image.replace(pe, 4, std::string_view("PE\0\0", 4));
    Put16(image, pe + 4, 0x014C);
    Put16(image, pe + 6, 1);
    Put16(image, pe + 20, 0xE0);
    Put16(image, pe + 22, 0x210E); // executable, no line numbers or symbols, 32-bit, DLL

    // Optional header (PE32)
    Put16(image, opt + 0, 0x10B);
    image[opt + 2] = 2, image[opt + 3] = 40;
    Put32(image, opt + 8, rawSize);          // initialised data
    Put32(image, opt + 20, kSectionRva);     // base of code
    Put32(image, opt + 24, kSectionRva);     // base of data
    Put32(image, opt + 28, 0x10000000);      // image base
    Put32(image, opt + 32, kSectionAlignment);
    Put32(image, opt + 36, kFileAlignment);
    Put16(image, opt + 40, 4);               // operating system 4.0
    Put16(image, opt + 48, 4);               // subsystem 4.0
    Put32(image, opt + 56, kSectionRva + AlignUp(rsrcSize, kSectionAlignment));
    Put32(image, opt + 60, kHeadersSize);
    Put16(image, opt + 68, 2);               // Windows GUI
    Put32(image, opt + 72, 0x100000), Put32(image, opt + 76, 0x1000);
    Put32(image, opt + 80, 0x100000), Put32(image, opt + 84, 0x1000);
    Put32(image, opt + 92, 16);
    Put32(image, opt + 96 + 2 * 8, kSectionRva);
    Put32(image, opt + 96 + 2 * 8 + 4, rsrcSize);

    // The one section
    image.replace(section, 5, ".rsrc");
    Put32(image, section + 8, rsrcSize);
    Put32(image, section + 12, kSectionRva);
    Put32(image, section + 16, rawSize);
    Put32(image, section + 20, kHeadersSize);
    Put32(image, section + 36, 0x40000040); // initialised data, readable

    image.replace(kHeadersSize, rsrc.size(), rsrc);
    Put32(image, opt + 64, PeChecksum(image, opt + 64));
    return image;
}
