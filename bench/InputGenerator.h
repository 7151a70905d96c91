// Writes the benchmark's inputs: table files of either layout with a game-like mix of columns,
// and a string catalogue naming most of their rows. The same seed gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CatalogueFile {
    std::string path;
    std::uint64_t bytes = 0;
    std::vector<std::uint32_t> mids;  // ascending, all even
    std::string lastContent;          // the last entry's text, which no other entry has
};

struct TableShape {
    std::string fileName;
    bool fixedLayout = false;
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;  // the table's own columns, _NameID included
};

struct TableFile {
    TableShape shape;
    std::string path;
    std::uint64_t bytes = 0;
    std::uint32_t namedRows = 0;  // rows whose _NameID the catalogue holds
};

CatalogueFile WriteCatalogue(const std::string& folder, std::uint32_t entries, std::uint64_t seed);

// Rows take the catalogue's identifiers in ascending order; about one in ten takes one the
// catalogue lacks. The last row alone takes the last entry, so its name is unique.
TableFile WriteTable(const std::string& folder, const TableShape& shape, const CatalogueFile& catalogue,
                     std::uint64_t seed);
