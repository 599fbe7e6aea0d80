#include "OutputPaths.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(OutputPaths, ExtensionIsReplacedInTheFileNameOnly)
{
    EXPECT_EQ(ReplaceExtension("/w/Top.fsm", ".htm"), "/w/Top.htm");
    EXPECT_EQ(ReplaceExtension("/w/Top.v2.fsm", ".wmf"), "/w/Top.v2.wmf");
    EXPECT_EQ(ReplaceExtension("/w.d/Top", ".htm"), "/w.d/Top.htm");
    EXPECT_EQ(ReplaceExtension("Top", ".lst"), "Top.lst");
}

TEST(OutputPaths, BatchOutputGoesBesideTheDiagramOrIntoTheOutputFolder)
{
    EXPECT_EQ(BatchOutputPath("/w/Top.fsm", "", ".htm"), "/w/Top.htm");
    EXPECT_EQ(BatchOutputPath("/w/Top.fsm", "/out", ".c"), "/out/Top.c");
    EXPECT_EQ(BatchOutputPath("/w/Top.fsm", "/", ".h"), "/Top.h");
    EXPECT_EQ(BatchOutputPath("/w.d/Top", "/out", ".wmf"), "/out/Top.wmf");
}
