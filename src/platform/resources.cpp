#include "platform/resources.h"

#include "storage/modules.h"
#include "util/fileutils.h"

std::string ModuleFilePath(const std::string& fileName) {
    if (fileName.empty() || fileName.find('/') != std::string::npos) return fileName;
    return ProgramFolder() + fileName;
}

bool TResourceLibrary::Open(const std::string& fileName) {
    std::string path = ModuleFilePath(fileName);
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        FFileName = path;
        FBytes.clear();
        FImage.Parse({});
        FError = "cannot read " + path;
        return false;
    }
    return LoadFromBytes(std::move(bytes), path);
}

bool TResourceLibrary::LoadFromBytes(std::string bytes, const std::string& fileName) {
    FFileName = fileName;
    FBytes = std::move(bytes);
    FError.clear();
    // The image keeps a view of FBytes, which stays put until the next load.
    if (!FImage.Parse(FBytes)) FError = FImage.Error();
    return Loaded();
}

bool TResourceLibrary::HasResource(std::string_view name, std::string_view type) const {
    return FImage.FindResource(TPeResourceId::FromText(name), TPeResourceId::FromText(type)).has_value();
}

bool TResourceLibrary::ReadResource(std::string_view name, std::string_view type, std::string& data) const {
    auto found = FImage.FindResource(TPeResourceId::FromText(name), TPeResourceId::FromText(type));
    if (!found) return false;
    data.assign(found->data(), found->size());
    return true;
}

bool TResourceLibrary::ListResources(std::vector<TPeResourceEntry>& entries) const {
    return FImage.ListResources(entries);
}

bool TResourceLibrary::ReadEntryData(const TPeResourceEntry& entry, std::string& data) const {
    auto bytes = FImage.MapRva(entry.DataRva, entry.Size);
    if (!bytes) return false;
    data.assign(bytes->data(), bytes->size());
    return true;
}

TStringList ReadResourceLines(const TResourceLibrary& library, std::string_view name, std::string_view type) {
    std::string data;
    if (!library.ReadResource(name, type, data)) return {};
    return ReadTextLines(data);
}
