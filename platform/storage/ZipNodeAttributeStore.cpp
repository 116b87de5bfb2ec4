#include "ZipNodeAttributeStore.h"

#include "NodeAttributes.h"

status_t ZipNodeAttributeStore::ReadAttributes(const char* path, ZipAttributeList& list)
{
    list.clear();
    BNode node(path);
    std::vector<NodeAttribute> attributes;
    status_t status = node.InitCheck();
    if (status == B_OK)
        status = read_node_attributes(node, attributes);
    if (status != B_OK)
        return status;
    for (const NodeAttribute& attribute : attributes) {
        list.push_back(ZipAttribute {attribute.name, attribute.type,
            std::vector<uint8>(attribute.data.begin(), attribute.data.end())});
    }
    return B_OK;
}

status_t ZipNodeAttributeStore::WriteAttributes(const char* path, const ZipAttributeList& list)
{
    BNode node(path);
    status_t status = node.InitCheck();
    if (status != B_OK)
        return status;
    std::vector<NodeAttribute> attributes;
    for (const ZipAttribute& attribute : list) {
        attributes.push_back(NodeAttribute {attribute.name, attribute.type,
            std::string(attribute.data.begin(), attribute.data.end())});
    }
    return write_node_attributes(node, attributes);
}

ZipNodeAttributeStore* ZipNodeAttributeStore::Default()
{
    static ZipNodeAttributeStore store;
    return &store;
}
