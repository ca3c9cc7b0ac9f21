// The data set in and out: read from and written to a data file, and written to and edited in
// the grid.
#include "data_file.h"
#include "grid_conversion.h"
#include "grid_feedback.h"
#include "sha256.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <fstream>

namespace morvane {
namespace {

using testing::ReadBytes;

struct DataFileTest : ::testing::Test {
    testing::TempFolder folder;
    CalibrationDataSet data;
    RecordingMessageSink sink;

    void read(const std::string& bytes) { ReadDataFile(folder.write("in.txt", bytes), data, sink); }
};

std::string SampleLines(int count) {
    std::string lines;
    for (int i = 1; i <= count; ++i)
        lines += std::to_string(i % 2) + "," + std::to_string(10 + i) + ".5,12\r\n";
    return lines;
}

const std::string kHeader = "\"RP\"\r\n\"WP\"\r\n1.1\r\n\"SEISI\"\r\n"; // as Save writes it

// Header fields are read as texts or numbers; Unix line ends, fields spread over lines as they
// please and a file ending without a line end read alike; names are Windows-1252 in the file.
TEST_F(DataFileTest, ReadsHeaderFieldsAndSamplesWhateverTheLineLayout) {
    read(kHeader + "0,25.3,31.2\r\n1,12.1,13.4\r\n2,30,38.5\r\n");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.SEISIReference, Value("SEISI"));
    EXPECT_EQ(data.SampleCount, 3);
    EXPECT_EQ(data.IsNormal[3], 2) << "any integer tag is kept; it shows as Normal";
    EXPECT_EQ(data.WorkingPT[3], 38.5);
    read(kHeader + SampleLines(130));
    EXPECT_EQ(data.SampleCount, 130);
    GridCells full;
    WriteDataToGrid(data, full);
    EXPECT_EQ(ReadDataFromGrid(full, data).tagLength, 130);
    read("RP \t,WP,1,0\r0,25.3,31.2\r1,12.1,13.4\r"); // unquoted names, old Mac line ends
    EXPECT_EQ(std::pair(data.ReferencePreparationName, data.ReferencePT[2]),
              std::pair(Value("RP"), 12.1));
    read("\"RP lot 5, batch A \x80\", \t\"WP\" ,.05,0.01\n0 , 25.3,31.2\n1,12.1,13.4");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.ReferencePreparationName, Value("RP lot 5, batch A \xE2\x82\xAC"));
    EXPECT_EQ(data.WorkingPreparationName, Value("WP")) << "blanks before a quote are passed over";
    EXPECT_EQ(data.ISIReference, Value(0.05));
    EXPECT_EQ(data.SEISIReference, Value(0.01));
    EXPECT_EQ(data.SampleCount, 2);
    EXPECT_EQ(data.ReferencePT[1], 25.3);
    EXPECT_EQ(data.WorkingPT[2], 13.4);
}

TEST_F(DataFileTest, DamagedFilesGetTheirMessageAndKeepTheCompleteRows) {
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
        int samplesAfter;
    } cases[] = {
        {"empty", "", "Can't open file", 0},
        {"header only, three fields", "\"RP\"\r\n\"WP\"\r\n1\r\n", "Can't open file", 0},
        {"truncated row", kHeader + "0,25,30\r\n1,12", "Can't open file", 1},
        {"letter in a PT", kHeader + "0,25,30\r\n1,1x2,13\r\n0,40,45\r\n",
         "Data type mis-match error", 1},
        {"letter in a tag", kHeader + "A,25,30\r\n", "Data type mis-match error", 0},
        {"quoted PT", kHeader + "0,\"25\",30\r\n", "Data type mis-match error", 0},
        {"quote never closed", "\"RP\r\n\"WP\"\r\n1\r\n0\r\n", "Can't open file", 0},
        {"last header quote never closed", "\"RP\",\"WP\",1,\"SEISI", "Can't open file", 0},
        {"quoted tag", kHeader + "\"0\",25,30\r\n", "Data type mis-match error", 0},
        {"fractional tag", kHeader + "1.5,25,30\r\n", "Data type mis-match error", 0},
        {"tag beyond 32767", kHeader + "32768,25,30\r\n", "Data type mis-match error", 0},
        {"three blank lines after the samples", kHeader + "0,25,30\r\n\r\n\r\n\r\n",
         "Can't open file", 1},
        {"blank line after the samples", kHeader + "0,25,30\r\n\r\n", "Can't open file", 1},
        {"blank line between samples", kHeader + "0,25,30\r\n\r\n1,12,13\r\n",
         "Data type mis-match error", 1},
        {"huge number", kHeader + "0,1e999,30\r\n", "Data type mis-match error", 0},
        {"NUL bytes", kHeader + std::string("0,2\0 5,30\r\n", 11), "Data type mis-match error", 0},
        {"131 samples", kHeader + SampleLines(131), "Can't open file", 0},
        {"a 10 MB file", kHeader + SampleLines(10 * 1024 * 1024 / 10), "Can't open file", 0},
    };
    for (const auto& c : cases) {
        sink.messages.clear();
        data.SampleCount = 99;
        read(c.bytes);
        EXPECT_EQ(sink.messages, std::vector{DataErrorMessage(c.message)}) << c.name;
        EXPECT_EQ(data.SampleCount, c.samplesAfter) << c.name;
    }
    ReadDataFile(folder.path.string(), data, sink); // a folder, which cannot be read as a file
    EXPECT_EQ(data.SampleCount, 0);
}

