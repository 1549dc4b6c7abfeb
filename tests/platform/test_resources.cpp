#include "platform/pe.h"
#include "platform/resources.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/hvresXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path); }
};

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

uint32_t Get32(const std::string& b, size_t off) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[off + i]);
    return v;
}

void Put32(std::string& b, size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<char>(v >> (8 * i));
}

void Put16(std::string& b, size_t off, uint16_t v) {
    b[off] = static_cast<char>(v);
    b[off + 1] = static_cast<char>(v >> 8);
}

bool Available(const char* tool) {
    std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

std::string Capture(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

std::unique_ptr<TResourceLibrary> Load(const std::string& bytes) {
    auto lib = std::make_unique<TResourceLibrary>();
    lib->LoadFromBytes(bytes, "test.dll");
    return lib;
}

// Where things are in an image the writer made: the one section's raw data
// holds the resource directory, which starts with the root directory.
struct Layout {
    size_t pe, opt, section, rsrc;
    explicit Layout(const std::string& img) {
        pe = Get32(img, 0x3C);
        opt = pe + 24;
        section = opt + (static_cast<unsigned char>(img[pe + 20]) | static_cast<unsigned char>(img[pe + 21]) << 8);
        rsrc = Get32(img, section + 20);
    }
    // Offset (in the resource section) of the first entry's target at each level.
    uint32_t TypeDir(const std::string& img) const { return Get32(img, rsrc + 16 + 4) & 0x7FFFFFFF; }
    uint32_t NameDir(const std::string& img) const { return Get32(img, rsrc + TypeDir(img) + 16 + 4) & 0x7FFFFFFF; }
    uint32_t Leaf(const std::string& img) const { return Get32(img, rsrc + NameDir(img) + 16 + 4); }
};

const std::string kText = "first line\r\nsecond\r\nthird";

std::string OneResourceImage() { return BuildResourceLibrary({{"HVDATA", "HV1", kText}}); }

} // namespace

TEST(ResourceLibrary, WrittenResourcesReadBack) {
    std::string bin(300, '\0');
    for (size_t i = 0; i < bin.size(); ++i) bin[i] = static_cast<char>(i * 7);
    std::string img = BuildResourceLibrary({
        {"HVDATA", "HV1", kText},
        {"HVDATA", "hv2", ""},
        {"HVDATA", "HV10", bin},
        {"QDATA", "QDATA", "q"},
        {"#10", "#7", "numeric"},
        {"#10", "ABC", "named in numeric type"},
    });
    auto lib = Load(img);
    ASSERT_TRUE(lib->Loaded()) << lib->Error();
    std::string data;
    ASSERT_TRUE(lib->ReadResource("HV1", "HVDATA", data));
    EXPECT_EQ(data, kText);
    ASSERT_TRUE(lib->ReadResource("hV1", "hvdata", data)); // letter case is ignored
    EXPECT_EQ(data, kText);
    ASSERT_TRUE(lib->ReadResource("HV2", "HVDATA", data));
    EXPECT_EQ(data, "");
    ASSERT_TRUE(lib->ReadResource("HV10", "HVDATA", data));
    EXPECT_EQ(data, bin);
    ASSERT_TRUE(lib->ReadResource("#7", "#10", data));
    EXPECT_EQ(data, "numeric");
    ASSERT_TRUE(lib->ReadResource("abc", "#10", data));
    EXPECT_EQ(data, "named in numeric type");

    EXPECT_TRUE(lib->HasResource("QDATA", "QDATA"));
    EXPECT_FALSE(lib->HasResource("HV3", "HVDATA"));
    EXPECT_FALSE(lib->HasResource("HV1", "QDATA"));
    EXPECT_FALSE(lib->HasResource("7", "#10"));  // a name, not the number 7
    EXPECT_FALSE(lib->HasResource("#7", "10"));
    EXPECT_FALSE(lib->HasResource("HV", "HVDATA")); // no prefix matches
    EXPECT_FALSE(lib->HasResource("HV1X", "HVDATA"));

    std::vector<TPeResourceEntry> entries;
    ASSERT_TRUE(lib->ListResources(entries));
    std::map<std::string, uint32_t> sizes;
    for (const auto& e : entries) sizes[e.Type.Text() + "/" + e.Name.Text()] = e.Size;
    std::map<std::string, uint32_t> expected{{"HVDATA/HV1", kText.size()}, {"HVDATA/HV2", 0},
                                             {"HVDATA/HV10", 300},         {"QDATA/QDATA", 1},
                                             {"#10/#7", 7},                {"#10/ABC", 21}};
    EXPECT_EQ(sizes, expected);
}

// The writer lays data out in its sorted order, whatever order it is given:
// every order of items of awkward sizes packs and reads back.
TEST(ResourceLibrary, WriterTakesItemsInAnyOrder) {
    const std::vector<std::vector<size_t>> sizeSets = {
        {0, 7}, {7, 0}, {1, 8, 0}, {9, 0, 3}, {0, 0, 13}, {5, 16, 1, 0}, {8, 8, 7, 9}};
    const std::vector<std::string> names = {"HV1", "HV2", "HV10", "hv3"};
    for (const auto& sizes : sizeSets) {
        std::vector<TPeResourceItem> items;
        for (size_t i = 0; i < sizes.size(); ++i) {
            std::string data(sizes[i], '\0');
            for (size_t j = 0; j < data.size(); ++j) data[j] = static_cast<char>('a' + (i * 5 + j) % 26);
            items.push_back({"HVDATA", names[i], data});
        }
        std::vector<size_t> order(items.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        do {
            std::vector<TPeResourceItem> given;
            std::string what;
            for (size_t i : order) {
                given.push_back(items[i]);
                what += names[i] + "(" + std::to_string(sizes[i]) + ") ";
            }
            std::string img;
            ASSERT_NO_THROW(img = BuildResourceLibrary(given)) << what;
            auto lib = Load(img);
            ASSERT_TRUE(lib->Loaded()) << what << lib->Error();
            for (const auto& item : items) {
                std::string data;
                EXPECT_TRUE(lib->ReadResource(item.Name, "HVDATA", data)) << what << item.Name;
                EXPECT_EQ(data, item.Data) << what << item.Name;
            }
            std::vector<TPeResourceEntry> entries;
            EXPECT_TRUE(lib->ListResources(entries)) << what;
            EXPECT_EQ(entries.size(), items.size()) << what;
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

// Directories that overlap can describe far more entries than the section
// holds (a small file may describe hundreds of millions): the walk stops and
// calls the directory damaged. Here two name directories 8 bytes apart each
// claim 2048 entries that they share.
TEST(ResourceLibrary, OverlappingDirectoriesAreDamage) {
    std::string img = BuildResourceLibrary({{"T", "N", std::string(0x6000, 'x')}});
    const Layout l(img);
    const size_t r = l.rsrc;
    const uint32_t size = Get32(img, l.section + 8);
    const uint32_t dataEntry = 0x800, region = 0x1000;
    std::fill(img.begin() + static_cast<long>(r), img.begin() + static_cast<long>(r + size), '\0');
    Put16(img, r + 14, 1); // root: one type
    Put32(img, r + 16, 10);
    Put32(img, r + 20, 0x80000000u | 32);
    Put16(img, r + 32 + 14, 2); // the type: two names
    for (uint32_t i = 0; i < 2; ++i) {
        Put32(img, r + 48 + 8 * i, 100 + i);
        Put32(img, r + 52 + 8 * i, 0x80000000u | (region + 8 * i));
    }
    Put32(img, r + dataEntry, 0x1000 + 0x100); // one data entry of 4 bytes
    Put32(img, r + dataEntry + 4, 4);
    // Read as a directory header, every word of the region counts 2048 entries;
    // read as an entry, it is language 0 pointing at the data entry.
    for (uint32_t p = region; p + 8 <= size; p += 8) Put32(img, r + p + 4, dataEntry);
    ASSERT_GE(size, region + 16 + 8 * 2048 + 16);
    auto lib = Load(img);
    ASSERT_TRUE(lib->Loaded()) << lib->Error();
    std::vector<TPeResourceEntry> entries;
    EXPECT_FALSE(lib->ListResources(entries));
    EXPECT_LE(entries.size(), size / 8);
}

std::string SixtyFourBitImage();

TEST(ResourceLibrary, ParsingAgainForgetsTheLastImage) {
    std::string img32 = OneResourceImage();
    std::string img64 = SixtyFourBitImage();
    TPeImage pe;
    ASSERT_TRUE(pe.Parse(img64)) << pe.Error();
    ASSERT_TRUE(pe.Is64Bit());
    ASSERT_TRUE(pe.Parse(img32)) << pe.Error();
    EXPECT_FALSE(pe.Is64Bit());
    EXPECT_EQ(pe.Machine(), 0x014C);
    ASSERT_TRUE(pe.Parse(img64));
    EXPECT_FALSE(pe.Parse("MZ not an image at all, but long enough to be looked at........."));
    EXPECT_FALSE(pe.Is64Bit());
    EXPECT_EQ(pe.Machine(), 0);
}

TEST(ResourceLibrary, WriterRefusesWhatTheFormatCannotHold) {
    EXPECT_THROW(BuildResourceLibrary({{"T", "A", "1"}, {"T", "a", "2"}}), EHalvoraError);
    EXPECT_THROW(BuildResourceLibrary({{"T", "", "1"}}), EHalvoraError);
    EXPECT_THROW(BuildResourceLibrary({{"T", "N\xE9", "1"}}), EHalvoraError);
    auto lib = Load(BuildResourceLibrary({}));
    EXPECT_TRUE(lib->Loaded());
    std::vector<TPeResourceEntry> entries;
    EXPECT_TRUE(lib->ListResources(entries));
    EXPECT_TRUE(entries.empty());
}

TEST(ResourceLibrary, ReadResourceLines) {
    struct Case { std::string data; TStringList lines; };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\nc", {"a", "b", "c"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\rb\r\nc\nd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"only", {"only"}},
    };
    std::vector<TPeResourceItem> items;
    for (size_t i = 0; i < std::size(cases); ++i) items.push_back({"T", "R" + std::to_string(i), cases[i].data});
    auto lib = Load(BuildResourceLibrary(items));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ReadResourceLines(*lib, "R" + std::to_string(i), "T"), cases[i].lines) << i;
    EXPECT_TRUE(ReadResourceLines(*lib, "MISSING", "T").empty());
    TResourceLibrary unloaded;
    EXPECT_FALSE(unloaded.HasResource("R0", "T"));
    EXPECT_TRUE(ReadResourceLines(unloaded, "R0", "T").empty());
}

TEST(ResourceLibrary, OpensBareNamesFromTheProgramFolder) {
    TempDir prog, other;
    Write(prog.path + "/Mod.dll", OneResourceImage());
    std::string saved = ProgramFolder();
    SetProgramFolder(prog.path + "/");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(other.path.c_str()), 0);
    TResourceLibrary lib;
    EXPECT_TRUE(lib.Open("Mod.dll")) << lib.Error();
    EXPECT_EQ(lib.FileName(), prog.path + "/Mod.dll");
    EXPECT_TRUE(lib.HasResource("HV1", "HVDATA"));
    TResourceLibrary missing;
    EXPECT_FALSE(missing.Open("Nothing.dll"));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_FALSE(missing.HasResource("HV1", "HVDATA"));
    // A path with a folder is taken as it is.
    TResourceLibrary byPath;
    EXPECT_TRUE(byPath.Open(prog.path + "/Mod.dll"));
    ASSERT_EQ(chdir(cwd), 0);
    SetProgramFolder(saved);
}

// The writer's image rebuilt with a PE32+ optional header.
std::string SixtyFourBitImage() {
    std::string img = OneResourceImage();
    Layout l(img);
    std::string sectionHeader = img.substr(l.section, 40);
    uint32_t rsrcRva = Get32(img, l.opt + 96 + 16), rsrcSize = Get32(img, l.opt + 100 + 16);
    std::fill(img.begin() + l.opt, img.begin() + l.section + 40, '\0');
    Put16(img, l.pe + 4, 0x8664);
    Put16(img, l.pe + 20, 0xF0);
    Put16(img, l.opt, 0x20B);
    Put32(img, l.opt + 108, 16);
    Put32(img, l.opt + 112 + 16, rsrcRva);
    Put32(img, l.opt + 112 + 20, rsrcSize);
    img.replace(l.opt + 0xF0, 40, sectionHeader);
    return img;
}

TEST(ResourceLibrary, ReadsSixtyFourBitImages) {
    std::string img = SixtyFourBitImage();
    TPeImage pe;
    ASSERT_TRUE(pe.Parse(img)) << pe.Error();
    EXPECT_TRUE(pe.Is64Bit());
    EXPECT_EQ(pe.Machine(), 0x8664);
    auto lib = Load(img);
    std::string data;
    ASSERT_TRUE(lib->ReadResource("HV1", "HVDATA", data));
    EXPECT_EQ(data, kText);
}

TEST(ResourceLibrary, TruncatedImagesFailCleanly) {
    const std::string img = OneResourceImage();
    for (size_t n = 0; n < img.size(); ++n) {
        auto lib = Load(img.substr(0, n));
        std::string data;
        EXPECT_FALSE(lib->ReadResource("HV1", "HVDATA", data)) << "length " << n;
        std::vector<TPeResourceEntry> entries;
        lib->ListResources(entries);
    }
    auto whole = Load(img);
    EXPECT_TRUE(whole->HasResource("HV1", "HVDATA"));
}

TEST(ResourceLibrary, MalformedHeadersFailCleanly) {
    const std::string good = OneResourceImage();
    const Layout l(good);
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        bool loads;
    };
    const Case cases[] = {
        {"no MZ", [](std::string& b) { b[0] = 'X'; }, false},
        {"PE offset past the end", [](std::string& b) { Put32(b, 0x3C, static_cast<uint32_t>(b.size())); }, false},
        {"PE offset overflowing", [](std::string& b) { Put32(b, 0x3C, 0xFFFFFFF0u); }, false},
        {"no PE signature", [&](std::string& b) { b[l.pe + 1] = 'X'; }, false},
        {"unknown optional header", [&](std::string& b) { Put16(b, l.opt, 0x107); }, false},
        {"optional header past the end", [&](std::string& b) { Put16(b, l.pe + 20, 0xFFFF); }, false},
        {"too many sections", [&](std::string& b) { Put16(b, l.pe + 6, 0xFFFF); }, false},
        {"section data past the end", [&](std::string& b) { Put32(b, l.section + 20, 0xFFFFFE00u); }, false},
        {"section size past the end", [&](std::string& b) { Put32(b, l.section + 16, 0x7FFFFFFFu); }, false},
        {"no sections", [&](std::string& b) { Put16(b, l.pe + 6, 0); }, false},
        {"no data directories", [&](std::string& b) { Put32(b, l.opt + 92, 2); }, true},
        {"optional header without data directories", [&](std::string& b) {
             Put16(b, l.pe + 20, 96);
             b.replace(l.opt + 96, 40, b.substr(l.section, 40));
         }, true},
        {"resource directory outside every section",
         [&](std::string& b) { Put32(b, l.opt + 96 + 16, 0x50000); }, false},
        {"resource directory at zero", [&](std::string& b) { Put32(b, l.opt + 96 + 16, 0); }, true},
        // The resource directory then lies in no section's file data: damage.
        {"section without file data", [&](std::string& b) { Put32(b, l.section + 16, 0); }, false},
    };
    for (const Case& c : cases) {
        std::string img = good;
        c.damage(img);
        auto lib = Load(img);
        EXPECT_EQ(lib->Loaded(), c.loads) << c.what;
        if (!c.loads) {
            EXPECT_FALSE(lib->Error().empty()) << c.what;
        }
        EXPECT_FALSE(lib->HasResource("HV1", "HVDATA")) << c.what;
        std::vector<TPeResourceEntry> entries;
        lib->ListResources(entries);
        EXPECT_TRUE(entries.empty()) << c.what;
    }
}

TEST(ResourceLibrary, DamagedResourceDirectoriesFailCleanly) {
    const std::string good = OneResourceImage();
    const Layout l(good);
    const size_t r = l.rsrc;
    const uint32_t typeDir = l.TypeDir(good), nameDir = l.NameDir(good), leaf = l.Leaf(good);
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
    };
    const Case cases[] = {
        {"type entry loops to the root", [&](std::string& b) { Put32(b, r + 20, 0x80000000u); }},
        {"name entry loops to its own directory",
         [&](std::string& b) { Put32(b, r + typeDir + 20, 0x80000000u | typeDir); }},
        {"language entry loops back up",
         [&](std::string& b) { Put32(b, r + nameDir + 20, 0x80000000u | typeDir); }},
        {"type entry is a leaf", [&](std::string& b) { Put32(b, r + 20, leaf); }},
        {"subdirectory past the end", [&](std::string& b) { Put32(b, r + 20, 0x8FFFFFF0u); }},
        {"name string past the end", [&](std::string& b) { Put32(b, r + 16, 0xFFFFFFF0u); }},
        {"name string longer than the section", [&](std::string& b) {
             uint32_t s = Get32(b, r + 16) & 0x7FFFFFFF;
             Put16(b, r + s, 0xFFFF);
         }},
        {"entry count past the end", [&](std::string& b) { Put16(b, r + typeDir + 14, 0xFFFF); }},
        {"root entry count past the end", [&](std::string& b) { Put16(b, r + 12, 0xFFFF); Put16(b, r + 14, 0xFFFF); }},
        {"data entry past the end", [&](std::string& b) { Put32(b, r + nameDir + 20, 0x7FFFFFF0u); }},
        {"data RVA outside every section", [&](std::string& b) { Put32(b, r + leaf, 0x90000); }},
        {"data RVA below the section", [&](std::string& b) { Put32(b, r + leaf, 0x10); }},
        {"data size past the section", [&](std::string& b) { Put32(b, r + leaf + 4, 0xFFFFFFFFu); }},
        {"data straddles the end", [&](std::string& b) { Put32(b, r + leaf + 4, Get32(b, l.section + 16)); }},
    };
    for (const Case& c : cases) {
        std::string img = good;
        c.damage(img);
        auto lib = Load(img);
        EXPECT_TRUE(lib->Loaded()) << c.what;
        std::string data;
        EXPECT_FALSE(lib->ReadResource("HV1", "HVDATA", data)) << c.what;
        EXPECT_TRUE(ReadResourceLines(*lib, "HV1", "HVDATA").empty()) << c.what;
        std::vector<TPeResourceEntry> entries;
        EXPECT_FALSE(lib->ListResources(entries)) << c.what;
    }
    // A zero size is an empty resource, not damage.
    std::string img = good;
    Put32(img, r + leaf + 4, 0);
    auto lib = Load(img);
    std::string data = "x";
    EXPECT_TRUE(lib->ReadResource("HV1", "HVDATA", data));
    EXPECT_EQ(data, "");
    EXPECT_TRUE(ReadResourceLines(*lib, "HV1", "HVDATA").empty());

    // An empty resource in a second section that has no file data and a raw
    // offset far past the end of the file.
    img = good;
    Put16(img, l.pe + 6, 2);
    const size_t second = l.section + 40;
    Put32(img, second + 8, 0x1000);       // virtual size
    Put32(img, second + 12, 0x80000);     // virtual address
    Put32(img, second + 16, 0);           // no file data
    Put32(img, second + 20, 0x20000);     // raw offset past the end
    Put32(img, r + leaf, 0x80000);
    Put32(img, r + leaf + 4, 0);
    lib = Load(img);
    ASSERT_TRUE(lib->Loaded()) << lib->Error();
    data = "x";
    EXPECT_TRUE(lib->ReadResource("HV1", "HVDATA", data));
    EXPECT_EQ(data, "");
    Put32(img, r + leaf + 4, 1); // one byte there has no file data
    lib = Load(img);
    EXPECT_FALSE(lib->ReadResource("HV1", "HVDATA", data));
}

