// A trial root for the deinstaller's tests: STOW_ROOT and the home folder lie
// in a fresh temporary folder, so the boot volume's root, its Trash, the
// shell scripts and the attribute store are all inside it.
#pragma once

#include "BLooper.h"
#include "BMessage.h"
#include "BNode.h"
#include "DeinstallSearch.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace stowtest {

inline const std::string kKey = "Demo;1.0;2024-01-01;Tarnwick;help@example.com;";

struct DeinstallSandbox {
    TempDir temp;
    ScopedEnv root {"STOW_ROOT", temp.Str()};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    ScopedEnv config {"XDG_CONFIG_HOME", ""};

    std::filesystem::path Home() const { return temp / "home/tester"; }
    std::filesystem::path Trash() const { return Home() / ".local/share/Trash"; }
    std::filesystem::path Make(const std::string& relative, const std::string& contents = "x")
    {
        std::filesystem::path path = temp / relative;
        std::filesystem::create_directories(path.parent_path());
        WriteFile(path, contents);
        return path;
    }
    std::filesystem::path Folder(const std::string& relative)
    {
        std::filesystem::create_directories(temp / relative);
        return temp / relative;
    }
};

// Writes the InstallBy tag on the node itself (a link keeps it in the store).
inline void Tag(const std::filesystem::path& path, const std::string& value = kKey)
{
    BNode node(path.c_str());
    ASSERT_EQ(node.InitCheck(), B_OK) << path;
    ASSERT_EQ(node.WriteAttr(kInstallByAttr, B_STRING_TYPE, 0, value.data(), value.size()),
        ssize_t(value.size()))
        << path;
}

inline std::vector<std::string> Paths(LibStringList& list)
{
    std::vector<std::string> result;
    for (LibString* item = list.First(); item != nullptr; item = list.Next())
        result.push_back(static_cast<const char*>(*item));
    return result;
}

// A looper whose messages the test thread dispatches itself.
class Inbox : public BLooper {
public:
    explicit Inbox(int32 capacity = 200)
        : BLooper("inbox", B_NORMAL_PRIORITY, capacity)
    {
        SetDispatchThread(find_thread(nullptr), [] {});
        Run();
    }
    void MessageReceived(BMessage* message) override { received.push_back(*message); }
    size_t Drain()
    {
        DispatchMessages();
        return received.size();
    }

    std::vector<BMessage> received;
};

struct InboxCloser {
    void operator()(Inbox* inbox) const
    {
        inbox->Lock();
        inbox->Quit();
    }
};
using InboxPtr = std::unique_ptr<Inbox, InboxCloser>;

inline InboxPtr MakeInbox(int32 capacity = 200)
{
    return InboxPtr(new Inbox(capacity));
}

} // namespace stowtest
