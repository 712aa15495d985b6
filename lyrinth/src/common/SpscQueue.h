// A fixed-size lock-free queue between exactly one producer thread and one consumer thread: how
// commands travel from the caller's thread to the audio thread and retired objects travel back.
// push() and pop() never allocate, lock or wait, so either side may be the audio thread.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <type_traits>

namespace lyrinth {

template <typename T, std::size_t Capacity> class SpscQueue {
    static_assert(std::has_single_bit(Capacity), "capacity must be a power of two");
    static_assert(std::is_trivially_copyable_v<T>, "items are copied by value across threads");

public:
    // Producer's thread. False when the queue is full; the item is then not queued.
    bool push(const T& item) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) {
            return false;
        }
        slots_[tail & (Capacity - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer's thread. False when the queue is empty.
    bool pop(T& item) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return false;
        }
        item = slots_[head & (Capacity - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    static constexpr std::size_t capacity() noexcept { return Capacity; }

private:
    std::array<T, Capacity> slots_{};
    // Apart, so that the two threads do not fight over one cache line.
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

} // namespace lyrinth
