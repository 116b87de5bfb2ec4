#include "ZipNodeAttributeStore.h"

#include "NodeAttributeIO.h"
#include "NodeAttributes.h"

#include <algorithm>

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

status_t ZipNodeAttributeStore::WriteAttributes(
    int fd, const char* path, const ZipAttributeList& list)
{
    NodeAttributeIO::Target target;
    target.path = path;
    target.fd = fd;
    std::vector<std::string> written;
    for (const ZipAttribute& attribute : list) {
        std::string name = NodeAttributeIO::CanonicalName(attribute.name.c_str());
        // Only a name met before may have something to replace.
        target.fresh = std::find(written.begin(), written.end(), name) == written.end();
        written.push_back(name);
        status_t status = NodeAttributeIO::Write(target, name, attribute.type,
            std::string(attribute.data.begin(), attribute.data.end()));
        if (status != B_OK)
            return status;
    }
    return B_OK;
}

ZipNodeAttributeStore* ZipNodeAttributeStore::Default()
{
    static ZipNodeAttributeStore store;
    return &store;
}
