#include "tools/textstore.h"

#include "util/strutils.h"

#include <cctype>

namespace {

constexpr size_t kLiteralChunk = 64; // characters per line of a long literal

bool Printable(unsigned char c) { return c >= 32 && c < 127; }

} // namespace

void TFormListWriter::WriteListBegin() { FText += "("; }

void TFormListWriter::WriteString(const std::string& s) {
    const std::string pad(static_cast<size_t>(FIndent), ' ');
    FText += "\n" + pad;
    if (s.empty()) {
        FText += "''";
        return;
    }
    bool quoted = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i > 0 && i % kLiteralChunk == 0) {
            if (quoted) FText += '\'';
            quoted = false;
            FText += " +\n" + pad + "  ";
        }
        const auto c = static_cast<unsigned char>(s[i]);
        if (Printable(c)) {
            if (!quoted) FText += '\'';
            quoted = true;
            FText += s[i];
            if (c == '\'') FText += '\'';
        } else {
            if (quoted) FText += '\'';
            quoted = false;
            FText += "#" + std::to_string(c);
        }
    }
    if (quoted) FText += '\'';
}

void TFormListWriter::WriteListEnd() { FText += ")"; }

void TFormListReader::SkipBlanks() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= 32) ++FPos;
}

void TFormListReader::Fail(const char* what) const {
    throw EConvertError(std::string("Invalid string list in form description at offset ") +
                        std::to_string(FPos) + ": " + what);
}

void TFormListReader::ReadListBegin() {
    SkipBlanks();
    if (FPos >= FText.size() || FText[FPos] != '(') Fail("\"(\" expected");
    ++FPos;
}

bool TFormListReader::EndOfList() {
    SkipBlanks();
    if (FPos >= FText.size()) Fail("the list has no \")\"");
    return FText[FPos] == ')';
}

std::string TFormListReader::ReadString() {
    std::string out;
    bool needToken = true;
    for (;;) {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '\'') {
            ++FPos;
            for (;;) {
                if (FPos >= FText.size() || FText[FPos] == '\r' || FText[FPos] == '\n')
                    Fail("unterminated quoted string");
                if (FText[FPos] == '\'') {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                        out += '\'';
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                out += FText[FPos++];
            }
        } else if (FPos < FText.size() && FText[FPos] == '#') {
            ++FPos;
            int value = 0, digits = 0;
            while (FPos < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos])) &&
                   digits < 4) {
                value = value * 10 + (FText[FPos++] - '0');
                ++digits;
            }
            if (digits == 0 || value > 255) Fail("character code 0 to 255 expected after \"#\"");
            out += static_cast<char>(value);
        } else {
            if (needToken) Fail("a string was expected");
            break;
        }
        needToken = false;
        // Another piece follows at once, or after a "+" on this line.
        const size_t save = FPos;
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '+') {
            ++FPos;
            needToken = true;
            continue;
        }
        FPos = save;
        if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
        break;
    }
    return out;
}

void TFormListReader::ReadListEnd() {
    SkipBlanks();
    if (FPos >= FText.size() || FText[FPos] != ')') Fail("\")\" expected");
    ++FPos;
}

void TTextStoreItems::Add(const std::string& title, const std::string& text) {
    // A shared array is copied before it grows, as the items' owner expects.
    if (!FItems)
        FItems = std::make_shared<std::vector<TTextStoreItem>>();
    else if (FItems.use_count() > 1)
        FItems = std::make_shared<std::vector<TTextStoreItem>>(*FItems);
    FItems->push_back({title, text});
}

const TTextStoreItem& TTextStoreItems::Items(int index) const {
    if (index < 0 || index >= Count())
        throw ERangeError("Text store index out of bounds (" + std::to_string(index) + ")");
    return (*FItems)[static_cast<size_t>(index)];
}

void TTextStoreItems::Swap(int a, int b) {
    Items(a);
    Items(b);
    std::swap((*FItems)[static_cast<size_t>(a)], (*FItems)[static_cast<size_t>(b)]);
}

void TTextStoreItems::WriteStorage(TFormListWriter& writer) const {
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i) {
        const TTextStoreItem& item = Items(i);
        writer.WriteString(item.Title + std::string(kTextStoreSeparator) + item.Text);
    }
    writer.WriteListEnd();
}

void TTextStoreItems::ReadStorage(TFormListReader& reader) {
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        const std::string s = reader.ReadString();
        const size_t at = s.find(kTextStoreSeparator);
        if (at == std::string::npos)
            Add("Untitled", s);
        else
            Add(s.substr(0, at), s.substr(at + kTextStoreSeparator.size()));
    }
    reader.ReadListEnd();
}

std::string WriteTextStoreForm(const std::string& name, const TVrnTextStore& store) {
    TFormListWriter writer(4);
    store.Storage().WriteStorage(writer);
    return "object " + name + ": TVrnTextStore\n  Storage.Storage = " + writer.Text() + "\nend\n";
}

void ReadTextStoreForm(std::string_view form, const std::string& name, TVrnTextStore& store) {
    const std::string upper = UpperCase(std::string(form));
    const std::string property = "STORAGE.STORAGE";
    size_t at = upper.find(UpperCase(name) + "." + property);
    if (at != std::string::npos) {
        at += name.size() + 1 + property.size();
    } else {
        const size_t object = upper.find("OBJECT " + UpperCase(name) + ":");
        at = object == std::string::npos ? object : upper.find(property, object);
        if (at == std::string::npos)
            throw EConvertError("The form description holds no text store \"" + name + "\"");
        at += property.size();
    }
    while (at < form.size() && static_cast<unsigned char>(form[at]) <= 32) ++at;
    if (at >= form.size() || form[at] != '=')
        throw EConvertError("The form description's property " + name + ".Storage.Storage has no value");
    TFormListReader reader(form.substr(at + 1));
    store.Storage().ReadStorage(reader);
}
