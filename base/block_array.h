// An array that grows in blocks of fixed size and never moves what it holds: a
// million items grow without copying themselves or reserving room for twice as
// many, and a reference to an item stays good until it is dropped.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace orvkit {

template <typename T, std::size_t block>
class block_array {
public:
    T& operator[](std::size_t index) const { return blocks_[index / block][index % block]; }
    std::size_t size() const { return size_; }

    T& push_back(const T& item) {
        if (size_ == blocks_.size() * block) blocks_.push_back(std::make_unique<T[]>(block));
        T& added = (*this)[size_++];
        added = item;
        return added;
    }
    // Drops the items from `count` on, and the blocks no item uses.
    void shrink_to(std::size_t count) {
        if (count >= size_) return;
        size_ = count;
        blocks_.resize((count + block - 1) / block);
    }
    // Gives every block back.
    void clear() {
        std::vector<std::unique_ptr<T[]>>().swap(blocks_);
        size_ = 0;
    }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace orvkit
