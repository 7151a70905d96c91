// Loading again and again, good files and bad ones, leaves the process's memory where the
// first loads put it: each load releases what the one before held.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "ViewerHarness.h"

namespace {

// AddressSanitizer keeps freed memory in quarantine, so resident memory grows by design.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryIsKept = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kFreedMemoryIsKept = true;
#else
constexpr bool kFreedMemoryIsKept = false;
#endif
#else
constexpr bool kFreedMemoryIsKept = false;
#endif

constexpr std::uint32_t kGoodRows = 2000;

// About 100 KB: a load that kept the bytes of each file would grow by megabytes.
TableBytes GoodTable()
{
    TableBytes table = TableBytes::Compact().Column("Name", 1).Column("Count", 2).Column("Rate", 4).Column("Note", 1);
    for (std::uint32_t row = 0; row < kGoodRows; ++row)
        table.Row(row).Text("name " + std::to_string(row)).U32(row * 7).Real(row / 3.0f)
            .Text(std::string(row % 60, 'n'));
    return table;
}

// No status recorder here: its log would grow with every load.
class RepeatedLoads : public testing::Test {
protected:
    RepeatedLoads()
    {
        ViewerWasUsed() = true;
        m_folder.WriteCatalogue();
    }
    ScratchFolder m_folder;
};

TEST_F(RepeatedLoads, ThreeHundredLoadsDoNotGrowMemory)
{
    const std::string good = m_folder.Write("good.qrb", GoodTable().Bytes());
    const std::string badType =
        m_folder.Write("type.qrb", TableBytes::Compact().Column("A", 2).Column("U", 6).Row(1).U32(1).U32(2).Bytes());
    const std::string shortRows = m_folder.Write("short.qrb", GoodTable().RowCount(2 * kGoodRows).Bytes());
    const auto load = [](const std::string& path) {
        const wxString fullPath = wxString::FromUTF8(path);
        Reader().Open(fullPath, wxFileName(fullPath).GetFullName());
    };

    long afterFirst = 0;
    for (int i = 0; i < 300; ++i) {
        if (i % 2 == 0) {
            load(good);
            ASSERT_EQ(Grid().GetNumberRows(), static_cast<int>(kGoodRows));
        } else if (i % 4 == 1) {
            wxTEST_DIALOG(load(badType), ExpectErrorBox("未知数据类型"));
        } else {
            wxTEST_DIALOG(load(shortRows), ExpectErrorBox("非法文件!"));
        }
        if (i + 1 == 20)
            afterFirst = ResidentKiB();
    }
    const long afterAll = ResidentKiB();

    std::cout << "resident memory after 20 loads: " << afterFirst << " KiB, after 300: " << afterAll << " KiB\n";
    RecordProperty("rss_after_20_kib", static_cast<int>(afterFirst));
    RecordProperty("rss_after_300_kib", static_cast<int>(afterAll));
    if (kFreedMemoryIsKept)
        GTEST_SKIP() << "built with AddressSanitizer, whose quarantine keeps freed memory resident";
    EXPECT_LT(afterAll - afterFirst, 4 * 1024) << "KiB of growth over 280 loads";
}

}  // namespace