TEST_F(DataFileTest, AFileInAMissingFolderIsPassedOverInSilence) {
    data.SampleCount = 4;
    EXPECT_EQ(ReadDataFile((folder.path / "no such folder" / "a.txt").string(), data, sink),
              FileReading::FolderMissing);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.SampleCount, 4);
}

struct SaveDataFileTest : DataFileTest {
    EditorFields fields{.txtIRP = "RP", .txtWRP = "WP", .txtISI = "1.1", .txtSEISI = ""};
    GridCells grid = testing::GridOf(
        {{"Abnormal", "25.3", "31.2"}, {"Normal", "12.10", "13.4"}, {"Abnormal", "30", "38.5"}});
    std::string path = (folder.path / "saved.txt").string();
    bool save() { return SaveDataFile(path, grid, fields, data, sink); }
};

// An empty SE(ISI) and empty or zero header fields are written as their placeholders.
TEST_F(SaveDataFileTest, WritesTheDocumentedLayout) {
    ASSERT_TRUE(save());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(ReadBytes(path), kHeader + "0,25.3,31.2\r\n1,12.1,13.4\r\n0,30,38.5\r\n");
    EXPECT_EQ(data.SampleCount, 3);
    fields = {.txtIRP = "", .txtWRP = "", .txtISI = "", .txtSEISI = "0"};
    data.ISIReference = Value(1.1);
    data.SEISIReference = Value(0.02);
    ASSERT_TRUE(save());
    EXPECT_EQ(ReadBytes(path).substr(0, 30), "\"IRP\"\r\n\"WRP\"\r\n\"ISI\"\r\n\"SEISI\"\r\n");
    EXPECT_EQ(data.ISIReference, Value("ISI"));
    EXPECT_EQ(data.SEISIReference, Value("SEISI"));
}

