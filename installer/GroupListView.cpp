#include "GroupListView.h"

#include "InterfaceDefs.h"

GroupListView::GroupListView(BRect frame, const char* name)
    : LibListView(frame, name)
{ }

void GroupListView::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && bytes[0] == B_ESCAPE)
        return;
    LibListView::KeyDown(bytes, numBytes);
}
