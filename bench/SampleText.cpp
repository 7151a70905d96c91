// Word and character pools for the generated texts.
#include "SampleText.h"

#include <array>

namespace {

// Each character of the pool is three bytes of UTF-8.
const std::string kHanzi =
    u8"采石场潮汐矿工铁匠商人骑士法师猎人守卫村庄港口岛屿森林洞穴宝箱武器护甲技能等级经验"
    u8"任务奖励金币水晶药水魔法龙剑盾弓箭船帆海浪风暴山谷河流城堡塔楼火焰冰霜雷电毒影光暗";

const std::array<const char*, 41> kWords = {
    u8"铁矿石", u8"采石场", u8"潮汐", u8"宝箱", u8"武器", u8"护甲", u8"技能", u8"商店", u8"村庄", u8"守卫",
    u8"魔法", u8"药水", u8"水晶", u8"巨龙", u8"长剑", u8"盾牌", u8"弓箭", u8"帆船", u8"港口", u8"岛屿",
    u8"森林", u8"洞穴", u8"矿工", u8"铁匠", u8"商人", u8"骑士", u8"法师", u8"猎人", u8"风暴", u8"灯塔",
    u8"的", u8"之", u8"·", "Lv.", "+", "x", "Boss", "NPC", "(", ")", "&"};

const std::array<const char*, 6> kPrefixes = {"itm", "npc", "fx", "ui", "snd", "map"};

void AppendHanzi(Random& random, std::string& out)
{
    const std::size_t count = kHanzi.size() / 3;
    out.append(kHanzi, random.Between(0, static_cast<std::uint32_t>(count - 1)) * 3, 3);
}

}  // namespace

std::string CodeText(Random& random)
{
    std::string text = kPrefixes[random.Between(0, kPrefixes.size() - 1)];
    text += '_';
    const std::uint32_t digits = random.Between(1, 12 - static_cast<std::uint32_t>(text.size()));
    for (std::uint32_t i = 0; i < digits; ++i)
        text += static_cast<char>('0' + random.Between(0, 9));
    return text;
}

std::string ChineseName(Random& random)
{
    std::string text;
    const std::uint32_t count = random.Between(2, 6);
    for (std::uint32_t i = 0; i < count; ++i)
        AppendHanzi(random, text);
    return text;
}

std::string Description(Random& random, int lines)
{
    std::string text;
    for (int line = 0; line < lines; ++line) {
        if (line > 0)
            text += '\n';
        const std::uint32_t count = random.Between(8, 50) / static_cast<std::uint32_t>(lines) + 1;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (i > 0 && random.PerMille(80))
                text += random.PerMille(500) ? u8"，" : std::to_string(random.Between(1, 500));
            AppendHanzi(random, text);
        }
        text += u8"。";
    }
    return text;
}

std::string DisplayName(Random& random)
{
    std::string text;
    const std::uint32_t count = random.Between(2, 5);
    for (std::uint32_t i = 0; i < count; ++i) {
        text += kWords[random.Between(0, kWords.size() - 1)];
        if (random.PerMille(60))
            text += std::to_string(random.Between(1, 99));
    }
    return text;
}