TEST_F(SaveDataFileTest, ARoundTripKeepsNamesNumbersAndTags) {
    fields.txtIRP = "RP lot 5, batch A \xC3\xA9\xC3\xBF"; // the last letter of the code page
    fields.txtSEISI = "0.020";
    grid.at(2, 2) = "12.123456789012";
    grid.at(3, 2) = "1.7976931348623157E+308"; // the largest double: its 15 digits overflow
    ASSERT_TRUE(save());
    CalibrationDataSet loaded;
    ReadDataFile(path, loaded, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(loaded.ReferencePreparationName, Value(fields.txtIRP));
    EXPECT_EQ(loaded.SEISIReference, Value(0.02));
    EXPECT_EQ(loaded.SampleCount, 3);
    EXPECT_EQ(loaded.IsNormal, data.IsNormal);
    EXPECT_EQ(loaded.WorkingPT, data.WorkingPT);
    GridCells shown;
    WriteDataToGrid(loaded, shown);
    EXPECT_EQ(shown.at(2, 1) + shown.at(3, 1), "NormalAbnormal");
    EXPECT_EQ(shown.at(0, 0) + shown.at(0, 1) + shown.at(0, 2) + shown.at(0, 3) + shown.at(130, 0),
              "No  Tag     y     x130");
    EXPECT_EQ(loaded.ReferencePT[2], 12.123456789012);
    EXPECT_NEAR(loaded.ReferencePT[3], DBL_MAX, 5e-15 * DBL_MAX);
}

// Delete Row on the last sample, then on the first: what is left moves up, the grid's feedback
// counts it. An empty grid, or one with a time that is not a number, keeps its rows.
TEST_F(SaveDataFileTest, DeleteRowMovesTheSamplesBelowUp) {
    DeleteRow(grid, data, 4, sink); // below the samples: nothing moves
    DeleteRow(grid, data, 3, sink);
    DeleteRow(grid, data, 1, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(grid, testing::GridOf({{"Normal", "12.1", "13.4"}}));
    GridCells empty;
    DeleteRow(empty, data, 1, sink);
    GridCells mismatched = grid;
    mismatched.at(1, 2) = "x";
    DeleteRow(mismatched, data, 1, sink); // refused: the row stays
    EXPECT_EQ(mismatched.at(1, 1), "Normal");
    EXPECT_EQ(sink.messages, (std::vector{DataErrorMessage("There is no data in the grid"),
                                          DataErrorMessage("Data type mis-match error")}));
    grid.at(2, 1) = "Abnormal";
    grid.at(2, 2) = "28,7";
    EXPECT_EQ(GridRowCountsText(CountGridRows(grid)), "1 normal, 0 abnormal, 1 incomplete row");
    grid.at(3, 2) = grid.at(3, 3) = "12"; // times without a tag are incomplete, the last row counts
    grid.at(kMaxSamples, 1) = "Abnormal";
    grid.at(kMaxSamples, 2) = grid.at(kMaxSamples, 3) = "30";
    EXPECT_EQ(GridRowCountsText(CountGridRows(grid)), "1 normal, 1 abnormal, 2 incomplete rows");
    std::string hints;
    for (const std::string text : {"28,7", "x", "-1"})
        hints += PTTextProblemText(text, JudgePTText(text)) + "; ";
    EXPECT_EQ(hints, "\"28,7\" \u2014 use a period as the decimal separator; \"x\" is not a "
                     "number; \"-1\" is not a positive number; ");
}

constexpr const char* kNameRefused =
    "The preparation names cannot be saved: a name may not contain a double quote or a line break, "
    "and only Western European letters can be stored in a data file.";

// An overlong UTF-8 sequence spells a character with more bytes than it needs; it is not valid
// UTF-8 (RFC 3629, section 3) and would let a double quote slip past the check on the name.
TEST_F(SaveDataFileTest, RefusedSavesLeaveAnExistingFileUntouched) {
    const struct {
        const char* x;
        const char* workingName;
        const char* message;
    } cases[] = {
        {"", "WP", "There are missing observations in one or more columns"},
        {"thirty", "WP", "Data type mis-match error"},
        {"38.5", "say \"WP\"", kNameRefused},
        {"38.5", "\xE4\xB8\xAD", kNameRefused},   // a CJK letter, outside the code page
        {"38.5", "Lot 7 \xC0\xA2", kNameRefused}, // overlong double quote
        {"38.5", "\xE0\x80\xA2", kNameRefused},   // three-byte overlong double quote
        {"38.5", "\xC0\x80", kNameRefused},       // overlong NUL
        {"38.5", "\xC2\x80", kNameRefused},       // a control character the code page lacks
    };
    std::ofstream(path, std::ios::binary) << "old contents";
    for (const auto& c : cases) {
        sink.messages.clear();
        grid.at(3, 3) = c.x;
        fields.txtWRP = c.workingName;
        EXPECT_FALSE(save()) << c.workingName;
        EXPECT_EQ(sink.messages, std::vector{DataErrorMessage(c.message)}) << c.x;
        EXPECT_EQ(data.WorkingPreparationName, Value(c.workingName))
            << "the header fields are taken before the checks";
    }
    EXPECT_EQ(ReadBytes(path), "old contents");
    sink.messages.clear();
    fields.txtWRP = "WP";
    path = (folder.path / "no such folder" / "saved.txt").string();
    EXPECT_FALSE(save());
    const Message& shown = sink.messages.at(0);
    EXPECT_EQ(shown.title, "Save Data As...");
    EXPECT_EQ(shown.text.substr(0, shown.text.find('(')),
              "The data file " + path + " could not be saved ");
    EXPECT_TRUE(shown.text.ends_with("). A file that was there before is unchanged."));
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

// The register keeps a data set's digest as sha256sum prints it: the FIPS 180-4 examples, the
// second padded into two blocks, and a message of exactly one block.
TEST(DataSetDigest, MatchesThePublishedSha256Examples) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(64, 'a')),
              "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
}

} // namespace
} // namespace morvane
