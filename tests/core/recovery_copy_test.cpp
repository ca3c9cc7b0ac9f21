// The recovery copy gives back the editor exactly as typed, and refuses a copy that is not whole.
#include "recovery_copy.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

RecoveryContents OddContents() {
    RecoveryContents typed{testing::GridOf({{"Normal", "28,7", "abc"},
                                            {"", "", ""},
                                            {"Abnormal", "\"12\"", " 3\t"},
                                            {"Normal", "Gerät µ", "\r\n\"\","}}),
                           EditorFields()};
    typed.grid.at(0, 0) = "corner";
    typed.grid.at(0, 2) = "y \"ref\"";
    typed.grid.at(130, 0) = "130";
    typed.grid.at(130, 3) = "last";
    typed.fields.txtid = "Lot \"7\", 2026";
    typed.fields.txtISI = "1,02";
    typed.fields.ComboCI = "95%";
    typed.fields.Chkbox1 = true;
    return typed;
}

TEST(RecoveryCopy, GivesBackEveryCellAndFieldByteForByte) {
    const RecoveryContents typed = OddContents();
    const std::string text = RecoveryCopyText(typed.grid, typed.fields);
    const std::optional<RecoveryContents> read = ReadRecoveryCopy(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, typed);
    EXPECT_EQ(RecoveryCopyText(read->grid, read->fields), text);
    EXPECT_EQ(ReadRecoveryCopy(RecoveryCopyText(GridCells(), EditorFields())),
              (RecoveryContents{GridCells(), EditorFields()}));
}

TEST(RecoveryCopy, RefusesACopyCutShortOrDamaged) {
    const RecoveryContents typed = OddContents();
    const std::string text = RecoveryCopyText(typed.grid, typed.fields);
    for (std::size_t length = 0; length < text.size(); length += 7)
        EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, length))) << length;
    EXPECT_FALSE(ReadRecoveryCopy(text.substr(0, text.size() - 1)));
    EXPECT_FALSE(ReadRecoveryCopy(text + "x"));
    std::string unticked = text;
    unticked.replace(unticked.find("Chkbox1,\"1\""), 11, "Chkbox1,\"2\"");
    EXPECT_FALSE(ReadRecoveryCopy(unticked));
    EXPECT_FALSE(ReadRecoveryCopy("R1\r\nW1\r\n1\r\n0.1\r\n1,12,13\r\n"));
}

} // namespace
} // namespace morvane
