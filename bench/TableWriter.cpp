// The generated table files: a _NameID column first, then integers, reals and texts
// interleaved in the proportions of the game's wide or narrow tables, streamed to disk.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "InputGenerator.h"
#include "SampleText.h"

namespace {

enum class Kind { NameId, Count, RefId, Flag, Mask, Rate, Amount, Code, Title, Desc };

struct KindInfo {
    Kind kind;
    const char* name;
    int wideWeight;    // columns of this kind per 79 in an 80-column table
    int narrowWeight;  // per 19 in a 20-column table
};

const std::array<KindInfo, 9> kKinds = {{
    {Kind::Count, "Count", 15, 4},
    {Kind::RefId, "RefId", 10, 3},
    {Kind::Flag, "IsFlag", 8, 2},
    {Kind::Mask, "Mask", 8, 2},
    {Kind::Rate, "Rate", 7, 2},
    {Kind::Amount, "Amount", 7, 2},
    {Kind::Code, "IconCode", 15, 2},
    {Kind::Title, "Title", 7, 1},
    {Kind::Desc, "Desc", 2, 1},
}};

struct Column {
    Kind kind;
    std::string name;
    std::int32_t type;
};

// Split `total` columns over the kinds by weight (largest remainder), at least one of each
// where there is room.
std::vector<int> CountsByKind(int total, bool wide)
{
    int weightSum = 0;
    for (const KindInfo& info : kKinds)
        weightSum += wide ? info.wideWeight : info.narrowWeight;
    std::vector<int> counts;
    std::vector<std::pair<double, std::size_t>> remainders;
    int given = 0;
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        const double share = static_cast<double>(wide ? kKinds[i].wideWeight : kKinds[i].narrowWeight) * total / weightSum;
        counts.push_back(static_cast<int>(share));
        given += counts.back();
        remainders.emplace_back(share - counts.back(), i);
    }
    std::sort(remainders.begin(), remainders.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; given < total; ++i, ++given)
        ++counts[remainders[i % remainders.size()].second];
    return counts;
}

std::int32_t TypeOf(Kind kind, int ordinal)
{
    switch (kind) {
    case Kind::Code:
    case Kind::Title:
    case Kind::Desc:
        return 1;
    case Kind::Rate:
    case Kind::Amount:
        return ordinal % 2 == 0 ? 4 : 5;
    default:
        return kind == Kind::NameId || ordinal % 2 == 0 ? 2 : 3;
    }
}

// Kinds spread evenly over the row, as a game table mixes them.
std::vector<Column> PlanColumns(std::uint32_t columns)
{
    std::vector<Column> plan;
    if (columns == 0)
        return plan;
    plan.push_back({Kind::NameId, "_NameID", 2});
    const int others = static_cast<int>(columns) - 1;
    const std::vector<int> counts = CountsByKind(others, columns >= 40);
    std::vector<std::pair<double, std::size_t>> slots;
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        for (int i = 0; i < counts[k]; ++i)
            slots.emplace_back((i + 0.5) / counts[k], k);
    }
    std::stable_sort(slots.begin(), slots.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> seen(kKinds.size(), 0);
    for (const auto& slot : slots) {
        const KindInfo& info = kKinds[slot.second];
        const int ordinal = seen[slot.second]++;
        plan.push_back({info.kind, std::string(info.name) + "_" + std::to_string(ordinal + 1), TypeOf(info.kind, ordinal)});
    }
    return plan;
}

