// ListJobSettings: the names the jobini tool prints, in declaration order.
#include <gtest/gtest.h>

#include <set>

#include "settings/JobSettings.h"

namespace {

TEST(JobSettingsList, NamesInDeclarationOrderWithIniKeyNumbers) {
    CJobSettings s;
    s.CheckFlash.FID[5] = 0xEC;
    s.CheckID.FID[0] = "98 3A";
    s.BIN.BinCap[0] = 64;
    s.U3Bin.SSDBinCo = 255;
    const std::vector<JobSettingsLine> lines = ListJobSettings(s);

    std::vector<std::string> names;
    std::set<std::string> unique;
    for (const JobSettingsLine& line : lines) {
        names.push_back(line.name);
        unique.insert(line.name);
    }
    ASSERT_EQ(123u, names.size());
    EXPECT_EQ(names.size(), unique.size()) << "a member is listed twice";

    // Section boundaries and the numbering of each kind of array.
    const std::pair<size_t, const char*> expected[] = {
        {0, "Setup.CTLType"},        {3, "Flash.FlashIndex"},   {9, "Sorting.ScanMode"},
        {13, "CheckFlash.FID[0]"},   {18, "CheckFlash.FID[5]"}, {19, "CheckFlash.CheckFlashMode"},
        {26, "CheckID.Num"},         {27, "CheckID.FID0"},      {33, "CheckID.COLOR0"},
        {44, "CheckID.FIDCOR5"},     {45, "BIN.ShowBin"},       {48, "BIN.BinCap1"},
        {63, "BIN.BinCap16"},        {64, "BIN.BINCO1"},        {80, "BIN.Grade0Base"},
        {81, "BIN.BinBB1"},          {97, "U3Bin.ShowU3Bin"},   {98, "U3Bin.U3BinCap1"},
        {106, "U3Bin.U3BinCo1"},     {114, "U3Bin.U3ColorBin"}, {115, "U3Bin.ShowU2Bin"},
        {118, "U3Bin.EnhanceCheck"}, {120, "U3Bin.SSDBinCap1"}, {121, "U3Bin.SSDBinCo1"},
        {122, "U3Bin.SSDColorBin"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(e.second, names[e.first]) << "line " << e.first;
    }

    EXPECT_EQ("236", lines[18].value);
    EXPECT_EQ("98 3A", lines[27].value);
    EXPECT_EQ("64", lines[48].value);
    EXPECT_EQ("255", lines[121].value);
    EXPECT_EQ("-1", lines[3].value);    // constructor value of [Flash] FlashIndex
    EXPECT_EQ("255", lines[11].value);  // and of [Sorting] ECC
}

}  // namespace
