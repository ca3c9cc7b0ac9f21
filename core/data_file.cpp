#include "data_file.h"

#include "atomic_file.h"
#include "grid_conversion.h"
#include "text_encoding.h"
#include "whole_file.h"

#include <cmath>
#include <filesystem>
#include <optional>

namespace morvane {

namespace {

struct Field {
    std::string text;
    bool quoted = false;
};

enum class ReadFailure { None, PrematureEnd, NotANumber, TooManyRows };

// Reads the comma-separated fields of a data file: a field ends at a comma or a line end,
// blanks around it are skipped, and a quoted field runs to the next double quote.
class FieldReader {
public:
    explicit FieldReader(std::string bytes) : mBytes(std::move(bytes)) {}

    bool atEnd() const { return mPos >= mBytes.size(); }

    // True when nothing but blanks and line ends is left.
    bool onlyBlankLinesLeft() const {
        return mBytes.find_first_not_of(" \t\r\n", mPos) == std::string::npos;
    }

    // The next field, or nothing at the end of the file or inside an unclosed quote.
    std::optional<Field> next() {
        skipBlanks();
        if (atEnd())
            return std::nullopt;
        Field field;
        if (mBytes[mPos] == '"') {
            const auto close = mBytes.find('"', mPos + 1);
            if (close == std::string::npos)
                return std::nullopt;
            field.text = mBytes.substr(mPos + 1, close - mPos - 1);
            field.quoted = true;
            mPos = close + 1;
            skipToDelimiter();
        } else {
            const auto end = mBytes.find_first_of(",\r\n", mPos);
            field.text = mBytes.substr(mPos, end == std::string::npos ? end : end - mPos);
            mPos = end == std::string::npos ? mBytes.size() : end;
            while (!field.text.empty() && (field.text.back() == ' ' || field.text.back() == '\t'))
                field.text.pop_back();
        }
        consumeDelimiter();
        return field;
    }

private:
    void skipBlanks() {
        while (!atEnd() && (mBytes[mPos] == ' ' || mBytes[mPos] == '\t'))
            ++mPos;
    }
    // Text after a closing quote up to the next delimiter is not part of any field.
    void skipToDelimiter() {
        const auto end = mBytes.find_first_of(",\r\n", mPos);
        mPos = end == std::string::npos ? mBytes.size() : end;
    }
    void consumeDelimiter() {
        if (atEnd())
            return;
        if (mBytes[mPos] == ',') {
            ++mPos;
        } else if (mBytes[mPos] == '\r') {
            ++mPos;
            if (!atEnd() && mBytes[mPos] == '\n')
                ++mPos;
        } else if (mBytes[mPos] == '\n') {
            ++mPos;
        }
    }

