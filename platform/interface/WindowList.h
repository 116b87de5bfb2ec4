// Every window of the program, for the UI thread's turns: before the queued
// messages each window handles its input, after them it brings its native
// window up to date. Also which window is in front.
#pragma once

#include <vector>

class BWindow;

class WindowList {
public:
    static void Add(BWindow* window);
    static void Remove(BWindow* window);
    static bool Contains(const BWindow* window);
    static std::vector<BWindow*> Snapshot();

    // The window the user last activated (or the program last showed).
    static BWindow* Front();
    static void SetFront(BWindow* window);

private:
    static void InstallHooks();
    static bool TakeInput();
    static bool SyncNative();
};
