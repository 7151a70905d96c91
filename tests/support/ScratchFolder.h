// A temporary folder that a GUI test works in: it becomes the current directory (where the
// viewer looks for uistring.xml) and is removed, with everything in it, at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

class ScratchFolder {
public:
    ScratchFolder() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qrb-gui-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
        std::filesystem::current_path(m_path);
    }

    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }

    // Writes (or replaces) a file and returns its full path.
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const
    {
        const std::string path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::string WriteText(const std::string& name, const std::string& text) const
    {
        return Write(name, std::vector<unsigned char>(text.begin(), text.end()));
    }

    // A string catalogue with the given (mid, text) entries, texts written as they are.
    void WriteCatalogue(const std::vector<std::pair<std::string, std::string>>& entries = {{"1", "x"}}) const
    {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<messages>";
        for (const auto& [mid, text] : entries)
            xml += "<message mid=\"" + mid + "\">" + text + "</message>";
        xml += "</messages>\n";
        WriteText("uistring.xml", xml);
    }

    void RemoveCatalogue() const { std::filesystem::remove(Path("uistring.xml")); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