// The binutils' own tools read what the writer makes...
TEST(ResourceLibrary, ObjdumpListsWrittenResources) {
    // scripts/setup.sh installs the tool: its absence is a failure, not a skip.
    ASSERT_TRUE(Available("objdump")) << "objdump is not installed: run scripts/setup.sh";
    TempDir d;
    std::string bin(1000, 'z');
    Write(d.path + "/m.dll", BuildResourceLibrary({{"HVDATA", "HV1", kText},
                                                   {"HVDATA", "HV29", bin},
                                                   {"QDATA", "QDATA", "abc"}}));
    std::string out = Capture("objdump -p " + d.path + "/m.dll 2>&1");
    EXPECT_NE(out.find("file format pei-i386"), std::string::npos) << out;
    EXPECT_NE(out.find("DLL"), std::string::npos);
    // Walk the printed tree: type entry, name entry, language entry, leaf.
    std::map<std::string, unsigned long> sizes;
    std::regex typeRe(R"(^[0-9a-f]+   Entry: name: \[[^\]]*\]: (\S+),)"), nameRe(R"(^[0-9a-f]+     Entry: name: \[[^\]]*\]: (\S+),)"),
        leafRe(R"(Leaf: Addr: 0x[0-9a-f]+, Size: (0x)?([0-9a-f]+),)");
    std::string type, name, line;
    std::istringstream in(out);
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, typeRe)) type = m[1];
        else if (std::regex_search(line, m, nameRe)) name = m[1];
        else if (std::regex_search(line, m, leafRe)) sizes[type + "/" + name] = std::stoul(m[2], nullptr, 16);
    }
    std::map<std::string, unsigned long> expected{{"HVDATA/HV1", kText.size()}, {"HVDATA/HV29", 1000}, {"QDATA/QDATA", 3}};
    EXPECT_EQ(sizes, expected) << out;
}

