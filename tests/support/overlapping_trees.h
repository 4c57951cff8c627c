// Trees in which one file stands in the index under two records: one folder searched twice, one tree
// inside the other, hard links.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/search_modes.h"
#include "support/temp_folder.h"

namespace test_support {

struct tree_shape {
    const char* name;
    uint32_t mode;
    const wchar_t* search_this;  // under the tree's folder
    const wchar_t* plus_this;
};

inline const tree_shape overlapping_shapes[] = {
    {"one folder twice", orvkit::mode_qdir_plus, L"top", L"top"},
    {"plus this inside search this", orvkit::mode_qdir_plus, L"top", L"top\\sub"},
    {"search this inside plus this", orvkit::mode_qdir_plus, L"top\\sub", L"top"},
    {"hard links", orvkit::mode_directory, L"top", L""},
};

// Groups of identical files over top\ and top\sub\, lone files of a group's size, hard links.
struct overlapping_tree {
    explicit overlapping_tree(const tree_shape& shape) : shape(shape) {
        auto copies = [&](const std::string& content, std::vector<std::wstring> names) {
            for (auto& name : names) name = folder.make_file(name, content);
            groups.push_back(names);
        };
        const std::string one(300, '1'), two(700, '2'), three(50, '3');
        copies(one, {L"top\\g1a.bin", L"top\\sub\\g1b.bin"});
        copies(two, {L"top\\g2a.bin", L"top\\sub\\g2b.bin", L"top\\sub\\g2c.bin"});
        copies(three, {L"top\\sub\\g3a.bin", L"top\\sub\\deep\\g3b.bin"});
        groups[1].push_back(folder / L"top\\sub\\g2link.bin");
        CreateHardLinkW(groups[1].back().c_str(), groups[1][1].c_str(), nullptr);
        lone = {folder.make_file(L"top\\lone1.bin", std::string(299, '1') + "x"),
                folder.make_file(L"top\\sub\\lone2.bin", std::string(699, '2') + "y"),
                folder / L"top\\sub\\lone2link.bin"};
        CreateHardLinkW(lone.back().c_str(), lone[1].c_str(), nullptr);
    }

    std::wstring search_this() const { return folder / shape.search_this; }
    std::wstring plus_this() const { return *shape.plus_this ? folder / shape.plus_this : std::wstring(); }

    // Every group keeps a copy in the tree, and every lone file is where it was.
    void expect_a_copy_of_everything_stays(const std::string& run) const {
        for (const auto& group : groups)
            EXPECT_TRUE(std::any_of(group.begin(), group.end(), [](const std::wstring& p) { return exists(p); }))
                << run << ": every copy of " << to_unix_path(group[0]) << " left the tree";
        for (const auto& file : lone) EXPECT_TRUE(exists(file)) << run << ": " << to_unix_path(file) << " has no twin";
    }

    tree_shape shape;
    temp_folder folder;
    std::vector<std::vector<std::wstring>> groups;
    std::vector<std::wstring> lone;
};

}  // namespace test_support
