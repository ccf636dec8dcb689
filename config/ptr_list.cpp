#include "config/ptr_list.h"

#include "config/strings.h"
#include "services/services.h"

namespace kv {

namespace {

bool hasName(const PtrListNode* node, const char* name) {
    if (!node->data) return false;
    return strEqual(*static_cast<const char* const*>(node->data), name, 0);
}

}  // namespace

PtrListNode* PtrList::newNode(void* data) {
    auto* node = static_cast<PtrListNode*>(ModuleAlloc(sizeof(PtrListNode)));
    if (!node) return nullptr;
    node->next = nullptr;
    node->previous = nullptr;
    node->data = data;
    ++count;
    return node;
}

int32_t PtrList::append(void* data) {
    PtrListNode* node = newNode(data);
    if (!node) return 0;
    node->previous = tail;
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
    current = node;
    index = count - 1;
    return 1;
}

void PtrList::first() {
    current = head;
    index = head ? 0 : -1;
}

void PtrList::next() {
    if (!current) return;
    current = current->next;
    ++index;
}

void PtrList::removeCurrent() {
    PtrListNode* node = current;
    if (!node) return;
    if (node->previous)
        node->previous->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        tail = node->previous;

    if (node->next) {
        current = node->next;
    } else {
        current = node->previous;
        --index;
    }
    --count;
    MemFree(node);
}

void PtrList::clear() { freeNodes(false); }

void PtrList::clearAndFreeData() { freeNodes(true); }

void PtrList::freeEveryData() {
    for (PtrListNode* node = head; node; node = node->next) {
        MemFree(node->data);
        node->data = nullptr;
    }
}

void PtrList::freeNodes(bool withData) {
    for (PtrListNode* node = head; node;) {
        PtrListNode* following = node->next;
        if (withData) MemFree(node->data);
        MemFree(node);
        node = following;
    }
    current = head = tail = nullptr;
    count = 0;
    index = -1;
}

bool PtrList::findByName(const char* name) {
    // A search for no name fails like any other miss: no current node.
    if (!head || strIsEmpty(name)) {
        current = nullptr;
        index = -1;
        return false;
    }
    if (!current) {
        current = head;
        index = 0;
    }
    const int32_t start = index;
    for (; current; current = current->next, ++index) {
        if (hasName(current, name)) return true;
    }
    current = head;
    for (index = 0; current && index < start; current = current->next, ++index) {
        if (hasName(current, name)) return true;
    }
    current = nullptr;
    index = -1;
    return false;
}

}  // namespace kv
