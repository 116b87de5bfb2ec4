// Every attribute of a node at once: for archives that carry attributes and
// for copies and moves across volumes.
#pragma once

#include "BNode.h"

#include <string>
#include <vector>

struct NodeAttribute {
    std::string name;
    type_code type = 0;
    std::string data;
};

// Reads every attribute of `node`, in the order the node lists them.
status_t read_node_attributes(const BNode& node, std::vector<NodeAttribute>& attributes);

// Writes each attribute onto `node`, replacing any of the same name.
status_t write_node_attributes(BNode& node, const std::vector<NodeAttribute>& attributes);

// Copies every attribute of `from` onto `to`; attributes `to` already has
// under other names stay.
status_t copy_node_attributes(const BNode& from, BNode& to);
