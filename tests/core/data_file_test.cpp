#include "data_file.h"
#include "grid_conversion.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvane {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct DataFileTest : ::testing::Test {
    fs::path folder;
    CalibrationDataSet data;
    RecordingMessageSink sink;

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("morvane-data-file-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    void read(const std::string& bytes) { ReadDataFile(write("in.txt", bytes), data, sink); }
    std::vector<Message> expectedMessages(std::initializer_list<const char*> texts) {
        std::vector<Message> messages;
        for (const char* text : texts)
            messages.push_back(DataErrorMessage(text));
        return messages;
    }
};

std::string SampleLines(int count) {
    std::string lines;
    for (int i = 1; i <= count; ++i)
        lines += std::to_string(i % 2) + "," + std::to_string(10 + i) + ".5,12\r\n";
    return lines;
}

const std::string kHeader = "\"RP\"\r\n\"WP\"\r\n1.1\r\n\"SEISI\"\r\n";

TEST_F(DataFileTest, ReadsHeaderFieldsAsTextOrNumberAndTheSamples) {
    read(kHeader + "0,25.3,31.2\r\n1,12.1,13.4\r\n2,30,38.5\r\n");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.ReferencePreparationName, Value("RP"));
    EXPECT_EQ(data.ISIReference, Value(1.1));
    EXPECT_EQ(data.SEISIReference, Value("SEISI"));
    EXPECT_EQ(data.SampleCount, 3);
    EXPECT_EQ(data.IsNormal[1], 0);
    EXPECT_EQ(data.IsNormal[3], 2) << "any integer tag is kept; it shows as Normal";
    EXPECT_EQ(data.ReferencePT[1], 25.3);
    EXPECT_EQ(data.WorkingPT[3], 38.5);
}

TEST_F(DataFileTest, FieldLayoutDoesNotDependOnLines) {
    read("\"RP lot 5, batch A\", \"WP\" ,.05,0.01\n0 , 25.3,31.2\n1,12.1,13.4");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.ReferencePreparationName, Value("RP lot 5, batch A"));
    EXPECT_EQ(data.ISIReference, Value(0.05));
    EXPECT_EQ(data.SEISIReference, Value(0.01));
    EXPECT_EQ(data.SampleCount, 2);
    EXPECT_EQ(data.WorkingPT[2], 13.4);
}

TEST_F(DataFileTest, ReadsOneHundredAndThirtySamplesAndRefusesMore) {
    read(kHeader + SampleLines(130));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.SampleCount, 130);
    read(kHeader + SampleLines(131));
    EXPECT_EQ(sink.messages, expectedMessages({"Can't open file"}));
    EXPECT_EQ(data.SampleCount, 0);
}

struct BadFileCase {
    const char* name;
    std::string bytes;
    const char* message;
    int samplesAfter;
};

TEST_F(DataFileTest, DamagedFilesGetTheirMessageAndKeepTheCompleteRows) {
    const BadFileCase cases[] = {
        {"empty", "", "Can't open file", 0},
        {"header only, three fields", "\"RP\"\r\n\"WP\"\r\n1\r\n", "Can't open file", 0},
        {"truncated row", kHeader + "0,25,30\r\n1,12", "Can't open file", 1},
        {"letter in a PT", kHeader + "0,25,30\r\n1,1x2,13\r\n0,40,45\r\n",
         "Data type mis-match error", 1},
        {"letter in a tag", kHeader + "A,25,30\r\n", "Data type mis-match error", 0},
        {"quoted PT", kHeader + "0,\"25\",30\r\n", "Data type mis-match error", 0},
        {"quote never closed", "\"RP\r\n\"WP\"\r\n1\r\n0\r\n", "Can't open file", 0},
        {"blank line after the samples", kHeader + "0,25,30\r\n\r\n", "Can't open file", 1},
        {"blank line between samples", kHeader + "0,25,30\r\n\r\n1,12,13\r\n",
         "Data type mis-match error", 1},
        {"huge number", kHeader + "0,1e999,30\r\n", "Data type mis-match error", 0},
        {"NUL bytes", kHeader + std::string("0,2\0 5,30\r\n", 11), "Data type mis-match error", 0},
    };
    for (const BadFileCase& c : cases) {
        sink.messages.clear();
        data.SampleCount = 99;
        read(c.bytes);
        EXPECT_EQ(sink.messages, expectedMessages({c.message})) << c.name;
        EXPECT_EQ(data.SampleCount, c.samplesAfter) << c.name;
    }
}

TEST_F(DataFileTest, UnixAndWindowsLineEndsReadAlike) {
    read("\"RP\"\n\"WP\"\n1\n0\n0,25,30\n1,12,13\n");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(data.SampleCount, 2);
}

