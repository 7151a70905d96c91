// Files the loader refuses: each shows its message in the error box, after which the grid is
// empty, the file closed, and the status bar shows what it showed when the load stopped.
// The next load works as usual.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ViewerHarness.h"

namespace {

// Where the load stops: before anything is written (the file cannot be read at all), or
// in the step whose text status field 1 then still shows.
const char* const kBeforeAnyStep = "";
const char* const kReadingFile = "正在读取文件...";
const char* const kReadingData = "正在读取数据...";

struct BadFile {
    const char* name;
    std::function<std::string(const ScratchFolder&)> make;  // returns the path to load
    const char* message;
    const char* stopsIn;
    bool needsAccessChecks = false;
};

void PrintTo(const BadFile& bad, std::ostream* out)
{
    *out << bad.name;
}

std::function<std::string(const ScratchFolder&)> Bytes(const TableBytes& table)
{
    return [table](const ScratchFolder& folder) { return folder.Write("bad.qrb", table.Bytes()); };
}

std::function<std::string(const ScratchFolder&)> RawBytes(std::vector<unsigned char> bytes)
{
    return [bytes](const ScratchFolder& folder) { return folder.Write("bad.qrb", bytes); };
}

const BadFile kBadFiles[] = {
    {"Missing", [](const ScratchFolder& folder) { return folder.Path("missing.qrb"); }, "文件不存在!",
     kBeforeAnyStep},
    {"Directory",
     [](const ScratchFolder& folder) {
         std::filesystem::create_directory(folder.Path("folder.qrb"));
         return folder.Path("folder.qrb");
     },
     "非法文件!", kBeforeAnyStep},
    {"Fifo",
     [](const ScratchFolder& folder) {
         mkfifo(folder.Path("pipe.qrb").c_str(), 0600);
         return folder.Path("pipe.qrb");
     },
     "非法文件!", kBeforeAnyStep},
    {"Unreadable",
     [](const ScratchFolder& folder) {
         const TableBytes table = TableBytes::Compact().Column("A", 2).Row(1).U32(1);
         const std::string path = folder.Write("locked.qrb", table.Bytes());
         chmod(path.c_str(), 0);
         return path;
     },
     "无法读取文件!", kBeforeAnyStep, true},
    {"Empty", RawBytes({}), "非法文件!", kReadingFile},
    {"BadFirstByte", RawBytes({0x52, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "非法文件!", kReadingFile},
    {"FixedTagSecondByte", Bytes(TableBytes::Fixed().Tag(0x00000151)), "非法文件!", kReadingFile},
    {"FixedTagLastByte", Bytes(TableBytes::Fixed().Tag(0x01000051)), "非法文件!", kReadingFile},
    {"CompactTagThirdByte", Bytes(TableBytes::Compact().Tag(0x00010000)), "非法文件!", kReadingFile},
    {"CompactTagLastByte", Bytes(TableBytes::Compact().Tag(0x80000000)), "非法文件!", kReadingFile},
    {"HeaderCutShort", RawBytes({0x51, 0, 0, 0, 1}), "非法文件!", kReadingFile},
    {"DescriptorsCutShort", Bytes(TableBytes::Fixed().ColumnCount(2).Column("A", 2)), "非法文件!", kReadingFile},
    {"CompactNameOver64Bytes", Bytes(TableBytes::Compact().Column(std::string(65, 'n'), 2)), "非法文件!",
     kReadingFile},
    {"TypeCode0", Bytes(TableBytes::Compact().Column("A", 2).Column("Z", 0)), "未知数据类型", kReadingData},
    {"TypeCode7", Bytes(TableBytes::Fixed().Column("S", 7)), "未知数据类型", kReadingData},
    {"NegativeTypeCode", Bytes(TableBytes::Compact().Column("N", -128)), "未知数据类型", kReadingData},
    {"TypeCode6WithARow", Bytes(TableBytes::Compact().Column("A", 2).Column("U", 6).Row(1).U32(5).U32(0)),
     "未知数据类型", kReadingData},
    {"FewerRowsThanCounted", Bytes(TableBytes::Compact().Column("N", 2).RowCount(3).Row(1).U32(1).Row(2).U32(2)),
     "非法文件!", kReadingData},
    {"TextCutShort", Bytes(TableBytes::Compact().Column("T", 1).Row(1).U16(10).Raw("abc")), "非法文件!",
     kReadingData},
    {"NumberCutShort", Bytes(TableBytes::Fixed().Column("N", 2).Row(1).Raw({1, 2})), "非法文件!", kReadingData},
};

// Opens the writing end of a FIFO after a while, so that a load stuck opening or reading it
// comes back (and the test fails) instead of hanging the run.
class FifoWatchdog {
public:
    explicit FifoWatchdog(std::string path) : m_path(std::move(path)), m_thread([this] { Watch(); }) {}
    ~FifoWatchdog()
    {
        m_done = true;
        m_thread.join();
    }
    bool Fired() const { return m_fired; }

private:
    void Watch()
    {
        struct stat status;
        if (stat(m_path.c_str(), &status) != 0 || !S_ISFIFO(status.st_mode))
            return;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() < deadline)
                continue;
            // Succeeds only while somebody has the reading end open.
            const int fd = open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                m_fired = true;
                close(fd);
            }
        }
    }

    std::string m_path;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

class LoadFailure : public ViewerTest, public testing::WithParamInterface<BadFile> {
protected:
    const TableBytes m_good = TableBytes::Compact().Column("ID", 2).Row(1).U32(7);
};

TEST_P(LoadFailure, ErrorBoxThenEmptyGrid)
{
    const BadFile& bad = GetParam();
    if (bad.needsAccessChecks && geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop reading";

    Load(Write("good.qrb", m_good));
    m_status->ClearWrites();
    const std::string path = bad.make(m_folder);
    {
        FifoWatchdog watchdog(path);
        LoadExpectingError(path, bad.message);
        EXPECT_FALSE(watchdog.Fired()) << "the load blocked on the file";
    }

    EXPECT_EQ(Grid().GetNumberRows(), 0);
    EXPECT_EQ(Grid().GetNumberCols(), 0);
    EXPECT_FALSE(Reader().IsFileOpen());
    EXPECT_EQ(OpenDescriptorsOn(path), 0);
    if (*bad.stopsIn == '\0') {
        EXPECT_TRUE(m_status->Writes().empty());
        EXPECT_EQ(Utf8(m_status->Current(0)), "读取文件完成!");
        EXPECT_EQ(Utf8(m_status->Current(1)), "good.qrb");
        EXPECT_EQ(Utf8(m_status->Current(2)), "1 * 1");
    } else {
        EXPECT_EQ(Utf8(m_status->Current(0)), "工作中...");
        EXPECT_EQ(Utf8(m_status->Current(1)), bad.stopsIn);
    }

    Load(m_folder.Path("good.qrb"));
    EXPECT_EQ(ColumnLabels(), (std::vector<std::string>{"_nRow", "ID"}));
    EXPECT_EQ(Cells(), (std::vector<std::vector<std::string>>{{"1", "7"}}));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, LoadFailure, testing::ValuesIn(kBadFiles),
                         [](const testing::TestParamInfo<BadFile>& info) { return info.param.name; });

}  // namespace
