#include "manifest.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string fileChecksum(const fs::path& file, uint64_t& size, bool& ok) {
    std::ifstream in(file, std::ios::binary);
    uint64_t hash = 0xcbf29ce484222325ull;
    size = 0;
    char buf[65536];
    while (in) {
        in.read(buf, sizeof buf);
        std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i) {
            hash ^= static_cast<unsigned char>(buf[i]);
            hash *= 0x100000001b3ull;
        }
        size += uint64_t(n);
    }
    ok = in.eof();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

std::vector<ManifestEntry> scanTree(const fs::path& base, const std::string& tree) {
    std::vector<ManifestEntry> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(base / tree, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_regular_file()) continue;
        ManifestEntry e;
        e.path = fs::relative(it->path(), base).generic_string();
        bool ok = false;
        e.checksum = fileChecksum(it->path(), e.size, ok);
        if (!ok) e.checksum = "unreadable";
        entries.push_back(e);
    }
    std::sort(entries.begin(), entries.end(),
              [](const ManifestEntry& a, const ManifestEntry& b) { return a.path < b.path; });
    return entries;
}

bool writeManifest(const fs::path& base, const std::string& tree, const fs::path& manifest) {
    std::vector<ManifestEntry> entries = scanTree(base, tree);
    std::ofstream out(manifest, std::ios::binary);
    for (const ManifestEntry& e : entries)
        out << e.path << " " << e.size << " " << e.checksum << "\n";
    out.close();
    return bool(out) && !entries.empty();
}

bool readManifest(const fs::path& manifest, std::vector<ManifestEntry>& entries) {
    std::ifstream in(manifest, std::ios::binary);
    if (!in) return false;
    std::string line;
    entries.clear();
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        ManifestEntry e;
        if (!(fields >> e.path >> e.size >> e.checksum)) return false;
        entries.push_back(e);
    }
    return true;
}
