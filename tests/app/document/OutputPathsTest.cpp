#include "OutputPaths.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(OutputPaths, ExtensionIsReplacedInTheFileNameOnly)
{
    EXPECT_EQ(replaceExtension("/w/Top.fsm", ".htm"), "/w/Top.htm");
    EXPECT_EQ(replaceExtension("/w/Top.v2.fsm", ".wmf"), "/w/Top.v2.wmf");
    EXPECT_EQ(replaceExtension("/w.d/Top", ".htm"), "/w.d/Top.htm");
    EXPECT_EQ(replaceExtension("Top", ".lst"), "Top.lst");
}

TEST(OutputPaths, BatchOutputGoesBesideTheDiagramOrIntoTheOutputFolder)
{
    EXPECT_EQ(batchOutputPath("/w/Top.fsm", "", ".htm"), "/w/Top.htm");
    EXPECT_EQ(batchOutputPath("/w/Top.fsm", "/out", ".c"), "/out/Top.c");
    EXPECT_EQ(batchOutputPath("/w/Top.fsm", "/", ".h"), "/Top.h");
    EXPECT_EQ(batchOutputPath("/w.d/Top", "/out", ".wmf"), "/out/Top.wmf");
}
