#pragma once

#include <cstddef>

// The free list every fixed pool keeps over its array of slots. A slot type
// has an isInUse flag and a link reached through GetNext/SetNext, meaningful
// only while the slot is free. Taking pops the head and gives nullptr when
// every slot is in use; releasing pushes the slot back, so the slot freed last
// is the first taken again. Nothing is allocated.
template <typename Slot>
class FreeList {
public:
    Slot* firstAvailable = nullptr;  // head of the free list; null when the pool is full

protected:
    // Frees every slot at once, linked in index order.
    template <std::size_t N>
    void linkAll(Slot (&slots)[N])
    {
        firstAvailable = &slots[0];
        for (std::size_t i = 0; i < N; i++) {
            slots[i].isInUse = false;
            slots[i].SetNext(i + 1 < N ? &slots[i + 1] : nullptr);
        }
    }

    Slot* takeSlot()
    {
        Slot* slot = firstAvailable;
        if (slot != nullptr)
            firstAvailable = slot->GetNext();
        return slot;
    }

    void release(Slot* slot)
    {
        slot->isInUse = false;
        slot->SetNext(firstAvailable);
        firstAvailable = slot;
    }
};
