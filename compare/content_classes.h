// What the checksum pass found: the records it read to equal bytes share a content
// class, and a pair of records of known classes is settled without opening a file.
// A removal during the search tells the classes of the file that went, and a record
// the pair scan prunes leaves its class before it is freed.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "compare/pair_compare.h"
#include "core/file_list.h"

namespace orvkit {

// Which records the pass read to equal bytes, by content class.
class content_classes {
public:
    // The pair's result from the classes, when both records have one and it settles
    // the pair: equal classes are equal bytes (100 %); other classes differ, which
    // settles the pair when only equal bytes make a twin. False: compare the files.
    bool compare(const file_record& a, const file_record& b, const pair_settings& settings,
                 pair_outcome& result) const;
    // The file of `record` was deleted or moved away: it and every record of its class
    // that named the same file (the same path met twice, a link whose path no longer
    // opens) lose their class, so their pairs open the files and find it gone.
    void forget_file(file_record& record);

    // The record leaves the list: its class no longer names it.
    void drop_record(const file_record& record);

    // A new class of `members`; numbers count up from 1.
    uint32_t add_class(std::span<file_record* const> members);
    void clear();

private:
    // The members of one class, or an empty span for a class of one or none.
    std::span<file_record*> members_of(uint32_t id);

    // The members of every class of two or more, class after class in one array (a
    // member that left its class is null): no class is a heap block of its own.
    std::vector<file_record*> members_;
    std::vector<uint32_t> class_ids_;     // those classes' numbers, ascending
    std::vector<uint32_t> class_starts_;  // where each one's members begin in members_
    uint32_t next_ = 1;
};

// Whether `member`, another record of a removed file's group, named that file: the
// same path, or the same index while its own path no longer opens (a hard link keeps
// the bytes and still opens).
bool names_removed_file(const file_record& member, const file_record& removed);

}  // namespace orvkit