// ...and the reader reads what the binutils' tools make.
TEST(ResourceLibrary, ReadsResourceDllsMadeByBinutils) {
    for (const char* tool : {"i686-w64-mingw32-windres", "ld", "cpp"})
        ASSERT_TRUE(Available(tool)) << tool << " is not installed: run scripts/setup.sh";
    TempDir d;
    Write(d.path + "/a.txt", kText);
    Write(d.path + "/e.bin", "");
    Write(d.path + "/x.rc", "LANGUAGE 0, 0\n"
                            "HV1 HVDATA \"a.txt\"\n"
                            "hv2 HVDATA \"e.bin\"\n"
                            "QDATA QDATA \"a.txt\"\n"
                            "7 RCDATA \"a.txt\"\n");
    std::string cmd = "cd " + d.path +
                      " && i686-w64-mingw32-windres --preprocessor=cpp x.rc -O coff -o x.o"
                      " && ld -m i386pe --dll -e 0 -s --no-insert-timestamp -o x.dll x.o";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    TResourceLibrary lib;
    ASSERT_TRUE(lib.Open(d.path + "/x.dll")) << lib.Error();
    std::string data;
    ASSERT_TRUE(lib.ReadResource("HV1", "HVDATA", data));
    EXPECT_EQ(data, kText);
    ASSERT_TRUE(lib.ReadResource("Hv2", "HVDATA", data));
    EXPECT_EQ(data, "");
    EXPECT_EQ(ReadResourceLines(lib, "QDATA", "QDATA"), (TStringList{"first line", "second", "third"}));
    ASSERT_TRUE(lib.ReadResource("#7", "#10", data)); // RCDATA is type 10
    EXPECT_EQ(data, kText);
    EXPECT_FALSE(lib.HasResource("HV3", "HVDATA"));
    std::vector<TPeResourceEntry> entries;
    ASSERT_TRUE(lib.ListResources(entries));
    EXPECT_EQ(entries.size(), 4u);
}
