#pragma once
// Where each node of a diagram file starts: the line (from 1) of the node's
// opening brace, so that a message about a state or transition can point
// into the file.

#include <QByteArray>

#include <vector>

namespace orvane::NodeLines {

// The line of every node of the top-level "nodes" array, in file order,
// leaving out the info nodes (which opening a document removes): position
// i is the line of node i of the open document. Empty when the bytes are
// not a readable diagram.
std::vector<int> documentNodeLines(const QByteArray& fileBytes);

}  // namespace orvane::NodeLines
