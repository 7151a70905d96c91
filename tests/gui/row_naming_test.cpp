// Row names from uistring.xml: which rows get which catalogue text, how a missing or
// malformed catalogue is reported, and what the naming step writes on the status bar.
#include <string>
#include <vector>

#include "ViewerHarness.h"

namespace {

using Labels = std::vector<std::string>;

ExpectMessageBox ExpectWarningBox(const std::string& message)
{
    return ExpectMessageBox("警告", wxOK | wxICON_EXCLAMATION, message);
}

// A table whose _NameID column (integer) holds `ids`, with a text column after it.
TableBytes IdTable(const std::vector<std::uint32_t>& ids)
{
    TableBytes table = TableBytes::Compact();
    table.Column("_NameID", ColumnTypeNumber).Column("Note", ColumnTypeText);
    std::uint32_t rowId = 1;
    for (const std::uint32_t id : ids)
        table.Row(rowId++).U32(id).Text("n");
    return table;
}

std::string Catalogue(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<messages>" + entries + "</messages>\n";
}

class RowNaming : public ViewerTest {};

TEST_F(RowNaming, RowsGetTheTextOfTheirIdentifier)
{
    const std::string m10 = "<message mid=\"10\">ten</message>";
    const std::string m20 = "<message mid=\"20\">二十</message>";
    const std::string m30 = "<message mid=\"30\">thirty</message>";
    struct Case {
        const char* what;
        std::string catalogue;
        std::vector<std::uint32_t> ids;
        Labels labels;
    } const cases[] = {
        {"ascending, all present", Catalogue(m10 + m20 + m30), {10, 20, 30}, {"ten", "二十", "thirty"}},
        {"unsorted catalogue", Catalogue(m30 + m10 + m20), {10, 20, 30}, {"ten", "二十", "thirty"}},
        {"rows out of order", Catalogue(m10 + m20 + m30), {30, 10, 20, 10}, {"thirty", "ten", "二十", "ten"}},
        {"same identifier twice", Catalogue(m10 + m20), {20, 20}, {"二十", "二十"}},
        {"identifier 0 below every mid", Catalogue(m10 + m20), {0, 10}, {"1", "ten"}},
        {"larger than every mid, then named rows", Catalogue(m10 + m20), {99, 10, 20}, {"1", "ten", "二十"}},
        {"absent identifiers keep their numbers", Catalogue(m10 + m30), {10, 15, 30, 31}, {"ten", "2", "thirty", "4"}},
        {"empty content", Catalogue("<message mid=\"7\"></message>" + m10), {7, 10}, {"", "ten"}},
        {"leading zeros are another text", Catalogue("<message mid=\"0042\">padded</message>"), {42}, {"1"}},
        {"first of duplicate mids wins", Catalogue("<message mid=\"5\">first</message><message mid=\"5\">second</message>"),
         {5}, {"first"}},
        {"blank lines and indentation", "<messages>\n\n    <message mid=\"10\">ten</message>\n\n    " + m20 + "\n</messages>",
         {20, 10}, {"二十", "ten"}},
        {"entities decoded", Catalogue("<message mid=\"1\">a &amp; b &lt;c&gt;</message>"), {1}, {"a & b <c>"}},
        {"multi-line name", Catalogue("<message mid=\"1\">two\nlines</message>"), {1}, {"two\nlines"}},
    };
    for (const Case& c : cases) {
        m_folder.WriteText("uistring.xml", c.catalogue);
        Load(Write("named.ext", IdTable(c.ids)));
        EXPECT_EQ(RowLabels(), c.labels) << c.what;
        EXPECT_EQ(Utf8(m_status->Current(0)), "读取文件完成!") << c.what;
    }
}

TEST_F(RowNaming, OnlyTheFirstColumnLabelledExactlyNameIdIsUsed)
{
    m_folder.WriteText("uistring.xml", Catalogue("<message mid=\"1\">one</message><message mid=\"2\">two</message>"));
    TableBytes twoColumns = TableBytes::Fixed();
    twoColumns.Column("_nameid", ColumnTypeNumber).Column("_NameID", ColumnTypeNumber).Column("_NameID", ColumnTypeNumber);
    twoColumns.Row(1).U32(2).U32(1).U32(2);
    Load(Write("two.ext", twoColumns));
    EXPECT_EQ(RowLabels(), Labels{"one"});

    // A text column holds identifiers as text: the match is on that text.
    TableBytes textIds = TableBytes::Compact();
    textIds.Column("_NameID", ColumnTypeText);
    textIds.Row(1).Text("2").Row(2).Text("02").Row(3).Text("");
    Load(Write("text.ext", textIds));
    EXPECT_EQ(RowLabels(), (Labels{"two", "2", "3"}));
}

TEST_F(RowNaming, ATableWithoutNameIdKeepsNumbersAndWritesNoProgress)
{
    m_folder.WriteText("uistring.xml", Catalogue("<message mid=\"1\">one</message>"));
    TableBytes table = TableBytes::Compact();
    table.Column("ID", ColumnTypeNumber).Row(1).U32(1).Row(2).U32(1);
    Load(Write("plain.ext", table));
    EXPECT_EQ(RowLabels(), (Labels{"1", "2"}));
    EXPECT_EQ(m_status->WritesTo(2), (std::vector<std::string>{"0%", "50%", "0%", "50%", "2 * 1"}));
}

TEST_F(RowNaming, ProgressOfTwoHundredRowsRunsFromZeroToNinetyNine)
{
    m_folder.WriteCatalogue({{"1", "one"}});
    Load(Write("many.ext", IdTable(std::vector<std::uint32_t>(200, 1))));
    // Field 2 during decoding, then during naming: 0%..99% each, once each.
    std::vector<std::string> percents;
    for (int p = 0; p < 100; ++p)
        percents.push_back(std::to_string(p) + "%");
    std::vector<std::string> expected = percents;
    expected.insert(expected.end(), percents.begin(), percents.end());
    expected.insert(expected.end(), {"0%", "50%", "200 * 2"});
    EXPECT_EQ(m_status->WritesTo(2), expected);
}

TEST_F(RowNaming, AMissingOrMalformedCatalogueIsAWarningAndTheTableStillLoads)
{
    struct Case {
        const char* what;
        const char* catalogue;  // nullptr: no file at all
        const char* message;
    } const cases[] = {
        {"no catalogue", nullptr, "无法读取uistring.xml!"},
        {"not well-formed", "<messages><message mid=\"1\">x</messages>", "无法解析uistring.xm!"},
        {"empty file", "", "无法解析uistring.xm!"},
        {"root with another name", "<strings><message mid=\"1\">x</message></strings>", "无法解析uistring.xm!"},
        {"empty root", "<messages>\n  \n</messages>", "无法解析uistring.xm!"},
        {"first child another element", "<messages><msg mid=\"1\">x</msg><message mid=\"1\">x</message></messages>",
         "无法解析uistring.xm!"},
        {"first child a comment", "<messages><!-- c --><message mid=\"1\">x</message></messages>",
         "无法解析uistring.xm!"},
    };
    for (const bool withNameId : {true, false}) {
        for (const Case& c : cases) {
            if (c.catalogue)
                m_folder.WriteText("uistring.xml", c.catalogue);
            else
                m_folder.RemoveCatalogue();
            TableBytes table = TableBytes::Compact();
            table.Column(withNameId ? "_NameID" : "ID", ColumnTypeNumber).Row(1).U32(1).Row(2).U32(2);
            m_status->ClearWrites();
            wxTEST_DIALOG(Load(Write("t.ext", table)), ExpectWarningBox(c.message));
            EXPECT_EQ(RowLabels(), (Labels{"1", "2"})) << c.what;
            EXPECT_EQ(Grid().GetRowLabelSize(), 150) << c.what;
            // Nothing of the failed step shows: field 2 goes from decoding straight to sizing.
            EXPECT_EQ(m_status->WritesTo(2), (std::vector<std::string>{"0%", "50%", "0%", "50%", "2 * 1"}))
                << c.what;
            EXPECT_EQ(m_status->WritesTo(0), (std::vector<std::string>{"工作中...", "读取文件完成!"})) << c.what;
            EXPECT_EQ(Utf8(m_status->Current(1)), "t.ext") << c.what;
        }
    }
}

}  // namespace
