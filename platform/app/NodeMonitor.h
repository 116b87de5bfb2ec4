// Node monitoring, as far as the programs use it: mount and unmount notices.
// watch_node() with a null node and B_WATCH_MOUNT makes the target receive
// B_NODE_MONITOR messages whose int32 "opcode" is B_DEVICE_MOUNTED (with the
// int32 "new device") or B_DEVICE_UNMOUNTED (with the int32 "device"). One
// mount watcher (platform/storage) serves every target.
#pragma once

#include "BMessenger.h"
#include "MountWatcher.h"

#include <sys/types.h>

struct node_ref {
    dev_t device = 0;
    ino_t node = 0;
};

constexpr uint32 B_STOP_WATCHING = 0x0000;

// Only a null node with B_WATCH_MOUNT is supported (B_UNSUPPORTED for
// watching nodes). B_STOP_WATCHING ends the target's notices.
status_t watch_node(const node_ref* node, uint32 flags, BMessenger target);
status_t watch_node(
    const node_ref* node, uint32 flags, const BHandler* handler, const BLooper* looper = nullptr);
status_t stop_watching(BMessenger target);
status_t stop_watching(const BHandler* handler, const BLooper* looper = nullptr);
