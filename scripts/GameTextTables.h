#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The game's character sets, as the font of each release draws them.
// clang-format off

// The kana font of the Japanese releases, indexed by a text byte below 0x80.
inline constexpr std::u16string_view JapaneseCharTable =
    u"がぎぐげござじずぜぞだぢづでど?"  // 0x000
    u"┌┘（）ばびぶべぼぱぴぷぺぽ、。"  // 0x010
    u"\u3000ABCDEFGHIJKLMNO"  // 0x020
    u"PQRSTUVWXYZあいうえお"  // 0x030
    u"かきくけこさしすせそたちつてとな"  // 0x040
    u"にぬねのはひふへほまみむめもやゆ"  // 0x050
    u"よらリるれろわをんぁぃぅぇぉっゃ"  // 0x060
    u"ゅょゎ0123456789！・："  // 0x070
    ;

// The second kana font, indexed by a byte inside a shifted run (0xD0 ... 0xD1).
inline constexpr std::u16string_view JapaneseShiftCharTable =
    u"ガギグゲゴザジズぜゾダヂヅデド…"  // 0x000
    u"→←↑↓バビブべボパピプぺポ””"  // 0x010
    u"!abcdefghijklmno"  // 0x020
    u"pqrstuvwxyzアイウエオ"  // 0x030
    u"カキクケコサシスセソタチツテトナ"  // 0x040
    u"二ヌネノハヒフへホマミムメモヤユ"  // 0x050
    u"ヨラリルレロワヲンァィゥェォッャ"  // 0x060
    u"ュョヮｰｘ÷ー「」＊＋‐／＆．!"  // 0x070
    u"!!!!!!!!!!!!!!!!"  // 0x080
    u"!!!!!!!!!!!!!!!!"  // 0x090
    u"!!!!!!!!!!!!!!!!"  // 0x0A0
    u"!!!!!!!!!!!!!!!!"  // 0x0B0
    u"!!!!!!!!!!!!!!!!"  // 0x0C0
    u"!!!!!!!!!!!!!!!!"  // 0x0D0
    u"!!!!!!!!!!!!!!!!"  // 0x0E0
    u"!!!!!!!!!!!!!!!!"  // 0x0F0
    ;

