// The recovery copy gives back the editor exactly as typed, and refuses a copy that is not whole.
#include "recovery_copy.h"
#include "test_support.h"

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
    for (std::size_t length = 0; length < text.size(); length += 7)
        EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, length))) << length;
    EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, text.size() - 1)));
    EXPECT_FALSE(ReadRecoveryCopy(text + "x"));
    std::string badTick = text;
    EXPECT_FALSE(ReadRecoveryCopy(badTick.replace(badTick.find("Chkbox1,\"1"), 10, "Chkbox1,\"2")));
}

} // namespace
} // namespace morvane
