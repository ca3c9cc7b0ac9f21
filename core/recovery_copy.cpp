#include "recovery_copy.h"

#include <string_view>

namespace morvane {

namespace {

constexpr std::string_view kFirstLine = "Morvane recovery copy\r\n";
constexpr std::string_view kLastLine = "end\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTicked = "1";
constexpr std::string_view kNotTicked = "0";

struct NamedText {
    std::string_view name;
    std::string EditorFields::*text;
};

constexpr NamedText kTexts[] = {
    {"txtid", &EditorFields::txtid},
    {"txtIRP", &EditorFields::txtIRP},
    {"txtWRP", &EditorFields::txtWRP},
    {"txtISI", &EditorFields::txtISI},
    {"txtSEISI", &EditorFields::txtSEISI},
    {"txtLowerINR", &EditorFields::txtLowerINR},
    {"txtUpperINR", &EditorFields::txtUpperINR},
    {"txtSDReg", &EditorFields::txtSDReg},
    {"ComboCI", &EditorFields::ComboCI},
};
constexpr std::string_view kTickBox = "Chkbox1";

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}

void appendField(std::string& out, std::string_view name, std::string_view text) {
    out += name;
    out += ',';
    appendQuoted(out, text);
    out += kLineEnd;
}

// Reads a copy from the front; each step consumes what it matched.
class CopyReader {
public:
    explicit CopyReader(const std::string& text) : mText(text) {}

    bool literal(std::string_view expected) {
        if (mText.compare(mPos, expected.size(), expected) != 0)
            return false;
        mPos += expected.size();
        return true;
    }

    std::optional<std::string> quoted() {
        if (!literal("\""))
            return std::nullopt;
        std::string text;
        while (mPos < mText.size()) {
            const char c = mText[mPos++];
            if (c == '"' && !literal("\""))
                return text;
            text += c;
        }
        return std::nullopt;
    }

    std::optional<std::string> field(std::string_view name) {
        if (!literal(name) || !literal(","))
            return std::nullopt;
        std::optional<std::string> text = quoted();
        return text && literal(kLineEnd) ? text : std::nullopt;
    }

    bool atEnd() const { return mPos == mText.size(); }

private:
    const std::string& mText;
    std::size_t mPos = 0;
};

bool readFields(CopyReader& reader, EditorFields& fields) {
    for (const NamedText& named : kTexts) {
        std::optional<std::string> text = reader.field(named.name);
        if (!text)
            return false;
        fields.*named.text = std::move(*text);
    }
    const std::optional<std::string> ticked = reader.field(kTickBox);
    if (!ticked || (*ticked != kTicked && *ticked != kNotTicked))
        return false;
    fields.Chkbox1 = *ticked == kTicked;
    return true;
}

bool readGrid(CopyReader& reader, GridCells& grid) {
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            std::optional<std::string> cell;
            if ((column > 0 && !reader.literal(",")) || !(cell = reader.quoted()))
                return false;
            grid.at(row, column) = std::move(*cell);
        }
        if (!reader.literal(kLineEnd))
            return false;
    }
    return true;
}

} // namespace

std::string RecoveryCopyText(const GridCells& grid, const EditorFields& fields) {
    std::string text(kFirstLine);
    for (const NamedText& named : kTexts)
        appendField(text, named.name, fields.*named.text);
    appendField(text, kTickBox, fields.Chkbox1 ? kTicked : kNotTicked);
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            if (column > 0)
                text += ',';
            appendQuoted(text, grid.at(row, column));
        }
        text += kLineEnd;
    }
    text += kLastLine;
    return text;
}

std::optional<RecoveryContents> ReadRecoveryCopy(const std::string& text) {
    CopyReader reader(text);
    RecoveryContents contents;
    if (!reader.literal(kFirstLine) || !readFields(reader, contents.fields) ||
        !readGrid(reader, contents.grid) || !reader.literal(kLastLine) || !reader.atEnd())
        return std::nullopt;
    return contents;
}

} // namespace morvane