class Bytes {
public:
    void U8(std::uint8_t v) { m_data.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Real(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        U32(bits);
    }
    void Text(const std::string& text)
    {
        U16(static_cast<std::uint16_t>(text.size()));
        m_data += text;
    }
    void Raw(const std::string& bytes) { m_data += bytes; }

    std::string& Data() { return m_data; }

private:
    std::string m_data;
};

void WriteHeader(Bytes& out, const TableShape& shape, const std::vector<Column>& plan)
{
    out.U32(shape.fixedLayout ? 81 : 0);
    if (shape.fixedLayout)
        out.U32(shape.columns);
    else
        out.U16(static_cast<std::uint16_t>(shape.columns));
    out.U32(shape.rows);
    for (const Column& column : plan) {
        if (shape.fixedLayout) {
            std::string field = column.name;
            field.resize(64, '\0');
            out.Raw(field);
            out.U32(static_cast<std::uint32_t>(column.type));
            continue;
        }
        out.U16(static_cast<std::uint16_t>(column.name.size()));
        out.Raw(column.name);
        out.U8(static_cast<std::uint8_t>(column.type));
    }
}

void WriteCell(Bytes& out, Kind kind, Random& random)
{
    switch (kind) {
    case Kind::Count:
        return out.U32(random.PerMille(900) ? random.Between(0, 100) : random.Between(101, 99999));
    case Kind::RefId:
        return out.U32(random.PerMille(200) ? 0 : random.Between(100000, 999999));
    case Kind::Flag:
        return out.U32(random.Between(0, 1));
    case Kind::Mask:
        return out.U32(random.PerMille(20) ? 0xFFFFFFFFu : random.Between(0, 4000000000u));
    case Kind::Rate:
        return out.Real(static_cast<float>(random.Between(0, 1000)) / 1000.0f);
    case Kind::Amount: {
        const float magnitude = std::round(static_cast<float>(random.Unit()) * 10000000.0f) / 100.0f;
        return out.Real(random.PerMille(30) ? -magnitude / 100.0f : magnitude);
    }
    case Kind::Code:
        return out.Text(random.PerMille(100) ? std::string() : CodeText(random));
    case Kind::Title:
        return out.Text(random.PerMille(200) ? std::string() : ChineseName(random));
    case Kind::Desc:
        if (random.PerMille(500))
            return out.Text({});
        return out.Text(Description(random, random.PerMille(5) ? static_cast<int>(random.Between(2, 3)) : 1));
    case Kind::NameId:
        break;
    }
}

class NameIds {
public:
    NameIds(const CatalogueFile& catalogue, std::uint32_t rows) : m_mids(catalogue.mids), m_rows(rows) {}

    // The identifier of row `row`; counts it in `named` when the catalogue holds it.
    std::uint32_t Of(std::uint32_t row, Random& random, std::uint32_t& named) const
    {
        const std::size_t entries = m_mids.size();
        if (entries < 2)
            return 1;
        if (row + 1 == m_rows) {
            ++named;
            return m_mids.back();
        }
        std::size_t k = static_cast<std::size_t>(std::uint64_t{row} * (entries - 1) / std::max<std::uint32_t>(m_rows - 1, 1));
        k = std::min(k, entries - 2);
        if (random.PerMille(100))
            return m_mids[k] + 1;  // mids are even: an odd identifier is never in the catalogue
        if (random.PerMille(10))
            k = random.Between(0, static_cast<std::uint32_t>(entries - 2));
        ++named;
        return m_mids[k];
    }

private:
    const std::vector<std::uint32_t>& m_mids;
    std::uint32_t m_rows;
};

}  // namespace

TableFile WriteTable(const std::string& folder, const TableShape& shape, const CatalogueFile& catalogue,
                     std::uint64_t seed)
{
    TableFile table{shape, folder + "/" + shape.fileName, 0, 0};
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(table.path.c_str(), "wb"), std::fclose);
    if (!file)
        throw std::runtime_error("cannot write " + table.path);

    const std::vector<Column> plan = PlanColumns(shape.columns);
    Bytes out;
    WriteHeader(out, shape, plan);
    Random random(seed);
    const NameIds nameIds(catalogue, shape.rows);
    for (std::uint32_t row = 0; row < shape.rows; ++row) {
        out.U32(row * 3 + 10001);
        for (const Column& column : plan) {
            if (column.kind == Kind::NameId)
                out.U32(nameIds.Of(row, random, table.namedRows));
            else
                WriteCell(out, column.kind, random);
        }
        if (out.Data().size() > (1 << 20)) {
            std::fwrite(out.Data().data(), 1, out.Data().size(), file.get());
            table.bytes += out.Data().size();
            out.Data().clear();
        }
    }
    std::fwrite(out.Data().data(), 1, out.Data().size(), file.get());
    table.bytes += out.Data().size();
    if (std::ferror(file.get()))
        throw std::runtime_error("cannot write " + table.path);
    return table;
}
