#include "tools/demo-site/chinese_text.h"

#include <initializer_list>
#include <string_view>

namespace lumora::demo {

namespace {

using Words = std::string_view;

// Title parts: a two-character head, a two-character figure and the endings that web-novel
// titles like to carry.
constexpr Words kHeads[] = {
    "万古", "星辰", "九天", "混沌", "逆天", "绝世", "太古", "无上", "苍穹", "龙皇",
    "神武", "剑道", "仙路", "魔门", "天命", "乾坤", "阴阳", "御天", "傲世", "修罗",
    "玄天", "紫府", "青云", "烈焰", "寒冰", "雷霆", "风云", "山海", "大荒", "昆仑",
    "蓬莱", "长安", "江湖", "都市", "校园", "豪门", "末世", "星际", "机甲", "灵异",
};
constexpr Words kFigures[] = {
    "神帝", "剑仙", "战神", "至尊", "狂龙", "妖孽", "丹王", "医仙", "兵王", "总裁",
    "武神", "天尊", "仙帝", "魔君", "霸主", "帝君", "邪王", "狂少", "神医", "少年",
    "天骄", "圣王", "龙王", "神君", "刀客", "剑客", "侠客", "书生", "猎人", "法师",
    "王妃", "皇后", "公主", "嫡女", "娇妻", "校花", "保镖", "高手", "术士", "掌门",
};
constexpr Words kOneCharEndings[] = {"变", "诀", "记", "传", "录", "志", "劫", "歌", "令", "决"};
constexpr Words kTwoCharEndings[] = {"之路", "纪元", "传说", "风云", "神话",
                                     "天下", "无双", "归来", "传奇", "逍遥"};
constexpr Words kTwoCharTitles[] = {
    "遮天", "将夜", "神墓", "帝尊", "武极", "天骄", "剑来", "牧神", "龙城", "仙逆",
    "魔尊", "雪鹰", "赘婿", "凡尘", "问道", "长生", "择天", "大道", "圣墟", "飞剑",
};
constexpr Words kLeadIns[] = {"重生之", "都市之", "穿越之", "异界之"};
constexpr Words kPossessives[] = {"我的", "绝品", "最强", "极品"};

// Pen names: two or three syllables and a modest ending.
constexpr Words kPenFirst[] = {"风", "月", "夜", "墨", "青", "紫", "白", "孤", "醉", "南",
                               "北", "东", "西", "烟", "雪", "梦", "落", "流", "云", "花"};
constexpr Words kPenSecond[] = {"雨", "歌", "舞", "笑", "尘", "轩", "羽", "寒", "影", "痕",
                                "默", "言", "书", "生", "楼", "川", "石", "舟", "灯", "溪"};
constexpr Words kPenEndings[] = {"客", "生", "君", "子", "郎", "翁"};
constexpr Words kPenTwoCharEndings[] = {"公子", "散人", "居士", "老人",
                                        "道人", "先生", "书生", "小妖"};

// Synopsis parts.
constexpr Words kSurnames[] = {"林", "萧", "叶", "秦", "楚", "陈", "苏", "韩", "沈", "顾"};
constexpr Words kGivenNames[] = {"凡", "尘", "炎", "辰", "羽", "枫", "天", "云", "风", "逸"};
constexpr Words kPlaces[] = {"青云镇",   "天南城",   "落霞山", "东海市",   "北冥宗",
                             "江南小城", "边陲小镇", "帝都",   "云梦大泽", "西荒古域"};
constexpr Words kIdentities[] = {"废柴少年", "落魄书生", "普通学生", "外门弟子", "退伍兵王",
                                 "小小医生", "家族弃子", "山村少年", "上门女婿", "落魄皇子"};
constexpr Words kTreasures[] = {"一枚神秘古戒", "上古强者的传承", "一卷残破古经", "一块至尊骨",
                                "混沌神诀",     "一座神秘小塔",   "远古血脉",     "一本无字天书"};
constexpr Words kRoads[] = {"逆天修行之路", "争霸天下之路", "寻找真相的旅程",
                            "问鼎巅峰之路", "复仇之路",     "求道长生之路"};
constexpr Words kEnemies[] = {"神秘势力", "上古魔族", "昔日仇敌",
                              "天外邪神", "隐世家族", "诸天强者"};
constexpr Words kSchemes[] = {"早已暗中布局", "正在悄然逼近", "觊觎他的秘密", "布下了天罗地网"};
constexpr Words kFeats[] = {"脚踏诸天", "笑傲江湖",   "逆转乾坤",     "守护所爱之人",
                            "登临绝巅", "一剑破万法", "重振家族荣光", "揭开身世之谜"};
constexpr Words kWorlds[] = {"强者为尊", "宗门林立", "群雄逐鹿",
                             "妖魔横行", "灵气复苏", "百族争霸"};
constexpr Words kClosings[] = {"一段传奇就此展开", "热血与激情并存", "天才如云，唯我独尊",
                               "少年的征途是星辰大海", "一切才刚刚开始"};

constexpr Words kTrials[] = {"生死磨砺", "重重考验", "宗门大比", "秘境争夺", "血与火的洗礼"};
constexpr Words kGrowth[] = {"修为一日千里", "终于崭露头角", "结识了一群生死之交",
                             "渐渐揭开了身世之谜"};

// Chapter headings.
constexpr Words kChapterWords[] = {"风起", "惊变", "初战", "重逢", "突破", "归来", "夜袭",
                                   "血战", "天劫", "秘境", "传承", "决战", "离别", "真相"};

std::string join(std::initializer_list<Words> parts) {
    std::string text;
    for (Words part : parts)
        text += part;
    return text;
}

std::string heroName(SeededRandom& random) {
    const Words given = random.pick(kGivenNames);
    std::string name = std::string(random.pick(kSurnames)) + std::string(given);
    if (random.chance(50))
        return name;
    Words second = random.pick(kGivenNames);
    while (second == given)
        second = random.pick(kGivenNames);
    return name + std::string(second);
}

// The opening sentence introduces the hero or the world; later ones turn or grow the story.
std::string composeSentence(SeededRandom& random, const std::string& hero, bool opening) {
    const int form = opening ? (random.chance(70) ? 0 : 1) : 2 + random.below(2);
    switch (form) {
        case 0:
            return hero + join({"本是", random.pick(kPlaces), "的一名", random.pick(kIdentities),
                                "，一次意外让他得到了", random.pick(kTreasures), "，从此踏上了",
                                random.pick(kRoads), "。"});
        case 1:
            return join(
                {"这是一个", random.pick(kWorlds), "的世界，", random.pick(kClosings), "。"});
        case 2:
            return join({"然而", random.pick(kEnemies), random.pick(kSchemes), "，且看"}) + hero +
                   join({"如何", random.pick(kFeats), random.chance(50) ? "！" : "。"});
        default:
            return hero + join({"历经", random.pick(kTrials), "，", random.pick(kGrowth), "，终将",
                                random.pick(kFeats), "。"});
    }
}

}  // namespace

int characterCount(const std::string& utf8) {
    int count = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

std::string composeTitle(SeededRandom& random) {
    const std::string head(random.pick(kHeads));
    const std::string figure(random.pick(kFigures));
    switch (random.below(8)) {
        case 0:
            return std::string(random.pick(kTwoCharTitles));
        case 1:
            return head + std::string(random.pick(kOneCharEndings));
        case 2:
        case 3:
            return head + figure;
        case 4:
            return head + figure + std::string(random.pick(kOneCharEndings));
        case 5:
            return random.chance(50) ? head + figure + std::string(random.pick(kTwoCharEndings))
                                     : std::string(random.pick(kPossessives)) + head + figure;
        case 6:
            return std::string(random.pick(kLeadIns)) + head + figure;
        default:
            return std::string(random.pick(kLeadIns)) + head + figure +
                   std::string(random.pick(kOneCharEndings));
    }
}

std::string composePenName(SeededRandom& random) {
    std::string name = std::string(random.pick(kPenFirst)) + std::string(random.pick(kPenSecond));
    switch (random.below(3)) {
        case 0:
            return name;
        case 1:
            return name + std::string(random.pick(kPenEndings));
        default:
            return name + std::string(random.pick(kPenTwoCharEndings));
    }
}

std::string composeSynopsis(SeededRandom& random) {
    // A sentence has 20 to 50 characters: three always reach 60, and the loop never stops below
    // 60 because of the 200 limit.
    const int wanted = random.between(1, 3);
    const std::string hero = heroName(random);
    std::string synopsis;
    int characters = 0;
    for (int sentences = 0; sentences < wanted || characters < 60; ++sentences) {
        const std::string sentence = composeSentence(random, hero, sentences == 0);
        const int length = characterCount(sentence);
        if (characters + length > 200)
            break;
        synopsis += sentence;
        characters += length;
    }
    return synopsis;
}

std::string composeChapterName(SeededRandom& random, int number) {
    const Words first = random.pick(kChapterWords);
    Words second = random.pick(kChapterWords);
    while (second == first)
        second = random.pick(kChapterWords);
    return "第" + std::to_string(number) + "章 " + std::string(first) + std::string(second);
}

}  // namespace lumora::demo