    std::string mBytes;
    std::size_t mPos = 0;
};

// A header field: a quoted text stays text, an unquoted one becomes a number when it reads as
// one.
Value headerValue(const Field& field) {
    if (!field.quoted)
        if (auto number = ParseNumber(field.text))
            return Value(*number);
    return Value(Windows1252ToUtf8(field.text));
}

std::optional<int> tagValue(const Field& field) {
    auto number = ParseNumber(field.text);
    if (field.quoted || !number || *number != std::floor(*number) || std::fabs(*number) > 32767)
        return std::nullopt;
    return static_cast<int>(*number);
}

std::optional<double> ptValue(const Field& field) {
    if (field.quoted)
        return std::nullopt;
    return ParseNumber(field.text);
}

ReadFailure readHeader(FieldReader& reader, CalibrationDataSet& data) {
    Value* header[] = {&data.ReferencePreparationName, &data.WorkingPreparationName,
                       &data.ISIReference, &data.SEISIReference};
    for (Value* field : header) {
        auto read = reader.next();
        if (!read)
            return ReadFailure::PrematureEnd;
        *field = headerValue(*read);
    }
    return ReadFailure::None;
}

// Reads one sample into row `row`; the row is stored only when all three fields read.
ReadFailure readSample(FieldReader& reader, CalibrationDataSet& data, int row) {
    if (reader.onlyBlankLinesLeft())
        return ReadFailure::PrematureEnd;
    auto tag = reader.next();
    auto y = reader.next();
    auto x = reader.next();
    if (!tag || !y || !x)
        return ReadFailure::PrematureEnd;
    auto isNormal = tagValue(*tag);
    auto referencePT = ptValue(*y);
    auto workingPT = ptValue(*x);
    if (!isNormal || !referencePT || !workingPT)
        return ReadFailure::NotANumber;
    data.IsNormal[row] = *isNormal;
    data.ReferencePT[row] = *referencePT;
    data.WorkingPT[row] = *workingPT;
    return ReadFailure::None;
}

ReadFailure readSamples(FieldReader& reader, CalibrationDataSet& data) {
    while (!reader.atEnd()) {
        if (data.SampleCount == kMaxSamples)
            return ReadFailure::TooManyRows;
        const ReadFailure failure = readSample(reader, data, data.SampleCount + 1);
        if (failure != ReadFailure::None)
            return failure;
        ++data.SampleCount;
    }
    return ReadFailure::None;
}

bool folderExists(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    return folder.empty() || std::filesystem::is_directory(folder, ec);
}

} // namespace

FileReading ReadDataFile(const std::string& path, CalibrationDataSet& data, MessageSink& sink) {
    if (!folderExists(path))
        return FileReading::FolderMissing;
    // A save cut short leaves its temporary file; its bytes are half a data set at best.
    const bool partialSave = IsPartialSaveFile(path);
    WholeFile file = partialSave ? WholeFile{} : ReadWholeFile(path);
    if (partialSave || file.problem != WholeFileProblem::None) {
        data.SampleCount = 0;
        sink.show(DataErrorMessage(kCantOpenFileText));
        return FileReading::Refused;
    }
    return ReadDataFileBytes(std::move(file.bytes), data, sink);
}

FileReading ReadDataFileBytes(std::string bytes, CalibrationDataSet& data, MessageSink& sink) {
    FieldReader reader(std::move(bytes));
    data.SampleCount = 0;
    ReadFailure failure = readHeader(reader, data);
    if (failure == ReadFailure::None)
        failure = readSamples(reader, data);
    if (failure == ReadFailure::TooManyRows)
        data.SampleCount = 0;
    if (failure == ReadFailure::None)
        return FileReading::Read;
    sink.show(
        DataErrorMessage(failure == ReadFailure::NotANumber ? kMismatchText : kCantOpenFileText));
    return FileReading::Refused;
}

namespace {

// The ISI or SE field as saved: its number, or nothing when it is empty, not a number or 0.
std::optional<double> savedNumber(const std::string& text) {
    auto number = ParseNumber(text);
    if (!number || *number == 0.0)
        return std::nullopt;
    return number;
}

// A name as a quoted Windows-1252 field, or nothing when it cannot be stored and read back.
std::optional<std::string> quotedName(const std::string& name) {
    if (name.find_first_of("\"\r\n") != std::string::npos)
        return std::nullopt;
    auto encoded = Utf8ToWindows1252(name);
    if (!encoded)
        return std::nullopt;
    return "\"" + *encoded + "\"";
}

std::string numberOrPlaceholder(const std::optional<double>& number, const char* placeholder) {
    return number ? FormatGeneral(*number) : "\"" + std::string(placeholder) + "\"";
}

} // namespace

void ResetLimitFields(EditorFields& fields) {
    fields.txtLowerINR = FormatGeneral(defaults::kLowerINR);
    fields.txtUpperINR = FormatGeneral(defaults::kUpperINR);
    fields.txtSDReg = FormatGeneral(defaults::kSDLimit);
}

EditorFields EditorFieldsAfterOpening(const CalibrationDataSet& data, const std::string& fileName) {
    EditorFields fields;
    fields.txtid = std::filesystem::path(fileName).filename().string();
    fields.txtIRP = data.ReferencePreparationName.text();
    fields.txtWRP = data.WorkingPreparationName.text();
    fields.txtISI = data.ISIReference.text();
    fields.txtSEISI = data.SEISIReference.text();
    ResetLimitFields(fields);
    return fields;
}

std::optional<std::string> DataFileBytes(const GridCells& grid, const EditorFields& fields,
                                         CalibrationDataSet& data, MessageSink& sink) {
    const GridReading reading = ReadDataFromGrid(grid, data);
    data.ReferencePreparationName =
        Value(fields.txtIRP.empty() ? defaults::kSavedReferenceName : fields.txtIRP);
    data.WorkingPreparationName =
        Value(fields.txtWRP.empty() ? defaults::kSavedWorkingName : fields.txtWRP);
    const auto isi = savedNumber(fields.txtISI);
    const auto seisi = savedNumber(fields.txtSEISI);
    if (!isi)
        data.ISIReference = Value("ISI");
    if (!seisi)
        data.SEISIReference = Value("SEISI");
    if (!CheckGridReading(reading, sink))
        return std::nullopt;
    data.SampleCount = reading.tagLength;

    const auto referenceName = quotedName(data.ReferencePreparationName.text());
    const auto workingName = quotedName(data.WorkingPreparationName.text());
    if (!referenceName || !workingName) {
        sink.show(DataErrorMessage(
            "The preparation names cannot be saved: a name may not contain a double quote or a "
            "line break, and only Western European letters can be stored in a data file."));
        return std::nullopt;
    }
    std::string text = *referenceName + "\r\n" + *workingName + "\r\n" +
                       numberOrPlaceholder(isi, "ISI") + "\r\n" +
                       numberOrPlaceholder(seisi, "SEISI") + "\r\n";
    for (int i = 1; i <= data.SampleCount; ++i)
        text += std::to_string(data.IsNormal[i]) + "," + FormatGeneral(data.ReferencePT[i]) + "," +
                FormatGeneral(data.WorkingPT[i]) + "\r\n";
    return text;
}

bool SaveDataFile(const std::string& path, const GridCells& grid, const EditorFields& fields,
                  CalibrationDataSet& data, MessageSink& sink) {
    const auto bytes = DataFileBytes(grid, fields, data, sink);
    if (!bytes)
        return false;
    const std::string failure = WriteFileAtomically(path, *bytes);
    if (!failure.empty()) {
        sink.show(Message{"Save Data As...",
                          "The data file " + path + " could not be saved (" + failure +
                              "). A file that was there before is unchanged.",
                          MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    return true;
}

} // namespace morvane
