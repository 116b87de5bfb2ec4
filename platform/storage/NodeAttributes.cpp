#include "NodeAttributes.h"

status_t read_node_attributes(const BNode& node, std::vector<NodeAttribute>& attributes)
{
    attributes.clear();
    // A copy of the node has its own listing cursor.
    BNode lister(node);
    status_t status = lister.InitCheck();
    if (status != B_OK)
        return status;
    char name[B_ATTR_NAME_LENGTH];
    while (lister.GetNextAttrName(name) == B_OK) {
        attr_info info;
        status = node.GetAttrInfo(name, &info);
        if (status != B_OK)
            return status;
        NodeAttribute attribute {name, info.type, std::string(size_t(info.size), '\0')};
        ssize_t read
            = node.ReadAttr(name, info.type, 0, attribute.data.data(), attribute.data.size());
        if (read < 0)
            return status_t(read);
        attribute.data.resize(size_t(read));
        attributes.push_back(std::move(attribute));
    }
    return B_OK;
}

status_t write_node_attributes(BNode& node, const std::vector<NodeAttribute>& attributes)
{
    for (const NodeAttribute& attribute : attributes) {
        ssize_t wrote = node.WriteAttr(attribute.name.c_str(), attribute.type, 0,
            attribute.data.data(), attribute.data.size());
        if (wrote < 0)
            return status_t(wrote);
    }
    return B_OK;
}

status_t copy_node_attributes(const BNode& from, BNode& to)
{
    std::vector<NodeAttribute> attributes;
    status_t status = read_node_attributes(from, attributes);
    if (status != B_OK)
        return status;
    return write_node_attributes(to, attributes);
}
