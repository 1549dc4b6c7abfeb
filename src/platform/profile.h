#pragma once
// An INI file with the Windows profile semantics: sections and keys compared
// without regard to ASCII case, every other line kept when a key is written,
// values read up to 2047 characters. Each write rewrites the file through a
// temporary file and a rename, so it is never left half-written.
#include <cstdint>
#include <string>

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else gives the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // Raises EIniFileError "Unable to write to <file>" when the file cannot or may
    // not be written. A value is kept up to its first line break.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    static constexpr size_t kMaxValue = 2047;

private:
    bool Lookup(const std::string& section, const std::string& key, std::string& value) const;
    std::string fileName_;
};
