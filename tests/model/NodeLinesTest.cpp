// Node lines: the line on which each node of a file starts, info nodes left out.
#include "NodeLines.h"

#include "Diagram.h"
#include "Records.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orvane;

TEST(NodeLines, EachNodeOfTheWrittenFileIsFoundOnItsLine)
{
    QTemporaryDir dir;
    Diagram d;
    d.addNode(0, 0, 100, 100)->setText(QStringLiteral("a \"quoted\" [text] {with} braces\r\nx"));
    Node* info = d.addNode(0, 0, 100, 100);
    info->setUserData(NodeInfo);
    d.addNode(0, 0, 100, 100);
    const QString path = dir.filePath("d.fsm");
    ASSERT_TRUE(d.saveFile(path, nullptr));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QList<QByteArray> lines = bytes.split('\n');

    const std::vector<int> found = NodeLines::documentNodeLines(bytes);
    ASSERT_EQ(found.size(), 2u);  // the info node is left out
    // The writer puts a node on one line; the info node (id 2) is skipped.
    EXPECT_TRUE(lines.at(found[0] - 1).trimmed().startsWith("{\"id\": 1,"));
    EXPECT_TRUE(lines.at(found[1] - 1).trimmed().startsWith("{\"id\": 3,"));
}

TEST(NodeLines, HandWrittenLayoutAndBadInput)
{
    EXPECT_EQ(NodeLines::documentNodeLines(
                  "{\"format\":\"fsm-diagram\",\"version\":1,\"diagram\":{\"a\":[1,{}]},\n"
                  "\"nodes\":[{\"id\":1},\n\n  {\"id\":2,\"tag\":\"}]\"}],\"links\":[]}"),
              (std::vector<int>{2, 4}));
    EXPECT_TRUE(NodeLines::documentNodeLines("").empty());
    EXPECT_TRUE(NodeLines::documentNodeLines("[1, 2]").empty());
    EXPECT_TRUE(NodeLines::documentNodeLines("{\"nodes\": [{\"id\": 1").empty());
    EXPECT_TRUE(NodeLines::documentNodeLines("{\"links\": [], \"nodes\": 5}").empty());
}
