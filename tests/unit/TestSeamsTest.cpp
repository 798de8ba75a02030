#include "Common/TestSeams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Seams, EyePoseIsFiveNumbersAndTogglesAListSplitOnCommas)
{
    EyePose p;
    ASSERT_TRUE(parse_eye_pose("4096 900.5 -12 45 -30", p));
    EXPECT_EQ((std::vector<double>{p.x, p.y, p.z, p.yaw_deg, p.pitch_deg}),
              (std::vector<double>{4096, 900.5, -12, 45, -30}));
    ASSERT_TRUE(parse_eye_pose(" 1,2, 3 ,4,5 ", p));
    EXPECT_DOUBLE_EQ(p.z, 3);
    for (const char* bad : {"1 2 3 4", "1 2 3 4 5 6", "1 2 x 4 5", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(parse_eye_pose(bad, p)) << (bad ? bad : "null");
    EXPECT_DOUBLE_EQ(p.x, 1) << "a refused pose changes nothing";
    // The toggle list splits on commas and drops blanks.
    EXPECT_EQ(parse_toggle_list(" L, F3,,N "), (std::vector<std::string>{"L", "F3", "N"}));
    EXPECT_TRUE(parse_toggle_list("").empty());
}
