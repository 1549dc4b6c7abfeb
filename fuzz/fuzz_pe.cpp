// Any byte sequence given to the resource reader must give a clean answer.
#include "fuzz_target.h"
#include "platform/resources.h"

#include <string>
#include <vector>

HALVORA_FUZZ_TARGET(pe) {
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
