// A doubly linked list of untyped pointers that remembers a current node,
// so callers walk it, or search it from the last hit, without restarting at
// the head. The list never owns what its nodes point to.
#pragma once

#include <cstdint>

#include <korvane/config_layout.h>  // PtrListNode, and the layout this list keeps

namespace kv {

class PtrList {
public:
    PtrList() = default;
    ~PtrList() { clear(); }
    PtrList(const PtrList&) = delete;
    PtrList& operator=(const PtrList&) = delete;

    // An unlinked node holding data, counted at once: the caller links it
    // straight away. Null when no memory is left.
    PtrListNode* newNode(void* data);
    // Adds data after the tail and makes it current; 0 when no memory is left.
    int32_t append(void* data);
    // Current becomes the head (index 0, or -1 when empty).
    void first();
    // Current moves one node on; past the tail it is null with index == count.
    void next();
    // Unlinks and frees the current node (not its data). The next node
    // becomes current, or the previous one when the tail was removed.
    void removeCurrent();
    // Frees every node (not their data).
    void clear();
    // Frees every node and the block its data points to, for lists that
    // own their records (from the module allocator).
    void clearAndFreeData();
    // Frees the block each node's data points to (module allocator) and
    // leaves the nodes in place, holding null.
    void freeEveryData();
    // For records that begin with a pointer to their name: searches from the
    // current node to the tail, then from the head up to where it started,
    // ignoring case. The hit becomes current; a miss, also for a null or
    // empty name or an empty list, leaves no current node and index -1.
    bool findByName(const char* name);

    // The current node's data, or null.
    void* currentData() const { return current ? current->data : nullptr; }

    PtrListNode* current = nullptr;
    PtrListNode* head = nullptr;
    PtrListNode* tail = nullptr;
    int32_t count = 0;
    int32_t index = -1;

private:
    void freeNodes(bool withData);
};

}  // namespace kv
