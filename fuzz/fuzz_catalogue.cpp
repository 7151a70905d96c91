// libFuzzer target for the string catalogue reader: any bytes as uistring.xml are either
// refused with its message or read, and then every look-up stays inside the catalogue.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "Catalogue.h"
#include "TableError.h"

namespace {

volatile unsigned g_checksum;  // keeps the reads of found texts from being optimised away

// The reader takes a path: each input is written to the same file of a folder of our own.
const std::string& CataloguePath()
{
    static const std::string path = [] {
        char folder[] = "/tmp/fuzz-catalogue-XXXXXX";
        if (!mkdtemp(folder))
            std::abort();
        return std::string(folder) + "/uistring.xml";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(CataloguePath().c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    try {
        const Catalogue catalogue = Catalogue::Load(CataloguePath());
        unsigned checksum = 0;
        for (const char* mid : {"", "1", "2", "42", "0042", "message"}) {
            if (const auto text = catalogue.Find(mid)) {
                for (const char c : *text)  // every byte of a found text is read under the sanitizers
                    checksum += static_cast<unsigned char>(c);
            }
        }
        g_checksum = checksum;
    } catch (const TableError& error) {
        const std::wstring message = error.Message();
        if (message != messages::kCannotReadCatalogue && message != messages::kCannotParseCatalogue)
            std::abort();
    }
    return 0;
}
