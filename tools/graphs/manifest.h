#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The manifest of a generated tree: one line per file, "path size checksum", sorted by
// path; the path is relative to the folder holding the tree (graphs/...), the checksum is
// the 64-bit FNV-1a of the file's bytes in hexadecimal.

struct ManifestEntry {
    std::string path;
    uint64_t size = 0;
    std::string checksum;
};

std::string fileChecksum(const std::filesystem::path& file, uint64_t& size, bool& ok);
// Lists every regular file under base/tree, sorted.
std::vector<ManifestEntry> scanTree(const std::filesystem::path& base, const std::string& tree);
bool writeManifest(const std::filesystem::path& base, const std::string& tree,
                   const std::filesystem::path& manifest);
bool readManifest(const std::filesystem::path& manifest, std::vector<ManifestEntry>& entries);
