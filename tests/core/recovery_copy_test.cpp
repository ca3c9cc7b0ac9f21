// The recovery copy gives back the editor exactly as typed, and refuses a copy that is not whole.
#include "recovery_copy.h"
#include "test_support.h"

#include <cstring>

namespace morvane {
namespace {

TEST(RecoveryCopy, GivesBackEveryCellAndFieldByteForByteAndRefusesAnyOtherText) {
    RecoveryContents typed{testing::GridOf({{"Normal", "28,7", "abc"},
                                            {"", "", ""},
                                            {"Abnormal", "\"12\"", " 3\t"},
                                            {"Normal", "Gerät µ", "\r\n\"\","}}),
                           EditorFields()};
    typed.grid.at(0, 0) = "corner \"";
    typed.fields.txtid = "Lot \"7\", 2026";
    typed.fields.Chkbox1 = true;
    const std::string text = RecoveryCopyText(typed.grid, typed.fields);
    EXPECT_EQ(ReadRecoveryCopy(text), typed);
    EXPECT_EQ(ReadRecoveryCopy(RecoveryCopyText({}, {})), (RecoveryContents{}));
    // A copy left by this version is read by the next: the field lines keep their names.
    EXPECT_TRUE(RecoveryCopyText({}, {}).ends_with("\"\",\"\",\"\",\"\"\r\nend\r\n"));
    EXPECT_TRUE(RecoveryCopyText({}, {}).starts_with(
        "Morvane recovery copy\r\ntxtid,\"dataset1.txt\"\r\ntxtIRP,\"RP\"\r\ntxtWRP,\"WP\"\r\n"
        "txtISI,\"1\"\r\ntxtSEISI,\"0\"\r\ntxtLowerINR,\"1.5\"\r\ntxtUpperINR,\"4.5\"\r\n"
        "txtSDReg,\"3.0\"\r\nComboCI,\"95%\"\r\nChkbox1,\"0\"\r\n\"\",\"\",\"\",\"\"\r\n"));
    for (std::size_t length = 0; length < text.size(); length += 7)
        EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, length))) << length;
    for (const std::size_t cut : {1, 2}) // the last line end, in part or whole
        EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, text.size() - cut))) << cut;
    EXPECT_FALSE(ReadRecoveryCopy(text + "x"));
    // Whole lines cut out, or lines joined by cutting out the line ends between them.
    std::vector<std::size_t> ends;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         end = text.find("\r\n", end + 1))
        ends.push_back(end);
    for (std::size_t i = 0; i < ends.size(); ++i)
        for (std::size_t j = i + 1; j < ends.size(); ++j)
            for (const std::size_t kept : {0, 2})
                EXPECT_FALSE(
                    ReadRecoveryCopy(text.substr(0, ends[i] + kept) + text.substr(ends[j] + 2)))
                    << i << " " << j << " " << kept;
    // A tick box neither ticked nor clear, a field without its comma, a row short of a cell.
    for (const auto& [from, to] : {std::pair{"Chkbox1,\"1", "Chkbox1,\"2"},
                                   {"txtISI,", "txtISI"},
                                   {"\"\",\"\",\"\",\"\"\r\n", "\"\",\"\",\"\"\r\n"}}) {
        std::string broken = text;
        EXPECT_FALSE(ReadRecoveryCopy(broken.replace(broken.find(from), std::strlen(from), to)))
            << to;
    }
}

} // namespace
} // namespace morvane
