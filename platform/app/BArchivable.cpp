#include "BArchivable.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

BArchivable::BArchivable(BMessage*) { }

BArchivable::~BArchivable() = default;

status_t BArchivable::Archive(BMessage* into, bool) const
{
    if (into == nullptr)
        return B_BAD_VALUE;
    int status = 0;
    std::unique_ptr<char, decltype(&free)> name(
        abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status), &free);
    return into->AddString("class", status == 0 && name ? name.get() : "BArchivable");
}
