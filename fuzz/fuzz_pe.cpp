// Any byte sequence given to the resource reader must give a clean answer.
#include "platform/resources.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TResourceLibrary lib;
    lib.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.dll");
    std::vector<TPeResourceEntry> entries;
    lib.ListResources(entries);
    std::string bytes;
    for (const auto& e : entries) lib.ReadResource(e.Name.Text(), e.Type.Text(), bytes);
    for (const char* name : {"HV1", "HV2", "QDATA", "#1"})
        for (const char* type : {"HVDATA", "QDATA", "#10"}) ReadResourceLines(lib, name, type);
    return 0;
}