// The kanji of the Japanese font, indexed by the low 14 bits of a two-byte code 0x80xx-0x83xx.
inline constexpr std::u16string_view JapaneseWideCharTable =
    u"雨円王音火下花学気休金空月犬見口校左山糸子耳字日車手出女小上森人"  // 0x000
    u"水正生青赤石夕先川千早足村大男中虫町天田土入年白百文木本名目右力"  // 0x020
    u"立林引雲遠何夏家科歌画回会海絵貝外間顔汽記帰牛魚京教強玉近形計元"  // 0x040
    u"原戸古午後語工広交光行考高黄合谷国黒今才作算思紙止市自寺時室社弱"  // 0x060
    u"首秋春書少場色食心新親図数西声星晴切雪船前組走草多太体台池地知竹"  // 0x080
    u"茶昼長鳥朝通弟店点電冬刀当東答頭同道読南馬買売麦半番父風分聞米歩"  // 0x0A0
    u"母方北毎妹明鳴毛門夜野友用曜来楽里理話悪安暗医意育員院飲運泳駅園"  // 0x0C0
    u"横屋温化荷界開階角活寒感館岸岩起期客究急級宮球去橋業曲局銀苦具君"  // 0x0E0
    u"兄係軽血決県研言庫湖公向幸港号根細祭仕死使始指歯詩次事持式実写者"  // 0x100
    u"主守取酒受州拾終習週集住重所署助昭消商章勝乗植申身神深進世整線全"  // 0x120
    u"送息族他打対待代第題炭短着注柱帳調直追丁定庭鉄転都度投島湯登等動"  // 0x140
    u"童内肉農波配畑発反坂板皮悲美鼻氷表病秒品負部服福物平返勉放万味命"  // 0x160
    u"面問役薬油由有遊予洋葉陽様落流旅両緑礼列路和愛案衣以囲位委胃印英"  // 0x180
    u"栄塩央億加貨課芽改械害各覚完官漢管関観願希季紀喜旗器機議求救給挙"  // 0x1A0
    u"漁共協鏡競極区軍郡型景芸欠結建健験固功候航康告差菜最材昨刷殺察参"  // 0x1C0
    u"散産残士氏史司姉試辞失借種周宿順初省唱照賞燒臣信真成清勢静席積折"  // 0x1E0
    u"節説浅戦選然争相倉想象速側続卒孫帯隊達単談治置貯腸低底停的典伝徒"  // 0x200
    u"努灯堂働毒熱念敗倍博飯飛費必筆票標不夫付府副粉兵別辺変便包法望牧"  // 0x220
    u"末満脈民約勇要養浴利陸良料量輪類令冷例歴連練老労録圧易移因永営衛"  // 0x240
    u"益液演応往恩仮果価河過賀快解格確額刊幹慣歓眼基寄規技義逆久旧居許"  // 0x260
    u"境興均禁句訓群経潔件券険検絹限現減故個護効厚耕鉱構講混査再災妻採"  // 0x280
    u"際在財罪雑蚕酸賛支示志師資似児識質舎謝授収修衆祝述術準序除招承称"  // 0x2A0
    u"証条状常情織職制性政精製税責績接設舌絶銭善祖素総造像増則測属損退"  // 0x2C0
    u"貸態団断築張提程適敵統銅導特得徳独任燃能破犯判版比非肥備俵評貧布"  // 0x2E0
    u"婦富武復複仏編弁保墓報豊防貿暴未務無迷綿輸余預容率略留領異遺域壱"  // 0x300
    u"宇羽映延沿可我灰街拡革閣割株干巻看勧簡丸危机貴揮疑弓吸泣供胸郷勤"  // 0x320
    u"筋系径敬警劇穴兼憲権厳源己呼誤后好孝皇紅降鋼刻穀骨困砂座済裁策冊"  // 0x340
    u"至私姿視詞誌磁射捨尺釈若需樹宗就従縦縮熟純処諸署将笑傷障城蒸針仁"  // 0x360
    u"垂推寸是聖誠宣専染泉洗奏窓創層操蔵臓俗存尊宅担探段暖値仲忠宙著庁"  // 0x380
    u"兆頂潮賃痛展党討糖届難弐乳認納脳派拝肺背俳班晩否批秘腹奮陛閉片補"  // 0x3A0
    u"宝訪亡忘棒枚幕密盟模矢訳郵優幼羊欲翌卵乱覽裏律臨朗論一二三四五六"  // 0x3C0
    u"七八九十彼俺娘坊恋惑奴闘爆々越診賊般艇冒弾廃跡夢盾剣雷幽霊塞郊井"  // 0x3E0
    ;

// The western font, indexed by a text byte below 0x80.
inline constexpr std::array<char16_t, 128> kWesternCharTable = {
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0020, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x00FC, 0x00E4, 0x00C4, 0x00F6, 0x00D6,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x00DC, 0x00EA, 0x00BF, 0x00A1, 0x00DF,
    0x003F, 0x0028, 0x0029, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034,
    0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x0021, 0x002C, 0x003A,
    0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0027, 0x003D,
    0x0098, 0x0099, 0x009A, 0x002B, 0x002D, 0x009D, 0x0026, 0x002E,
};

// The accented letters that the fonts of region indexes 3 and 6 draw instead.
struct WesternAccent {
    std::uint8_t byte;
    char16_t region3;
    char16_t region6;
};
inline constexpr WesternAccent kWesternAccents[] = {
    {0x3B, 0x00E1, 0x00FC},
    {0x3C, 0x00E9, 0x00E0},
    {0x3D, 0x00ED, 0x00E2},
    {0x3E, 0x00C8, 0x00F6},
    {0x3F, 0x00F3, 0x00E9},
    {0x5B, 0x00FA, 0x00E8},
};
// clang-format on

static_assert(JapaneseCharTable.size() == 128);
static_assert(JapaneseShiftCharTable.size() == 256);
static_assert(JapaneseWideCharTable.size() == 1024);