TEST_F(DataFileTest, MissingFileOrFolder) {
    data.ReferencePreparationName = Value("kept");
    ReadDataFile((folder / "no such file.txt").string(), data, sink);
    EXPECT_EQ(sink.messages, expectedMessages({"Can't open file"}));
    EXPECT_EQ(data.ReferencePreparationName, Value("kept"));
    sink.messages.clear();
    data.SampleCount = 4;
    ReadDataFile((folder / "no such folder" / "a.txt").string(), data, sink);
    EXPECT_TRUE(sink.messages.empty()) << "a missing folder is passed over in silence";
    EXPECT_EQ(data.SampleCount, 4);
    ReadDataFile(folder.string(), data, sink);
    EXPECT_EQ(sink.messages, expectedMessages({"Can't open file"})) << "a folder is no file";
}

TEST_F(DataFileTest, NamesAreWindows1252InTheFile) {
    read("\"Thrombopl\xE2stine \x80 lot\"\r\n\"WP\"\r\n1\r\n0\r\n");
    EXPECT_EQ(data.ReferencePreparationName.text(), "Thrombopl\xC3\xA2stine \xE2\x82\xAC lot");
}

struct SaveDataFileTest : DataFileTest {
    EditorFields fields;
    GridCells grid = testing::GridOf(
        {{"Abnormal", "25.3", "31.2"}, {"Normal", "12.10", "13.4"}, {"Abnormal", "30", "38.5"}});
    std::string path;

    void SetUp() override {
        DataFileTest::SetUp();
        path = (folder / "saved.txt").string();
        fields.txtIRP = "RP";
        fields.txtWRP = "WP";
        fields.txtISI = "1.1";
        fields.txtSEISI = "";
    }
    bool save() { return SaveDataFile(path, grid, fields, data, sink); }
};

TEST_F(SaveDataFileTest, WritesTheDocumentedLayout) {
    ASSERT_TRUE(save());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(ReadBytes(path), "\"RP\"\r\n\"WP\"\r\n1.1\r\n\"SEISI\"\r\n"
                               "0,25.3,31.2\r\n1,12.1,13.4\r\n0,30,38.5\r\n");
    EXPECT_EQ(data.SampleCount, 3);
}

TEST_F(SaveDataFileTest, EmptyOrZeroHeaderFieldsBecomePlaceholders) {
    fields.txtIRP = "";
    fields.txtWRP = "";
    fields.txtISI = "0";
    fields.txtSEISI = "0";
    ASSERT_TRUE(save());
    EXPECT_EQ(ReadBytes(path).substr(0, 30), "\"IRP\"\r\n\"WRP\"\r\n\"ISI\"\r\n\"SEISI\"\r\n");
    EXPECT_EQ(data.ISIReference, Value("ISI"));
    CalibrationDataSet loaded;
    ReadDataFile(path, loaded, sink);
    EXPECT_EQ(loaded.ReferencePreparationName, Value("IRP"));
}

TEST_F(SaveDataFileTest, ARoundTripKeepsNamesNumbersAndTags) {
    fields.txtIRP = "RP lot 5, batch A \xC3\xA9";
    fields.txtSEISI = "0.020";
    grid.at(2, 2) = "12.123456789012";
    ASSERT_TRUE(save());
    CalibrationDataSet loaded;
    ReadDataFile(path, loaded, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(loaded.ReferencePreparationName, Value(fields.txtIRP));
    EXPECT_EQ(loaded.SEISIReference, Value(0.02));
    EXPECT_EQ(loaded.SampleCount, 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(loaded.IsNormal[i], data.IsNormal[i]);
        EXPECT_EQ(loaded.ReferencePT[i], data.ReferencePT[i]);
        EXPECT_EQ(loaded.WorkingPT[i], data.WorkingPT[i]);
    }
}

TEST_F(SaveDataFileTest, RefusedSavesLeaveAnExistingFileUntouched) {
    std::ofstream(path, std::ios::binary) << "old contents";
    grid.at(3, 3).clear();
    EXPECT_FALSE(save());
    grid.at(3, 3) = "thirty";
    EXPECT_FALSE(save());
    grid.at(3, 3) = "38.5";
    fields.txtWRP = "say \"WP\"";
    EXPECT_FALSE(save());
    fields.txtWRP = "\xE4\xB8\xAD";
    EXPECT_FALSE(save());
    ASSERT_EQ(sink.messages.size(), 4u);
    EXPECT_EQ(sink.messages[0].text, "There are missing observations in one or more columns");
    EXPECT_EQ(sink.messages[1].text, "Data type mis-match error");
    EXPECT_EQ(sink.messages[2].title, "Data Error");
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_EQ(data.WorkingPreparationName, Value(fields.txtWRP))
        << "the header fields are taken before the checks";
}

TEST_F(SaveDataFileTest, AFailedWriteIsReportedAndLeavesNoFile) {
    path = (folder / "no such folder" / "saved.txt").string();
    EXPECT_FALSE(save());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Save Data As...");
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace morvane
