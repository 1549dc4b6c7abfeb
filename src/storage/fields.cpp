#include "storage/fields.h"

std::string FieldText(std::string_view line, std::string_view startMarker, std::string_view endMarker) {
    return TextBetween(line, startMarker, endMarker);
}

std::string LastFieldText(std::string_view line, std::string_view startMarker) {
    return RemoveAll(TextAfter(line, startMarker), ">>");
}

int32_t FieldNumber(std::string_view value, int32_t defaultValue) {
    return IsInteger(value) ? StrToInt(value) : defaultValue;
}

bool FieldFlag(std::string_view value) { return SameText(Trim(value), "TRUE"); }

std::string MakeField(std::string_view tag, std::string_view value) {
    return "<<" + std::string(tag) + ":" + std::string(value) + ">>";
}

std::string JoinFields(const TStringList& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) line += "|";
        line += fields[i];
    }
    return line;
}
